#pragma once

#include <string>
#include <utility>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/settings/ini_access.h"
#include "core/settings/settings_mirror.h"
#include "core/shell/splash_window.h"
#include "tests/core/shell/fake_splash_view.h"
#include "tests/support/sandbox.h"

namespace qfd::test {

// An installation folder with a started frmSplash in it, talking to a fake view.
class ShellTest : public ::testing::Test {
  protected:
    Sandbox sandbox;
    SettingsMirror mirror;
    FakeSplashView view;
    bool anotherRunning = false;
    std::vector<std::vector<std::string>> sent;  // detector paths of each network command
    Deliveries deliveries;                       // what the sender thread has written since
    SplashWindow window{mirror, view, Environment()};

    StartupEnvironment Environment() {
        StartupEnvironment environment;
        environment.programDirectory = sandbox.Dir().string();
        environment.anotherInstanceRunning = [this] { return anotherRunning; };
        environment.sendNetworkAlert = [this](const std::vector<std::string>& paths) {
            sent.push_back(paths);
        };
        environment.finishSending = [this] { view.calls.push_back("finish sending"); };
        environment.takeDeliveries = [this] { return std::exchange(deliveries, {}); };
        return environment;
    }

    std::string Get(const char* section, const char* key, const char* def = "<missing>") {
        return ReadIni(sandbox.IniPath(), section, key, def);
    }
    void Set(const char* section, const char* key, std::string value) {
        ASSERT_TRUE(WriteIni(sandbox.IniPath(), section, key, value).Ok());
    }
    void Start() {
        ASSERT_TRUE(window.Form_Load());
        view.calls.clear();
    }
    // Ticks until the view is told to hide the window; the number of the hiding tick, or 0.
    int TicksUntilHidden(int limit) {
        for (int tick = 1; tick <= limit; ++tick) {
            window.Timer1_Timer();
            if (!view.windowVisible) return tick;
        }
        return 0;
    }
};

}  // namespace qfd::test
