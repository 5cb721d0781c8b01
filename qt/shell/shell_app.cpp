#include "shell/shell_app.h"

#include <QFile>
#include <memory>

#include "alert/qt_audio_output.h"
#include "platform/single_instance.h"
#include "settings/settings_mirror.h"
#include "shell/program_icon.h"
#include "shell/qt_splash_view.h"
#include "shell/splash_window.h"

namespace qfd {

int RunShell(QApplication& app) {
    // The program lives in the tray: hiding or closing its windows never ends it.
    app.setQuitOnLastWindowClosed(false);
    QApplication::setWindowIcon(ProgramIcon());

    // Paths are the file system's bytes, not display text.
    const std::string programFile =
        QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();
    const std::string programDirectory =
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    const SingleInstance instance = SingleInstance::Claim(programFile);

    SettingsMirror mirror;
    const std::unique_ptr<AlertSounds> sounds = CreateQtAlertSounds();
    QtSplashView view(mirror, *sounds);
    SplashWindow window(
        mirror, view,
        StartupEnvironment{programDirectory, [&] { return instance.AnotherInstanceRunning(); }});
    view.SetPresenter(&window);
    if (!window.Form_Load()) return 0;
    return app.exec();
}

}  // namespace qfd
