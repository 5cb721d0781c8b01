// "&Browse..." and "&Remove" in frmOptions: what the list box, the file, the menus and the user
// see after each answer.
#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/network/network_menus.h"
#include "core/options/options_dialog.h"
#include "core/settings/ini_access.h"
#include "core/settings/settings_mirror.h"
#include "tests/core/alert/alert_fakes.h"
#include "tests/core/options/options_fakes.h"
#include "tests/support/run_as_nobody.h"
#include "tests/support/sandbox.h"

namespace qfd::test {
namespace {

using Rows = std::vector<std::string>;

class OptionsDetectorsTest : public ::testing::Test {
  protected:
    void Open(const std::string& networkSection, std::string ini = {}) {
        if (ini.empty()) {
            ini = sandbox.IniPath();
            sandbox.WriteBytes("qfd.ini", "[Network Settings]\r\n" + networkSection);
        }
        mirror.IniPath = ini;
        LoadSettingsMirror(mirror);
        dialog = std::make_unique<OptionsDialog>(mirror, sounds.sounds, view,
                                                 [this] { ++menuRefreshes; });
        dialog->Form_Load();
    }
    std::string Slot(int n) const {
        return ReadIni(sandbox.IniPath(), "Network Settings", "Option " + std::to_string(n),
                       "<missing>");
    }
    Rows List() const { return ReadNetworkDetectorList(sandbox.IniPath()); }
    // The file name the chooser hands back for a program in folder.
    void Choose(const std::string& file) { view.fileAnswers.push_back(file); }
    std::string Own(const std::string& name = "qfd") const { return sandbox.Path(name); }

    Sandbox sandbox;
    SettingsMirror mirror;
    SoundsUnderTest sounds;
    FakeOptionsView view;
    std::unique_ptr<OptionsDialog> dialog;
    int menuRefreshes = 0;
};

TEST_F(OptionsDetectorsTest, ChooserIsSetUpForEitherProgramFileName) {
    Open("");
    dialog->cmdBrowse_Click();
    ASSERT_EQ(view.fileRequests.size(), 1u);
    EXPECT_EQ(view.fileRequests[0].title, "Choose QF Detect Application");
    EXPECT_EQ(view.fileRequests[0].filterDescription, "Quorf Detector EXE");
    EXPECT_EQ(view.fileRequests[0].filePatterns, (Rows{"qfd", "qfd.exe"}));
}

TEST_F(OptionsDetectorsTest, CancelSaysAndChangesNothing) {
    Open("Option 0=/a/\r\n");
    const std::string before = sandbox.ReadBytes("qfd.ini");
    dialog->cmdBrowse_Click();
    EXPECT_TRUE(view.refusals.empty());
    EXPECT_EQ(view.rows, Rows{"/a/"});
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), before);
    EXPECT_EQ(menuRefreshes, 0);
}

TEST_F(OptionsDetectorsTest, FirstAddReplacesTheNoneRowAndTakesSlotZero) {
    Open("");
    ASSERT_EQ(view.rows, Rows{"(none)"});
    Choose("/mnt/pc2/qfd/qfd.exe");
    dialog->cmdBrowse_Click();
    EXPECT_TRUE(view.refusals.empty());
    EXPECT_EQ(view.rows, Rows{"/mnt/pc2/qfd/"});
    EXPECT_EQ(Slot(0), "/mnt/pc2/qfd/");
    EXPECT_EQ(menuRefreshes, 1);
}

TEST_F(OptionsDetectorsTest, AddedRowStandsLastUntilTheListIsRefilled) {
    Open("Option 0=/a/\r\nOption 1=\r\nOption 2=/c/\r\n");
    Choose("/b/qfd");
    dialog->cmdBrowse_Click();
    EXPECT_EQ(view.rows, (Rows{"/a/", "/c/", "/b/"}));
    EXPECT_EQ(Slot(1), "/b/");
    EXPECT_EQ(List(), (Rows{"/a/", "/b/", "/c/"}));
    dialog->FillNetworkList();
    EXPECT_EQ(view.rows, (Rows{"/a/", "/b/", "/c/"}));
}

TEST_F(OptionsDetectorsTest, AddingYourselfIsRefused) {
    Open("");
    Choose(Own("qfd"));
    dialog->cmdBrowse_Click();
    Choose(Own("qfd.exe"));  // the same folder whatever the file is called
    dialog->cmdBrowse_Click();
    EXPECT_EQ(view.refusals,
              (Rows(2, "Hey! You can't add yourself. That's unnatural! You larrikan!")));
    EXPECT_EQ(view.rows, Rows{"(none)"});
    EXPECT_EQ(List(), Rows{});
    EXPECT_EQ(menuRefreshes, 0);
}

TEST_F(OptionsDetectorsTest, DuplicateTestIsExactAndSlotChoiceIgnoresCase) {
    Open("Option 0=/a/\r\nOption 1=/MNT/B/\r\n");
    Choose("/a/qfd");
    dialog->cmdBrowse_Click();
    EXPECT_EQ(view.refusals, Rows{"Hey! That's already in the list. You scamp!"});
    EXPECT_EQ(view.rows, (Rows{"/a/", "/MNT/B/"}));
    // Other letter case: a second row, written over the slot holding the same path.
    Choose("/mnt/b/qfd");
    dialog->cmdBrowse_Click();
    EXPECT_EQ(view.refusals.size(), 1u);
    EXPECT_EQ(view.rows, (Rows{"/a/", "/MNT/B/", "/mnt/b/"}));
    EXPECT_EQ(Slot(1), "/mnt/b/");
    EXPECT_EQ(List(), (Rows{"/a/", "/mnt/b/"}));
}

TEST_F(OptionsDetectorsTest, FullListIsRefusedAndShowsNoNewRow) {
    std::string section;
    for (int slot = 0; slot < kDetectorSlotCount; ++slot)
        section += "Option " + std::to_string(slot) + "=/d" + std::to_string(slot) + "/\r\n";
    Open(section);
    Choose("/new/qfd");
    dialog->cmdBrowse_Click();
    ASSERT_EQ(view.refusals.size(), 1u);
    EXPECT_EQ(view.refusals[0],
              "Hey! There's no room left for another Network Detector. Get rid of one first, you "
              "hoarder!");
    EXPECT_EQ(view.rows.size(), 501u);
    EXPECT_EQ(view.rows.back(), "/d500/");
    EXPECT_EQ(menuRefreshes, 0);
}

TEST_F(OptionsDetectorsTest, PathTooLongToReadBackIsRefused) {
    Open("");
    Choose("/" + std::string(253, 'p') + "/qfd");
    dialog->cmdBrowse_Click();
    ASSERT_EQ(view.refusals.size(), 1u);
    EXPECT_EQ(view.refusals[0],
              "Hey! That path is too long for me to remember. Pick a shorter one, you drongo!");
    EXPECT_EQ(view.rows, Rows{"(none)"});
}

TEST_F(OptionsDetectorsTest, UnwritableSettingsFileIsToldAndShowsNoNewRow) {
    // A settings file in a folder that has gone: nothing can be written.
    Open("", (sandbox.Dir() / "gone" / "qfd.ini").string());
    Choose("/mnt/x/qfd");
    dialog->cmdBrowse_Click();
    ASSERT_EQ(view.refusals.size(), 1u);
    EXPECT_EQ(view.refusals[0],
              "Hey! I couldn't write that Network Detector into qfd.ini: the folder does not "
              "exist. Nothing was added, you galah!");
    EXPECT_EQ(view.rows, Rows{"(none)"});
    EXPECT_EQ(menuRefreshes, 0);
}

TEST_F(OptionsDetectorsTest, RemovingNothingIsRefused) {
    Open("");
    view.selectedRow = 0;  // the "(none)" row
    dialog->cmdRemove_Click();
    Open("Option 0=/a/\r\n");
    view.selectedRow = -1;
    dialog->cmdRemove_Click();
    EXPECT_EQ(view.refusals, (Rows(2, "You can't get rid of nothing! You scallywag!")));
    EXPECT_TRUE(view.questions.empty());
}

TEST_F(OptionsDetectorsTest, RemoveAnsweredNoChangesNothing) {
    Open("Option 0=/a/\r\nOption 1=/b/\r\n");
    const std::string before = sandbox.ReadBytes("qfd.ini");
    view.selectedRow = 1;
    dialog->cmdRemove_Click();
    EXPECT_EQ(view.questions, Rows{"Are you sure you want to get rid of '/b/'?"});
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), before);
    EXPECT_EQ(view.rows, (Rows{"/a/", "/b/"}));
    EXPECT_EQ(menuRefreshes, 0);
}

TEST_F(OptionsDetectorsTest, RemoveAnsweredYesClearsEverySlotOfThePath) {
    Open("Option 0=/a/\r\nOption 1=/b/\r\nOption 2=/B/\r\nOption 3=/b/\r\n");
    view.selectedRow = 1;
    view.yesNoAnswers = {true};
    dialog->cmdRemove_Click();
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"),
              "[Network Settings]\r\nOption 0=/a/\r\nOption 1=\r\nOption 2=/B/\r\nOption 3=\r\n"
              "[Settings]\r\nmyName=\r\n");
    EXPECT_EQ(view.rows, (Rows{"/a/", "/B/"}));
    EXPECT_EQ(menuRefreshes, 1);
    // The last one goes: the list shows "(none)" again.
    view.selectedRow = 0;
    view.yesNoAnswers = {true};
    dialog->cmdRemove_Click();
    view.selectedRow = 0;
    view.yesNoAnswers = {true};
    dialog->cmdRemove_Click();
    EXPECT_EQ(view.rows, Rows{"(none)"});
    EXPECT_TRUE(view.refusals.empty());
}

TEST_F(OptionsDetectorsTest, RemoveFromAReadOnlyFileIsToldAndTheRowStays) {
    sandbox.WriteBytes("qfd.ini", "[Network Settings]\r\nOption 0=/a/\r\n");
    ASSERT_EQ(::chmod(sandbox.IniPath().c_str(), 0444), 0);
    ::chmod(sandbox.Dir().string().c_str(), 0755);
    const std::optional<int> result = RunUnprivileged([&] {
        Open("", sandbox.IniPath());
        view.selectedRow = 0;
        view.yesNoAnswers = {true};
        dialog->cmdRemove_Click();
        if (view.rows != Rows{"/a/"}) return 1;
        if (view.refusals.size() != 1) return 2;
        if (view.refusals[0].find("It's still in the list") == std::string::npos) return 3;
        return 0;
    });
    if (!result) GTEST_SKIP() << "cannot run as an unprivileged user";
    EXPECT_EQ(*result, 0);
    EXPECT_EQ(sandbox.ReadBytes("qfd.ini"), "[Network Settings]\r\nOption 0=/a/\r\n");
}

TEST_F(OptionsDetectorsTest, ColourChooserStillStartsOnTheSwatchAfterBrowsing) {
    Open("");
    Choose("/a/qfd");
    dialog->cmdBrowse_Click();
    dialog->cmdCol_Click(0);
    ASSERT_EQ(view.colourRequests.size(), 1u);
    EXPECT_EQ(view.colourRequests[0].initial, 255u);
}

}  // namespace
}  // namespace qfd::test
