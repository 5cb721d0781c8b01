#include "win32/shell/shell_app.h"

#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "core/platform/folder_watch.h"
#include "core/platform/running_program.h"
#include "core/platform/single_instance.h"
#include "core/settings/settings_mirror.h"
#include "core/shell/network_sending.h"
#include "core/shell/splash_window.h"
#include "win32/alert/play_sound_output.h"
#include "win32/alert/resource_sound_library.h"
#include "win32/common/message_loop.h"
#include "win32/shell/application_directory.h"
#include "win32/shell/win32_splash_view.h"

namespace qfd {

int RunShell() {
    // The window's initialisation, before anything is loaded.
    InitCommonControls();

    const std::string programFile = RunningProgramFile();
    const SingleInstance instance = SingleInstance::Claim(programFile);

    SettingsMirror mirror;
    AlertSounds sounds(std::make_unique<ResourceSoundLibrary>(),
                       std::make_unique<PlaySoundOutput>());
    const std::string programDirectory = ApplicationDirectory(programFile);
    Win32SplashView view(mirror, sounds, programDirectory);

    // A failed send is told on the window's thread.
    NetworkSending sending(
        mirror, [&view](const SendFailureMessage& m) { view.PostSendFailure(m.text, m.title); });
    SplashWindow window(mirror, view, MakeStartupEnvironment(programDirectory, instance, sending));
    view.SetPresenter(&window);
    if (!window.Form_Load()) return 0;
    // The mailbox is looked into as soon as its folder tells of a change, between the ticks.
    FolderWatch watch(mirror.IniPath);
    const int code = RunMessageLoop(watch.WaitHandle(), [&] {
        if (watch.DrainChanges()) window.MailboxMayHaveChanged();
    });
    sending.Finish();
    return code;
}

}  // namespace qfd
