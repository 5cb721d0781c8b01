#pragma once

#include <QIcon>

namespace qfd {

// The play button's picture: a loudspeaker with two sound waves, 21 x 21 logical pixels, drawn
// sharp for every device pixel ratio.
inline constexpr int kSpeakerPictureSize = 21;
QIcon SpeakerPicture();

}  // namespace qfd
