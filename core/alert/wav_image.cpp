#include "core/alert/wav_image.h"

#include <cstdint>
#include <cstring>
#include <utility>

namespace qfd {

namespace {

std::uint32_t ReadU32(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 |
           static_cast<std::uint32_t>(b[at + 3]) << 24;
}

std::uint16_t ReadU16(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

bool HasTag(const std::vector<unsigned char>& b, std::size_t at, const char* tag) {
    return std::memcmp(b.data() + at, tag, 4) == 0;
}

}  // namespace

std::optional<PcmImage> ParseWavImage(std::vector<unsigned char> bytes) {
    constexpr std::size_t kRiffHeader = 12;
    constexpr std::size_t kChunkHeader = 8;
    if (bytes.size() < kRiffHeader || !HasTag(bytes, 0, "RIFF") || !HasTag(bytes, 8, "WAVE")) {
        return std::nullopt;
    }
    PcmImage image;
    bool haveFormat = false;
    std::size_t at = kRiffHeader;
    while (bytes.size() - at >= kChunkHeader) {
        const std::size_t size = ReadU32(bytes, at + 4);
        const std::size_t body = at + kChunkHeader;
        const std::size_t available = bytes.size() - body;
        if (HasTag(bytes, at, "fmt ")) {
            if (size < 16 || available < 16) {
                return std::nullopt;
            }
            const std::uint16_t formatTag = ReadU16(bytes, body);
            image.format.channels = ReadU16(bytes, body + 2);
            image.format.sampleRate = ReadU32(bytes, body + 4);
            image.format.bitsPerSample = ReadU16(bytes, body + 14);
            const bool pcm =
                formatTag == 1 && (image.format.channels == 1 || image.format.channels == 2) &&
                (image.format.bitsPerSample == 8 || image.format.bitsPerSample == 16) &&
                image.format.sampleRate > 0;
            if (!pcm) {
                return std::nullopt;
            }
            haveFormat = true;
        } else if (HasTag(bytes, at, "data")) {
            if (!haveFormat) {
                return std::nullopt;
            }
            const std::size_t frame =
                static_cast<std::size_t>(image.format.channels) * (image.format.bitsPerSample / 8);
            std::size_t dataSize = size < available ? size : available;
            dataSize -= dataSize % frame;  // a torn last frame would shift every later channel
            image.dataOffset = body;
            image.dataSize = dataSize;
            image.bytes = std::move(bytes);
            return image;
        }
        if (size >= available) {
            break;
        }
        at = body + size + (size & 1);  // chunks are padded to an even length
    }
    return std::nullopt;
}

}  // namespace qfd
