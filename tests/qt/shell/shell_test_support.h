#pragma once

#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "core/alert/alert_sounds.h"
#include "core/alert/sound_library.h"
#include "core/platform/audio_output.h"
#include "core/settings/settings_mirror.h"
#include "core/shell/splash_window.h"
#include "qt/shell/qt_splash_view.h"

namespace qfd::test {

// Sounds that go nowhere: the shell's tests look at windows, not at the speaker.
class SilentOutput : public AudioOutput {
  public:
    bool Play(std::shared_ptr<const PcmImage>) override { return true; }
    bool IsPlaying() const override { return false; }
};

class NoSounds : public SoundLibrary {
  public:
    std::optional<std::vector<unsigned char>> LoadSound(std::int32_t) const override {
        return std::nullopt;
    }
};

// A started frmSplash in a temporary installation folder, with the real Qt view.
struct StartedShell {
    QTemporaryDir dir;
    SettingsMirror mirror;
    AlertSounds sounds{std::make_unique<NoSounds>(), std::make_unique<SilentOutput>()};
    QtSplashView view{mirror, sounds};
    std::vector<std::vector<std::string>> sent;
    SplashWindow window{mirror, view, Environment()};
    int ends = 0;

    StartedShell() {
        view.SetPresenter(&window);
        view.SetEndProgram([this] { ++ends; });
    }
    bool Start() { return window.Form_Load(); }

    StartupEnvironment Environment() {
        StartupEnvironment environment;
        environment.programDirectory = dir.path().toStdString();
        environment.anotherInstanceRunning = [] { return false; };
        environment.sendNetworkAlert = [this](const std::vector<std::string>& paths) {
            sent.push_back(paths);
        };
        return environment;
    }
};

}  // namespace qfd::test
