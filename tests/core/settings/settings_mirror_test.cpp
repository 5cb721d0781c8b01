#include "core/settings/settings_mirror.h"

#include <string>

#include <gtest/gtest.h>

#include "core/settings/ini_path.h"
#include "tests/support/sandbox.h"

namespace qfd {
namespace {

class SettingsMirrorTest : public ::testing::Test {
  protected:
    SettingsMirror Load() {
        SettingsMirror m;
        m.IniPath = sandbox.IniPath();
        LoadSettingsMirror(m);
        return m;
    }
    test::Sandbox sandbox;
};

TEST_F(SettingsMirrorTest, MissingFileGivesEveryDefaultAndCreatesNothing) {
    const SettingsMirror m = Load();
    EXPECT_EQ(m.myName, "");
    EXPECT_EQ(m.Delay, 5);
    EXPECT_EQ(m.Latency, 100);
    EXPECT_EQ(m.Sound, "101");
    EXPECT_EQ(m.Colour1, 255);
    EXPECT_EQ(m.Colour2, 0);
    EXPECT_EQ(m.Colour3, 0);
    EXPECT_EQ(m.Colour4, 16777215);
    EXPECT_EQ(m.Small, 0);
    EXPECT_EQ(m.QFtext, "Quorf");
    EXPECT_EQ(m.Atext, "Alert");
    EXPECT_EQ(m.NetDelay, 0);
    EXPECT_FALSE(sandbox.Exists("qfd.ini"));
    EXPECT_FALSE(sandbox.Exists("qfd.ini.lock"));
}

TEST_F(SettingsMirrorTest, AFreshMirrorHoldsWhatAMissingFileGives) {
    SettingsMirror fresh;
    fresh.IniPath = sandbox.IniPath();
    EXPECT_EQ(Load(), fresh);
}

TEST_F(SettingsMirrorTest, ReadsEveryKeyAsAWindowsInstallationWroteIt) {
    sandbox.WriteBytes("qfd.ini",
                       "[settings]\r\nmyName=Bruce\r\nDELAY= 7\r\nLatency= 250\r\nSound=103\r\n"
                       "Colour1= 65280\r\nColour2= 16711680\r\nColour3= 65535\r\nColour4=-1\r\n"
                       "Small= 1\r\nQFtext=Rubbish\r\nAtext=Detected\r\nNetDelay= 1\r\n");
    const SettingsMirror m = Load();
    EXPECT_EQ(m.myName, "Bruce");
    EXPECT_EQ(m.Delay, 7);
    EXPECT_EQ(m.Latency, 250);
    EXPECT_EQ(m.Sound, "103");
    EXPECT_EQ(m.Colour1, 65280);
    EXPECT_EQ(m.Colour2, 16711680);
    EXPECT_EQ(m.Colour3, 65535);
    EXPECT_EQ(m.Colour4, -1);
    EXPECT_EQ(m.Small, 1);
    EXPECT_EQ(m.QFtext, "Rubbish");
    EXPECT_EQ(m.Atext, "Detected");
    EXPECT_EQ(m.NetDelay, 1);
}

TEST_F(SettingsMirrorTest, DamagedNumbersTakeTheirDefaultsNeverAWrappedValue) {
    sandbox.WriteBytes("qfd.ini",
                       "[Settings]\r\nDelay=abc\r\nLatency=99999\r\nColour1=\r\n"
                       "Colour4= 4294967295\r\nSmall=1E9\r\nNetDelay=7.5\r\nmyName=\r\n");
    const SettingsMirror m = Load();
    EXPECT_EQ(m.Delay, 5);
    EXPECT_EQ(m.Latency, 100);
    EXPECT_EQ(m.Colour1, 255);
    EXPECT_EQ(m.Colour4, 16777215);
    EXPECT_EQ(m.Small, 0);
    EXPECT_EQ(m.NetDelay, 8);  // a fraction rounds; only non-numbers fall back
    EXPECT_EQ(m.myName, "");   // present but empty is empty, not the default
}

TEST(IniPath, ProgramDirectoryJoinedWithTheSettingsFileName) {
#ifdef _WIN32
    EXPECT_EQ(MakeIniPath("C:\\Program Files\\QFD"), "C:\\Program Files\\QFD\\qfd.ini");
    EXPECT_EQ(MakeIniPath("C:\\"), "C:\\\\qfd.ini");
#else
    EXPECT_EQ(MakeIniPath("/home/bruce/qfd"), "/home/bruce/qfd/qfd.ini");
    EXPECT_EQ(MakeIniPath("/"), "/qfd.ini");
#endif
}

}  // namespace
}  // namespace qfd
