// frmOptions' behaviour on a fake view over a real settings file: what opening, every edit,
// "Defaults..." and closing leave in qfd.ini, in the mirror and on the controls.
#include "core/options/options_dialog.h"

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/settings/ini_access.h"
#include "core/settings/settings_mirror.h"
#include "tests/core/alert/alert_fakes.h"
#include "tests/core/options/options_fakes.h"
#include "tests/support/sandbox.h"

namespace qfd::test {
namespace {

class OptionsDialogTest : public ::testing::Test {
  protected:
    // Writes qfd.ini (unless nothing is given), loads the mirror as start-up does and opens.
    void Open(const std::optional<std::string>& file = std::nullopt) {
        if (file) sandbox.WriteBytes("qfd.ini", *file);
        mirror.IniPath = sandbox.IniPath();
        LoadSettingsMirror(mirror);
        dialog = std::make_unique<OptionsDialog>(mirror, sounds.sounds, view,
                                                 [this] { ++menuRefreshes; });
        dialog->Form_Load();
    }
    // The value exactly as it stands in the file (ReadIni would drop the number form's blank).
    std::string Setting(const char* key) const {
        const std::string file = File();
        const std::string start = "\r\n" + std::string(key) + "=";
        const std::size_t at = file.find(start);
        if (at == std::string::npos) return "<missing>";
        const std::size_t from = at + start.size();
        return file.substr(from, file.find("\r\n", from) - from);
    }
    std::string File() const { return sandbox.ReadBytes("qfd.ini"); }
    void Type(TextBox box, const std::string& text) {
        view.text[box] = text;
        switch (box) {
            case TextBox::txtMyName:
                dialog->txtMyName_Change();
                break;
            case TextBox::txtDelay:
                dialog->txtDelay_Change();
                break;
            case TextBox::txtLatency:
                dialog->txtLatency_Change();
                break;
            case TextBox::txtAlertText1:
                dialog->txtAlertText1_Change();
                break;
            case TextBox::txtAlertText2:
                dialog->txtAlertText2_Change();
                break;
        }
    }

    Sandbox sandbox;
    SettingsMirror mirror;
    SoundsUnderTest sounds;
    FakeOptionsView view;
    std::unique_ptr<OptionsDialog> dialog;
    int menuRefreshes = 0;
};

const std::string kFullFile =
    "[Settings]\r\n"
    "myName=Robin\r\n"
    "Delay= 7\r\n"
    "Latency= 250\r\n"
    "Sound=103\r\n"
    "Colour1= 65280\r\n"
    "Colour2= 16711680\r\n"
    "Colour3= 255\r\n"
    "Colour4= 65535\r\n"
    "Small= 1\r\n"
    "QFtext=Rubbish\r\n"
    "Atext=Detected\r\n"
    "NetDelay= 1\r\n"
    "splashDelay= 1\r\n"
    "[Network Settings]\r\n"
    "Option 4=/mnt/b/\r\n"
    "Option 2=/mnt/a/\r\n"
    "Option 3=\r\n";

TEST_F(OptionsDialogTest, OpeningFillsEveryControlAndChangesNothing) {
    Open(kFullFile);
    EXPECT_EQ(File(), kFullFile);  // myName rewritten with its own value
    EXPECT_FALSE(dialog->Loading());
    EXPECT_EQ(view.text[TextBox::txtMyName], "Robin");
    EXPECT_EQ(view.text[TextBox::txtDelay], "7");
    EXPECT_EQ(view.text[TextBox::txtLatency], "250");
    EXPECT_EQ(view.text[TextBox::txtAlertText1], "Rubbish");
    EXPECT_EQ(view.text[TextBox::txtAlertText2], "Detected");
    EXPECT_EQ(view.sound, 3);
    EXPECT_TRUE(view.small);
    EXPECT_EQ(view.netDelay, 0);
    EXPECT_EQ(view.Fill(Swatch::shpCol, 0), 65280u);
    EXPECT_EQ(view.Fill(Swatch::shpCol, 1), 16711680u);
    EXPECT_EQ(view.Fill(Swatch::shpColTxt, 0), 255u);
    EXPECT_EQ(view.Fill(Swatch::shpColTxt, 1), 65535u);
    // The preview waits in the second pair, hidden, with the top text as its caption.
    EXPECT_EQ(view.previewFill, 16711680u);
    EXPECT_EQ(view.previewTextColour, 65535u);
    EXPECT_EQ(dialog->PreviewPhase(), 1);
    EXPECT_EQ(view.previewCaption, "Rubbish");
    EXPECT_TRUE(view.previewButtonVisible);
    EXPECT_FALSE(view.previewTimerEnabled);
    // Tool tips stay as designed while the texts equal the settings.
    EXPECT_FALSE(view.toolTip[TextBox::txtAlertText1].has_value());
    EXPECT_EQ(view.rows, (std::vector<std::string>{"/mnt/a/", "/mnt/b/"}));
    EXPECT_TRUE(view.iconSet);
    EXPECT_EQ(menuRefreshes, 0);
}

TEST_F(OptionsDialogTest, OpeningWithoutAFileWritesOnlyTheName) {
    Open();
    EXPECT_EQ(File(), "[Settings]\r\nmyName=\r\n");
    EXPECT_EQ(view.text[TextBox::txtDelay], "5");
    EXPECT_EQ(view.text[TextBox::txtLatency], "100");
    EXPECT_EQ(view.sound, 1);
    EXPECT_FALSE(view.small);
    EXPECT_EQ(view.netDelay, 1);
    EXPECT_EQ(view.rows, (std::vector<std::string>{"(none)"}));
    EXPECT_EQ(view.previewFill, 0u);               // Colour2: black
    EXPECT_EQ(view.previewTextColour, 16777215u);  // Colour4: white
}

// Values only a hand-edited file holds: the controls show what the rest of the program does
// with them, and opening leaves them alone.
struct StrayCase {
    const char* line;
    int sound;
    bool small;
    int netDelay;
};

class OptionsStrayValues : public OptionsDialogTest,
                           public ::testing::WithParamInterface<StrayCase> {};

TEST_P(OptionsStrayValues, SelectWhatTheAlertAndSendingWouldDo) {
    const std::string file = std::string("[Settings]\r\nmyName=x\r\n") + GetParam().line + "\r\n";
    Open(file);
    EXPECT_EQ(view.sound, GetParam().sound);
    EXPECT_EQ(view.small, GetParam().small);
    EXPECT_EQ(view.netDelay, GetParam().netDelay);
    EXPECT_EQ(File(), file);
}

INSTANTIATE_TEST_SUITE_P(
    Values, OptionsStrayValues,
    ::testing::Values(StrayCase{"Sound=104", 0, false, 1}, StrayCase{"Sound=101", 1, false, 1},
                      StrayCase{"Sound=102", 2, false, 1}, StrayCase{"Sound= 102", 2, false, 1},
                      StrayCase{"Sound=999", 1, false, 1}, StrayCase{"Sound=abc", 1, false, 1},
                      StrayCase{"Small= 1", 1, true, 1}, StrayCase{"Small= 2", 1, false, 1},
                      StrayCase{"Small=-1", 1, false, 1}, StrayCase{"NetDelay= 0", 1, false, 1},
                      StrayCase{"NetDelay= 2", 1, false, 0},
                      StrayCase{"NetDelay=-1", 1, false, 0}));

TEST_F(OptionsDialogTest, AClickStoresWhatTheBoxShowsNotTheFlippedSetting) {
    Open("[Settings]\r\nSmall= 2\r\nNetDelay= 7\r\n");
    view.small = true;  // the user ticks the unticked box
    dialog->chkSmall_Click();
    EXPECT_EQ(Setting("Small"), " 1");
    EXPECT_EQ(mirror.Small, 1);
    view.small = false;
    dialog->chkSmall_Click();
    EXPECT_EQ(Setting("Small"), " 0");
    dialog->optDelay_Click(0);  // clicking the selected "&Use my delay settings" again
    EXPECT_EQ(Setting("NetDelay"), " 1");
    dialog->optDelay_Click(1);
    EXPECT_EQ(Setting("NetDelay"), " 0");
    EXPECT_EQ(mirror.NetDelay, 0);
}

// The delay and latency boxes: what a typed or pasted text leaves in the box and in the file.
struct NumberCase {
    const char* typed;
    const char* shown;
    const char* delay;    // stored, as in the file
    const char* latency;  // stored, as in the file
};

class OptionsNumberBoxes : public OptionsDialogTest,
                           public ::testing::WithParamInterface<NumberCase> {};

TEST_P(OptionsNumberBoxes, NormaliseAndStore) {
    Open();
    const NumberCase& c = GetParam();
    Type(TextBox::txtDelay, c.typed);
    EXPECT_EQ(view.text[TextBox::txtDelay], c.shown);
    EXPECT_EQ(Setting("Delay"), c.delay);
    Type(TextBox::txtLatency, c.typed);
    EXPECT_EQ(view.text[TextBox::txtLatency], c.shown);  // the box keeps what was typed
    EXPECT_EQ(Setting("Latency"), c.latency);
    EXPECT_EQ(std::to_string(mirror.Delay), std::string(c.delay).substr(c.delay[0] == ' '));
    EXPECT_EQ(std::to_string(mirror.Latency), std::string(c.latency).substr(c.latency[0] == ' '));
}

INSTANTIATE_TEST_SUITE_P(
    Typed, OptionsNumberBoxes,
    ::testing::Values(
        NumberCase{"", "0", " 0", " 10"},  // everything deleted
        NumberCase{"07", "7", " 7", " 10"}, NumberCase{"12abc", "12", " 12", " 12"},
        NumberCase{"0-", "0", " 0", " 10"},  // a minus typed after 0
        NumberCase{"-", "0", " 0", " 10"}, NumberCase{"-0", "0", " 0", " 10"},
        NumberCase{"2.", "2", " 2", " 10"}, NumberCase{"2.5", "2.5", " 2", " 10"},
        NumberCase{"3.5", "3.5", " 4", " 10"}, NumberCase{"-5", "-5", "-5", " 10"},
        NumberCase{"+5", "5", " 5", " 10"}, NumberCase{".5", "0.5", " 0", " 10"},
        NumberCase{"-.5", "-0.5", " 0", " 10"}, NumberCase{"5", "5", " 5", " 10"},
        NumberCase{"9.6", "9.6", " 10", " 10"}, NumberCase{"10.5", "10.5", " 10", " 10"},
        NumberCase{"11.5", "11.5", " 12", " 12"}, NumberCase{"&H1F", "31", " 31", " 31"},
        NumberCase{"&h1fz", "31", " 31", " 31"}, NumberCase{"&O17", "15", " 15", " 15"},
        NumberCase{"&O9", "0", " 0", " 10"}, NumberCase{"&H", "0", " 0", " 10"},
        NumberCase{"&", "0", " 0", " 10"},
        NumberCase{"&HFFFF", "65535", " 32767", " 32767"},  // no 16-bit wrap
        NumberCase{"1E3", "1000", " 1000", " 1000"}, NumberCase{"1D2", "100", " 100", " 100"},
        NumberCase{"1e+2x", "100", " 100", " 100"}, NumberCase{"2E-1", "0.2", " 0", " 10"},
        NumberCase{"1E", "1", " 1", " 10"}, NumberCase{"1 2\t3", "123", " 123", " 123"},
        NumberCase{" 1 2. 5 ", "12.5", " 12", " 12"}, NumberCase{"- 4 0", "-40", "-40", " 10"},
        NumberCase{"1,5", "1", " 1", " 10"},  // reading always takes a point
        NumberCase{"abc", "0", " 0", " 10"}, NumberCase{"32767", "32767", " 32767", " 32767"},
        NumberCase{"32767.5", "32767.5", " 32767", " 32767"},
        NumberCase{"99999", "99999", " 32767", " 32767"},
        NumberCase{"-32768", "-32768", "-32768", " 10"},
        NumberCase{"-99999", "-99999", "-32768", " 10"},
        NumberCase{"1E15", "1E+15", " 32767", " 32767"},
        NumberCase{"0.00001", "1E-05", " 0", " 10"},
        NumberCase{"1E999", "1.79769313486231E+308", " 32767", " 32767"},
        NumberCase{"-1E999", "-1.79769313486231E+308", "-32768", " 10"}));

TEST_F(OptionsDialogTest, NumberBoxPutsTheCaretAtTheEndAndReplacesOnlyChangedText) {
    Open();
    const int setsBefore = view.textSets[TextBox::txtDelay];
    const int caretBefore = view.caretAtEnd[TextBox::txtDelay];
    Type(TextBox::txtDelay, "42");
    EXPECT_EQ(view.textSets[TextBox::txtDelay], setsBefore);
    Type(TextBox::txtDelay, "42x");
    EXPECT_EQ(view.textSets[TextBox::txtDelay], setsBefore + 1);
    EXPECT_EQ(view.caretAtEnd[TextBox::txtDelay], caretBefore + 2);
}

TEST_F(OptionsDialogTest, SoundButtonsStoreTheirIdsAndThePlayButtonPlaysTheSelection) {
    Open();
    const char* expected[] = {"104", "101", "102", "103"};
    for (std::int16_t i = 0; i < 4; ++i) {
        dialog->alertSound_Click(i);
        EXPECT_EQ(Setting("Sound"), expected[i]);  // no blank
        dialog->cmdPlaySound_Click();
        const auto image = FileSoundLibrary().LoadSound(std::stoi(expected[i]));
        ASSERT_TRUE(image.has_value());
        ASSERT_FALSE(sounds.output->plays.empty());
        EXPECT_EQ(sounds.output->plays.back()->bytes, *image);
    }
    // There are four buttons: a fifth is a fault in the front end, and stores nothing.
    EXPECT_DEBUG_DEATH(dialog->alertSound_Click(4), "index beyond");
    EXPECT_EQ(Setting("Sound"), "103");
    // A sound still playing is cut off by the next press.
    dialog->alertSound_Click(1);
    dialog->cmdPlaySound_Click();
    const std::size_t plays = sounds.output->plays.size();
    ASSERT_TRUE(sounds.output->IsPlaying());
    dialog->cmdPlaySound_Click();
    EXPECT_EQ(sounds.output->plays.size(), plays + 1);
}

TEST_F(OptionsDialogTest, PlayButtonWithANameLessSoundSettingPlaysTheSelectedWhoop) {
    Open("[Settings]\r\nSound=999\r\n");
    dialog->cmdPlaySound_Click();
    ASSERT_EQ(sounds.output->plays.size(), 1u);
    EXPECT_EQ(sounds.output->plays.back()->bytes, *FileSoundLibrary().LoadSound(101));
    EXPECT_EQ(Setting("Sound"), "999");  // left alone until the user picks a sound
}

TEST_F(OptionsDialogTest, NameIsStoredAsTypedOnEveryChange) {
    Open();
    Type(TextBox::txtMyName, "Al");
    EXPECT_EQ(Setting("myName"), "Al");
    Type(TextBox::txtMyName, "");
    EXPECT_EQ(Setting("myName"), "");
    EXPECT_EQ(mirror.myName, "");
    dialog->txtMyName_GotFocus();
    EXPECT_EQ(view.selectedAll[TextBox::txtMyName], 1);
}

TEST_F(OptionsDialogTest, DefaultsAnsweredNoChangesNothing) {
    Open(kFullFile);
    const FakeOptionsView before = view;
    dialog->cmdDefaults_Click();
    ASSERT_EQ(
        view.questions,
        (std::vector<std::string>{"Are you sure you want to revert to the default settings?"}));
    EXPECT_EQ(File(), kFullFile);
    EXPECT_EQ(view.text, before.text);
    EXPECT_EQ(view.small, before.small);
    EXPECT_EQ(view.sound, before.sound);
}

TEST_F(OptionsDialogTest, DefaultsAnsweredYesResetsSevenThingsAndKeepsTheRest) {
    Open(kFullFile);
    view.yesNoAnswers = {true};
    dialog->cmdDefaults_Click();
    EXPECT_FALSE(view.small);
    EXPECT_EQ(Setting("Small"), " 0");
    EXPECT_EQ(Setting("QFtext"), "Quorf");
    EXPECT_EQ(Setting("Atext"), "Alert");
    EXPECT_EQ(view.previewCaption, "Quorf");
    EXPECT_EQ(view.netDelay, 1);
    EXPECT_EQ(Setting("NetDelay"), " 0");
    EXPECT_EQ(view.sound, 1);
    EXPECT_EQ(Setting("Sound"), "101");
    EXPECT_EQ(view.text[TextBox::txtDelay], "5");
    EXPECT_EQ(Setting("Delay"), " 5");
    EXPECT_EQ(view.text[TextBox::txtLatency], "100");
    EXPECT_EQ(Setting("Latency"), " 100");
    // Untouched: colours, name, detectors.
    EXPECT_EQ(Setting("Colour1"), " 65280");
    EXPECT_EQ(Setting("Colour4"), " 65535");
    EXPECT_EQ(Setting("myName"), "Robin");
    EXPECT_EQ(ReadIni(sandbox.IniPath(), "Network Settings", "Option 2", ""), "/mnt/a/");
    EXPECT_EQ(mirror.Delay, 5);
    EXPECT_EQ(mirror.Latency, 100);
}

TEST_F(OptionsDialogTest, DefaultsAlsoResetStrayValuesTheControlsAlreadyShowAsDefault) {
    Open("[Settings]\r\nSmall= 2\r\nSound=abc\r\n");
    view.yesNoAnswers = {true};
    dialog->cmdDefaults_Click();
    EXPECT_EQ(Setting("Small"), " 0");
    EXPECT_EQ(Setting("Sound"), "101");
    // Settings already at their defaults are not written again.
    EXPECT_EQ(Setting("NetDelay"), "<missing>");
    EXPECT_EQ(Setting("QFtext"), "<missing>");
}

TEST_F(OptionsDialogTest, ClosingRefreshesTheMenusAndWritesNothing) {
    Open(kFullFile);
    dialog->TogglePreview();
    dialog->cmdClose_Click();
    EXPECT_EQ(view.closeRequests, 1);
    dialog->Form_Unload();
    EXPECT_EQ(menuRefreshes, 1);
    EXPECT_FALSE(view.previewTimerEnabled);
    EXPECT_EQ(File(), kFullFile);
}

// Part of the alert's look: colours, texts and the preview.

struct ColourCase {
    bool text;  // cmdColTxt rather than cmdCol
    std::int16_t index;
    const char* key;
    Swatch swatch;
};

class OptionsColourButtons : public OptionsDialogTest,
                             public ::testing::WithParamInterface<ColourCase> {};

TEST_P(OptionsColourButtons, OpenOnTheSwatchAndStoreTheChoice) {
    Open(kFullFile);
    const ColourCase& c = GetParam();
    const std::uint32_t before = view.Fill(c.swatch, c.index);
    const auto click = [&] {
        if (c.text)
            dialog->cmdColTxt_Click(c.index);
        else
            dialog->cmdCol_Click(c.index);
    };
    view.colourAnswers = {16777215};
    click();
    ASSERT_EQ(view.colourRequests.size(), 1u);
    EXPECT_EQ(view.colourRequests[0].initial, before);
    EXPECT_EQ(view.colourRequests[0].title, "Choose a Colour");
    EXPECT_EQ(Setting(c.key), " 16777215");
    EXPECT_EQ(view.Fill(c.swatch, c.index), 16777215u);
    click();  // cancelled: the chooser hands back what it was given
    EXPECT_EQ(view.colourRequests[1].initial, 16777215u);
    EXPECT_EQ(Setting(c.key), " 16777215");
}

INSTANTIATE_TEST_SUITE_P(Buttons, OptionsColourButtons,
                         ::testing::Values(ColourCase{false, 0, "Colour1", Swatch::shpCol},
                                           ColourCase{false, 1, "Colour2", Swatch::shpCol},
                                           ColourCase{true, 0, "Colour3", Swatch::shpColTxt},
                                           ColourCase{true, 1, "Colour4", Swatch::shpColTxt}));

TEST_F(OptionsDialogTest, PreviewAlternatesFromTheSecondPairAndKeepsItsPhase) {
    Open(kFullFile);  // Colour1 green, Colour2 blue, Colour3 red, Colour4 yellow
    dialog->cmdPreview_Click();
    EXPECT_FALSE(view.previewButtonVisible);
    EXPECT_TRUE(view.previewTimerEnabled);
    EXPECT_TRUE(view.previewShapeVisible);
    EXPECT_TRUE(view.previewLabelVisible);
    EXPECT_EQ(view.previewFill, 16711680u);
    EXPECT_EQ(view.previewTextColour, 65535u);
    dialog->Timer1_Timer();
    EXPECT_EQ(dialog->PreviewPhase(), 0);
    EXPECT_EQ(view.previewFill, 65280u);
    EXPECT_EQ(view.previewTextColour, 255u);
    dialog->Timer1_Timer();
    EXPECT_EQ(view.previewFill, 16711680u);
    dialog->Timer1_Timer();
    dialog->lblPreview_Click();  // stopped in the first pair
    EXPECT_TRUE(view.previewButtonVisible);
    EXPECT_FALSE(view.previewTimerEnabled);
    EXPECT_FALSE(view.previewShapeVisible);
    EXPECT_FALSE(view.previewLabelVisible);
    EXPECT_EQ(view.previewFill, 65280u);
    dialog->cmdPreview_Click();  // goes on from there
    dialog->Timer1_Timer();
    EXPECT_EQ(dialog->PreviewPhase(), 1);
    EXPECT_EQ(view.previewFill, 16711680u);
    // A new colour shows at the next tick that uses it.
    view.colourAnswers = {0x123456};
    dialog->cmdCol_Click(0);
    EXPECT_EQ(view.previewFill, 16711680u);
    dialog->Timer1_Timer();
    EXPECT_EQ(view.previewFill, 0x123456u);
}

TEST_F(OptionsDialogTest, TopTextStoresOnChangeAndCaptionsThePreview) {
    Open();
    Type(TextBox::txtAlertText1, "Quorf");  // equal to the setting: nothing stored
    EXPECT_EQ(Setting("QFtext"), "<missing>");
    EXPECT_FALSE(view.toolTip[TextBox::txtAlertText1].has_value());
    Type(TextBox::txtAlertText1, "<b>Hoax</b>");
    EXPECT_EQ(Setting("QFtext"), "<b>Hoax</b>");
    EXPECT_EQ(mirror.QFtext, "<b>Hoax</b>");
    EXPECT_EQ(view.toolTip[TextBox::txtAlertText1], "<b>Hoax</b>");
    EXPECT_EQ(view.previewCaption, "<b>Hoax</b>");
    Type(TextBox::txtAlertText1, "");
    EXPECT_EQ(Setting("QFtext"), "");
    EXPECT_EQ(view.toolTip[TextBox::txtAlertText1], "");
    EXPECT_EQ(view.previewCaption, "Preview");
    dialog->txtAlertText1_GotFocus();
    EXPECT_EQ(view.selectedAll[TextBox::txtAlertText1], 1);
}

TEST_F(OptionsDialogTest, BottomTextStoresOnChangeAndLeavesThePreviewAlone) {
    Open();
    Type(TextBox::txtAlertText2, "Alert");
    EXPECT_EQ(Setting("Atext"), "<missing>");
    Type(TextBox::txtAlertText2, "Siren");
    EXPECT_EQ(Setting("Atext"), "Siren");
    EXPECT_EQ(view.toolTip[TextBox::txtAlertText2], "Siren");
    EXPECT_EQ(view.previewCaption, "Quorf");
    dialog->txtAlertText2_GotFocus();
    EXPECT_EQ(view.selectedAll[TextBox::txtAlertText2], 1);
}

}  // namespace
}  // namespace qfd::test
