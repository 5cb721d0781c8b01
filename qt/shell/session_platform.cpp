#include "qt/shell/session_platform.h"

#include <QtGlobal>

namespace qfd {

namespace {

// Qt takes its options with one dash or two.
bool NamesPlatform(const QStringList& arguments) {
    return arguments.contains(QStringLiteral("-platform")) ||
           arguments.contains(QStringLiteral("--platform"));
}

}  // namespace

QByteArray PreferredPlatform(const SessionFacts& facts) {
    if (facts.waylandDisplay.isEmpty() || facts.x11Display.isEmpty()) return {};
    if (!facts.chosenPlatform.isEmpty() || NamesPlatform(facts.arguments)) return {};
    // Qt tries the list in order: should Xwayland not answer, the program still starts natively.
    return QByteArrayLiteral("xcb;wayland");
}

void ChoosePlatformForSession(int argc, char** argv) {
    SessionFacts facts{
        qgetenv("WAYLAND_DISPLAY"), qgetenv("DISPLAY"), qgetenv("QT_QPA_PLATFORM"), {}};
    for (int i = 1; i < argc; ++i) facts.arguments.append(QString::fromLocal8Bit(argv[i]));
    const QByteArray platform = PreferredPlatform(facts);
    if (!platform.isEmpty()) qputenv("QT_QPA_PLATFORM", platform);
}

}  // namespace qfd
