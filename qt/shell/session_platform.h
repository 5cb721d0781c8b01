#pragma once

#include <QByteArray>
#include <QStringList>

namespace qfd {

// What decides the Qt platform of a run: the session's display variables and the user's choice.
struct SessionFacts {
    QByteArray waylandDisplay;  // WAYLAND_DISPLAY
    QByteArray x11Display;      // DISPLAY: in a Wayland session, the compositor's Xwayland
    QByteArray chosenPlatform;  // QT_QPA_PLATFORM
    QStringList arguments;      // the command line, which may hold Qt's -platform
};

// The platform list to ask Qt for, or an empty array to leave Qt's own choice. In a Wayland
// session with Xwayland the program runs on X11: there its windows can stay above others and be
// placed, which a Wayland compositor leaves to itself. Natively on Wayland it runs only where
// Xwayland cannot be reached. A platform the user chose always wins.
QByteArray PreferredPlatform(const SessionFacts& facts);

// Applies PreferredPlatform to this process's environment; call before QApplication exists.
void ChoosePlatformForSession(int argc, char** argv);

}  // namespace qfd
