#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <utility>
#include <vector>

namespace qfd {

// Uncompressed PCM as a WAV "fmt " chunk describes it.
struct PcmFormat {
    std::uint16_t channels = 1;
    std::uint32_t sampleRate = 0;
    std::uint16_t bitsPerSample = 0;
};

// A whole WAV image and where its samples lie inside it.
struct PcmImage {
    std::vector<unsigned char> bytes;
    PcmFormat format;
    std::size_t dataOffset = 0;
    std::size_t dataSize = 0;

    std::span<const unsigned char> Samples() const { return {bytes.data() + dataOffset, dataSize}; }
    // Whole seconds are not enough for the players' end rules, so the length is in microseconds.
    std::int64_t DurationMicroseconds() const;
};

// The sound device. Playback runs asynchronously; the output holds the image it plays (shared),
// so a newer load by the caller never pulls the bytes away from under a playing sound.
class AudioOutput {
  public:
    virtual ~AudioOutput() = default;

    // Stops whatever this output is playing, then starts image and returns at once. An image
    // without samples only stops. False when there is no device to take the request.
    virtual bool Play(std::shared_ptr<const PcmImage> image) = 0;

    // True while a sound started here can still be heard: up to the real end of its last sample,
    // not merely until the device has taken all of its bytes.
    virtual bool IsPlaying() const = 0;

    // Starts image only when no sound started here can still be heard, and lets a playing one go
    // on; false when refused. An output whose platform has this rule of its own leaves it to the
    // platform.
    virtual bool PlayUnlessPlaying(std::shared_ptr<const PcmImage> image) {
        return !IsPlaying() && Play(std::move(image));
    }
};

}  // namespace qfd
