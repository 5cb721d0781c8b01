#include "core/alert/label_text.h"

#include "core/settings/text_encoding.h"

namespace qfd {
namespace {

// The length of the line-breaking character that text starts with, or 0.
std::size_t LineBreakAtStart(std::string_view text) {
    for (std::string_view lineBreak : {"\xC2\x85", "\xE2\x80\xA8", "\xE2\x80\xA9"}) {
        if (text.starts_with(lineBreak)) return lineBreak.size();
    }
    return 0;
}

}  // namespace

std::string PlainLabelText(std::string_view settingBytes) {
    std::string text = FileBytesToUtf8(settingBytes);
    for (char& c : text) {
        // Bytes below 32 are never part of a multi-byte UTF-8 sequence, so this is safe in place.
        if (static_cast<unsigned char>(c) < 32) {
            c = ' ';
        }
    }
    // Characters that break a line without being control bytes: next line (U+0085), line and
    // paragraph separators (U+2028, U+2029). The alert's texts stay on one line.
    std::string oneLine;
    oneLine.reserve(text.size());
    for (std::string_view rest = text; !rest.empty();) {
        const std::size_t length = LineBreakAtStart(rest);
        oneLine.push_back(length > 0 ? ' ' : rest.front());
        rest.remove_prefix(length > 0 ? length : 1);
    }
    return oneLine;
}

}  // namespace qfd
