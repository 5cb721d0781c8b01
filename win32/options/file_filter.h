#pragma once

#include <string>

#include "core/options/options_view.h"

namespace qfd {

// The filter string of the file-open dialog for a request: one entry, the filter's caption and its
// patterns joined with semicolons, each part ended by a NUL and the whole by a second NUL, as
// OPENFILENAMEA takes it.
std::string OpenFileFilter(const FileChooserRequest& request);

}  // namespace qfd
