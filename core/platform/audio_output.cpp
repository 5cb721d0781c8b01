#include "core/platform/audio_output.h"

namespace qfd {

std::int64_t PcmImage::DurationMicroseconds() const {
    const std::int64_t bytesPerFrame =
        static_cast<std::int64_t>(format.channels) * ((format.bitsPerSample + 7) / 8);
    if (bytesPerFrame == 0 || format.sampleRate == 0) {
        return 0;
    }
    const std::int64_t frames = static_cast<std::int64_t>(dataSize) / bytesPerFrame;
    return frames * 1'000'000 / static_cast<std::int64_t>(format.sampleRate);
}

}  // namespace qfd
