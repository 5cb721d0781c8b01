#include "win32/options/file_filter.h"

#include "core/options/file_chooser_filter.h"
#include "win32/common/ansi_text.h"

namespace qfd {

std::string OpenFileFilter(const FileChooserRequest& request) {
    const FileFilter filter = MakeFileFilter(request);
    std::string patterns;
    for (const std::string& pattern : filter.patterns) {
        if (!patterns.empty()) patterns += ';';
        patterns += Utf8ToAnsi(pattern);
    }
    std::string text = Utf8ToAnsi(filter.caption);
    text += '\0';
    text += patterns;
    text += '\0';
    text += '\0';
    return text;
}

}  // namespace qfd
