#pragma once

#include <windows.h>

namespace qfd {

// The play button's picture: a loudspeaker with two waves, 21 x 21 pixels at 96 dpi and larger
// on a high-dpi screen, on the button face's colour.
HBITMAP CreateSpeakerPicture(int dpi);

}  // namespace qfd
