#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qfd {

// A text box's text after an edit, in UTF-8, and the caret as a byte offset into it.
struct FittedEdit {
    std::string text;
    std::size_t caret = 0;
};

// Fits an edit into a text box's limit in the file's bytes (see Utf8ToFileBytes) by dropping
// whole characters from the end of what the edit inserted, as a length-limited box cuts a paste.
// An edit that does not grow the stored text is let through, so that a longer text from the file
// can still be shortened; so is any edit where limit is 0. The caret stays where it was unless
// characters are dropped; then it follows the last one kept.
FittedEdit FitEdit(std::string_view before, std::string_view after, std::size_t limit,
                   std::size_t caret);

}  // namespace qfd
