#pragma once

#include <string>
#include <vector>

#include "core/options/options_view.h"

namespace qfd {

// The file chooser's filter as both front ends show it: the patterns fit for either dialog (none
// empty, none with a NUL, a semicolon or a blank, which would split a list), "*.*" when none is
// left, and one caption naming them, "Quorf Detector EXE (qfd qfd.exe)".
struct FileFilter {
    std::string caption;
    std::vector<std::string> patterns;
};
FileFilter MakeFileFilter(const FileChooserRequest& request);

}  // namespace qfd
