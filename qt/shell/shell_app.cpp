#include "qt/shell/shell_app.h"

#include <QFile>
#include <QSettings>
#include <memory>
#include <string>
#include <vector>

#include "core/platform/single_instance.h"
#include "core/settings/settings_mirror.h"
#include "core/shell/network_sending.h"
#include "core/shell/splash_window.h"
#include "qt/alert/qt_audio_output.h"
#include "qt/shell/mailbox_wake.h"
#include "qt/shell/message_box.h"
#include "qt/shell/program_icon.h"
#include "qt/shell/qt_splash_view.h"

namespace qfd {
namespace {

// A failed send is told once the user-interface thread gets to it.
void TellSendFailure(QApplication& app, const SendFailureMessage& message) {
    QMetaObject::invokeMethod(
        &app,
        [message] {
            ShowMessageBox(
                nullptr, {message.text, message.title, MessageIcon::Critical, MessageButtons::Ok});
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
    NetworkSending sending(mirror,
                           [&app](const SendFailureMessage& m) { TellSendFailure(app, m); });
    SplashWindow window(mirror, view, MakeStartupEnvironment(programDirectory, instance, sending));
    view.SetPresenter(&window);
    if (!window.Form_Load()) return 0;
    const MailboxWake wake(window, mirror.IniPath);
    const int code = app.exec();
    sending.Finish();
    return code;
}

}  // namespace qfd
