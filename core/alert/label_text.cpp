#include "alert/label_text.h"

#include "settings/text_encoding.h"

namespace qfd {

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
    for (std::string_view lineBreak : {"\xC2\x85", "\xE2\x80\xA8", "\xE2\x80\xA9"}) {
        for (std::size_t at = text.find(lineBreak); at != std::string::npos;
             at = text.find(lineBreak, at + 1)) {
            text.replace(at, lineBreak.size(), " ");
        }
    }
    return text;
}

}  // namespace qfd
