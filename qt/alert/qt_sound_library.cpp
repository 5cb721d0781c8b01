#include "qt/alert/qt_sound_library.h"

#include <QFile>
#include <QString>

// The resources live in a static library; nothing references their initialiser, so the linker
// would drop it unless it is called by name (outside any namespace).
static void InitAlertSoundResources() { Q_INIT_RESOURCE(alert_sounds); }

namespace qfd {

QtSoundLibrary::QtSoundLibrary() { InitAlertSoundResources(); }

std::optional<std::vector<unsigned char>> QtSoundLibrary::LoadSound(std::int32_t soundId) const {
    QFile file(QStringLiteral(":/sounds/%1.wav").arg(soundId));
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

}  // namespace qfd
