#include "core/options/file_chooser_filter.h"

namespace qfd {

FileFilter MakeFileFilter(const FileChooserRequest& request) {
    FileFilter filter;
    for (const std::string& pattern : request.filePatterns) {
        if (pattern.empty() || pattern.find_first_of(std::string("\0; ", 3)) != std::string::npos)
            continue;
        filter.patterns.push_back(pattern);
    }
    if (filter.patterns.empty()) filter.patterns.push_back("*.*");
    // The description ends at its first NUL, as the Windows dialog would read it.
    filter.caption = request.filterDescription.substr(0, request.filterDescription.find('\0'));
    filter.caption += " (";
    for (std::size_t i = 0; i < filter.patterns.size(); ++i) {
        filter.caption += (i > 0 ? " " : "") + filter.patterns[i];
    }
    filter.caption += ")";
    return filter;
}

}  // namespace qfd
