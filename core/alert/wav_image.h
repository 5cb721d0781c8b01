#pragma once

#include <optional>
#include <vector>

#include "core/platform/audio_output.h"

namespace qfd {

// Reads a RIFF/WAVE image with uncompressed PCM (format tag 1, 8 or 16 bits, one or two channels).
// Chunks are walked by their sizes, so extra chunks before "data" are skipped. A "data" chunk that
// claims more than the image holds is cut to what is there, as players do with a truncated file.
// Nothing when the bytes are not such an image.
std::optional<PcmImage> ParseWavImage(std::vector<unsigned char> bytes);

}  // namespace qfd
