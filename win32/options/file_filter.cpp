#include "options/file_filter.h"

#include "common/ansi_text.h"

namespace qfd {

std::string OpenFileFilter(const FileChooserRequest& request) {
    std::string patterns;
    for (const std::string& pattern : request.filePatterns) {
        // A NUL or a semicolon inside a pattern would split the list; such a pattern is left out.
        if (pattern.empty() || pattern.find_first_of(std::string("\0;", 2)) != std::string::npos)
            continue;
        if (!patterns.empty()) patterns += ';';
        patterns += Utf8ToAnsi(pattern);
    }
    if (patterns.empty()) patterns = "*.*";
    std::string description = Utf8ToAnsi(request.filterDescription);
    // The description ends at its first NUL, as the dialog would read it.
    description = description.substr(0, description.find('\0'));
    std::string filter = description + " (" + patterns + ")";
    filter += '\0';
    filter += patterns;
    filter += '\0';
    filter += '\0';
    return filter;
}

}  // namespace qfd
