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
    return text;
}

}  // namespace qfd
