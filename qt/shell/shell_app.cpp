#include "shell/shell_app.h"

#include <QFile>
#include <QSettings>
#include <memory>
#include <string>
#include <vector>

#include "alert/qt_audio_output.h"
#include "network/alert_record.h"
#include "network/alert_sender.h"
#include "platform/single_instance.h"
#include "settings/settings_mirror.h"
#include "shell/message_box.h"
#include "shell/program_icon.h"
#include "shell/qt_splash_view.h"
#include "shell/splash_window.h"

namespace qfd {
namespace {

// A send that failed for a reason other than an unreachable or read-only folder is told, once
// the user-interface thread gets to it.
void TellSendFailure(QApplication& app, const WriteOutcome& outcome) {
    const std::string text = "An error has occurred: " + ErrorDescription(outcome);
    const std::string title = "Error " + std::to_string(ErrorNumber(outcome));
    QMetaObject::invokeMethod(
        &app,
        [text, title] {
            ShowMessageBox(nullptr, {text, title, MessageIcon::Critical, MessageButtons::Ok});
        },
        Qt::QueuedConnection);
}

// The installation keeps nothing outside its folder, but Qt's file dialog records its history and
// last folder in the user's settings. Those settings are pointed at a place that can never be
// created, so the dialog starts afresh and writes nothing; the chooser remembers its last folder
// for the run itself.
void KeepToolkitSettingsOut() {
    const QString nowhere = QStringLiteral("/dev/null/qfd-no-settings");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, nowhere);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, nowhere);
}

}  // namespace

int RunShell(QApplication& app) {
    // The program lives in the tray: hiding or closing its windows never ends it.
    app.setQuitOnLastWindowClosed(false);
    KeepToolkitSettingsOut();
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
    // Network alerts are written on the sender's own thread, started with the first of them.
    std::unique_ptr<AlertSender> sender;
    // Alerts still queued when the program ends are written first, within a bound; a share that
    // still hangs then is given up. No failure is told from then on.
    const auto finishSending = [&sender] {
        if (sender) sender->Drain(kFinishSendingBound);
    };
    StartupEnvironment environment;
    environment.programDirectory = programDirectory;
    environment.anotherInstanceRunning = [&] { return instance.AnotherInstanceRunning(); };
    environment.sendNetworkAlert = [&](const std::vector<std::string>& detectorPaths) {
        if (!sender) {
            sender = std::make_unique<AlertSender>(
                [&app](const std::string&, const WriteOutcome& outcome) {
                    TellSendFailure(app, outcome);
                });
        }
        std::vector<std::string> files;
        for (const std::string& path : detectorPaths) files.push_back(DetectorIniPath(path));
        sender->Send(TakeAlertRecord(mirror), files);
    };
    environment.finishSending = finishSending;  // Exit ends the program from inside the loop
    SplashWindow window(mirror, view, std::move(environment));
    view.SetPresenter(&window);
    if (!window.Form_Load()) return 0;
    const int code = app.exec();
    finishSending();
    return code;
}

}  // namespace qfd
