#pragma once

#include <string>
#include <string_view>

namespace qfd {

// How a settings file stores its text. Bytes is the store's own form (Windows-1252 or UTF-8);
// Utf16Le is what a Windows editor's "Unicode" saves and Windows' profile functions then keep.
enum class SettingsEncoding { Bytes, Utf16Le };

// A settings file's text in the store's byte form, with the encoding to write it back in.
struct DecodedSettings {
    SettingsEncoding encoding = SettingsEncoding::Bytes;
    std::string bytes;
};

// A file that starts with the UTF-16LE byte-order mark (FF FE) is decoded to UTF-8 text, the mark
// dropped; any other file is returned as it is. Damage is read, never refused: an unpaired
// surrogate and an odd trailing byte each become U+FFFD, a NUL code unit becomes a NUL byte (the
// store's rules for NUL lines then apply), and a file that is only the mark is empty text.
// Encoding a decoded valid UTF-16LE file gives back its bytes exactly.
DecodedSettings DecodeSettingsFile(std::string_view fileBytes);

// The file's bytes for the store's text. Utf16Le: the mark, then the text read as FileBytesToUtf8
// reads it (valid UTF-8 stays, any other byte is Windows-1252) in UTF-16LE, so that a value written
// in the Windows-1252 form never leaves a file of mixed encodings. CR and LF keep their places.
// Bytes: the text unchanged.
std::string EncodeSettingsFile(std::string_view text, SettingsEncoding encoding);

}  // namespace qfd
