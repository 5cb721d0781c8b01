#include "core/alert/alert_window.h"

#include <gtest/gtest.h>

#include "core/alert/sound_ids.h"
#include "tests/core/alert/alert_fakes.h"

namespace qfd {
namespace {

using test::FakeAlertView;

class AlertWindowTest : public ::testing::Test {
  protected:
    AlertWindowTest() { mirror.IniPath = sandbox.IniPath(); }

    const FakeAlertView::LabelState& L(AlertLabel label) { return view.labels.at(label); }
    double Height(AlertLabel label) { return view.LabelSize(label).height; }
    double Width(AlertLabel label) { return view.LabelSize(label).width; }
    std::size_t Plays() const { return s.output->plays.size(); }

    test::Sandbox sandbox;
    SettingsMirror mirror;
    test::SoundsUnderTest s;
    FakeAlertView view;
    AlertWindow window{mirror, s.sounds, view};
};

// The free height is split into three equal gaps and every label is centred across the window.
void ExpectThreeGapsAndCentred(FakeAlertView& view) {
    const auto& q = view.labels.at(AlertLabel::lblQuorf);
    const auto& a = view.labels.at(AlertLabel::lblAlert);
    const double qh = view.LabelSize(AlertLabel::lblQuorf).height;
    const double ah = view.LabelSize(AlertLabel::lblAlert).height;
    const double above = q.top;
    const double between = a.top - (q.top + qh);
    const double below = view.window.height - (a.top + ah);
    EXPECT_DOUBLE_EQ(above, between);
    EXPECT_DOUBLE_EQ(between, below);
    for (const AlertLabel l : {AlertLabel::lblQuorf, AlertLabel::lblAlert, AlertLabel::lblMyName}) {
        EXPECT_DOUBLE_EQ(view.labels.at(l).left * 2 + view.LabelSize(l).width, view.window.width);
    }
}

TEST_F(AlertWindowTest, FullSizeLayoutWithDefaultTexts) {
    window.Form_Load();
    EXPECT_DOUBLE_EQ(view.window.width, 15360);
    EXPECT_DOUBLE_EQ(view.window.height, 11520);
    EXPECT_EQ(L(AlertLabel::lblQuorf).text, "Quorf");
    EXPECT_EQ(L(AlertLabel::lblAlert).text, "Alert");
    EXPECT_EQ(L(AlertLabel::lblQuorf).points, 72);
    // Fake metrics: "Quorf" at 72 pt is 4320 x 1656 twips.
    EXPECT_DOUBLE_EQ(L(AlertLabel::lblQuorf).left, 5520);
    EXPECT_DOUBLE_EQ(L(AlertLabel::lblQuorf).top, 2736);
    EXPECT_DOUBLE_EQ(L(AlertLabel::lblAlert).left, 5520);
    EXPECT_DOUBLE_EQ(L(AlertLabel::lblAlert).top, 2 * 2736 + 1656);
    ExpectThreeGapsAndCentred(view);
}

TEST_F(AlertWindowTest, OnlySmallExactlyOneGivesTheSmallAlert) {
    const struct {
        std::int16_t small;
        double width, height, points;
    } cases[] = {
        {1, 4500, 3750, 20},    {0, 15360, 11520, 72},     {2, 15360, 11520, 72},
        {-1, 15360, 11520, 72}, {32767, 15360, 11520, 72}, {-32768, 15360, 11520, 72},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.small);
        mirror.Small = c.small;
        mirror.QFtext = "Top text";
        mirror.Atext = "Bottom";
        mirror.SenderName = "Pat";
        window.Form_Load();
        EXPECT_DOUBLE_EQ(view.window.width, c.width);
        EXPECT_DOUBLE_EQ(view.window.height, c.height);
        EXPECT_EQ(L(AlertLabel::lblQuorf).points, c.points);
        EXPECT_EQ(L(AlertLabel::lblAlert).points, c.points);
        EXPECT_EQ(L(AlertLabel::lblMyName).points,
                  12);  // the sender line keeps 12 pt in both sizes
        EXPECT_DOUBLE_EQ(L(AlertLabel::lblMyName).top, 120);
        ExpectThreeGapsAndCentred(view);
    }
}

TEST_F(AlertWindowTest, EmptyAndOverwideTextsKeepTheGapsAndTheCentring) {
    const std::string longest(254, 'W');  // the longest value ReadIni hands back
    const struct {
        const char* top;
        const char* bottom;
        std::int16_t small;
    } cases[] = {
        {"", "", 0},
        {"", "Alert", 1},
        {"Quorf", "", 0},
        {"A text far too wide for the small window", "x", 1},
        {longest.c_str(), "Alert", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.top);
        mirror.QFtext = c.top;
        mirror.Atext = c.bottom;
        mirror.Small = c.small;
        window.Form_Load();
        ExpectThreeGapsAndCentred(view);
        if (Width(AlertLabel::lblQuorf) > view.window.width) {
            EXPECT_LT(L(AlertLabel::lblQuorf).left, 0);  // cut equally at both edges
        }
    }
}

TEST_F(AlertWindowTest, SenderLineShowsTheSenderCentredNearTheTop) {
    mirror.SenderName = "(from unknown)";
    window.Form_Load();
    EXPECT_EQ(L(AlertLabel::lblMyName).text, "(from unknown)");
    EXPECT_DOUBLE_EQ(L(AlertLabel::lblMyName).top, 120);
    EXPECT_DOUBLE_EQ(L(AlertLabel::lblMyName).left, (15360 - Width(AlertLabel::lblMyName)) / 2);

    mirror.SenderName.clear();
    window.Form_Load();
    EXPECT_EQ(L(AlertLabel::lblMyName).text, "");
}

TEST_F(AlertWindowTest, FullSizeAlertCoversEveryMonitorInStepAndASmallOneOnlyThePrimary) {
    FakeAlertView second;
    second.screen = {1280 * 15.0, 1024 * 15.0};
    window.AddScreen(second);
    mirror.QFtext = "Top text";
    mirror.SenderName = "Pat";
    window.Form_Load();
    EXPECT_DOUBLE_EQ(second.window.width, 1280 * 15.0);
    EXPECT_DOUBLE_EQ(second.window.height, 1024 * 15.0);
    ExpectThreeGapsAndCentred(second);
    EXPECT_EQ(second.labels.at(AlertLabel::lblQuorf).text, "Top text");
    EXPECT_EQ(second.labels.at(AlertLabel::lblMyName).text, "Pat");
    EXPECT_TRUE(second.topmost);
    EXPECT_EQ(second.timerInterval, 0) << "one timer flashes both";
    for (int tick = 0; tick < 3; ++tick) {
        window.Timer1_Timer();
        EXPECT_EQ(second.backColour, view.backColour);
        EXPECT_EQ(second.labels.at(AlertLabel::lblAlert).colour,
                  view.labels.at(AlertLabel::lblAlert).colour);
    }
    EXPECT_EQ(Plays(), 1u) << "the sound plays once, not once a monitor";

    // A monitor removed: its window is asked nothing more.
    window.RemoveScreen(second);
    second.backColour = 0xDEADBEEF;
    window.Timer1_Timer();
    EXPECT_EQ(second.backColour, 0xDEADBEEFu);

    mirror.Small = 1;
    FakeAlertView third;
    AlertWindow small{mirror, s.sounds, view};
    small.AddScreen(third);
    small.Form_Load();
    small.Timer1_Timer();
    EXPECT_DOUBLE_EQ(third.window.width, 0);
    EXPECT_EQ(third.backColour, 0xDEADBEEFu);
}

TEST_F(AlertWindowTest, FlashesFromTheSecondPairAndAsksForTheSoundOnFirstPairTicks) {
    mirror.Colour1 = 0x0000FF;
    mirror.Colour2 = 0x00FF00;
    mirror.Colour3 = 0x123456;
    mirror.Colour4 = 0xFF0000;
    window.Form_Load();
    EXPECT_EQ(view.backColour, 0x00FF00u);
    for (const AlertLabel l : {AlertLabel::lblQuorf, AlertLabel::lblAlert, AlertLabel::lblMyName}) {
        EXPECT_EQ(L(l).colour, 0xFF0000u);
    }
    EXPECT_TRUE(window.FlashState());
    EXPECT_EQ(Plays(), 0u);  // no sound while loading

    for (int tick = 1; tick <= 6; ++tick) {
        SCOPED_TRACE(tick);
        s.output->EndSound();  // Whoop is over before the next request
        window.Timer1_Timer();
        const bool firstPair = tick % 2 == 1;
        EXPECT_EQ(view.backColour, firstPair ? 0x0000FFu : 0x00FF00u);
        for (const AlertLabel l :
             {AlertLabel::lblQuorf, AlertLabel::lblAlert, AlertLabel::lblMyName}) {
            EXPECT_EQ(L(l).colour, firstPair ? 0x123456u : 0xFF0000u);
        }
        EXPECT_EQ(Plays(), static_cast<std::size_t>((tick + 1) / 2));
        EXPECT_EQ(window.FlashState(), !firstPair);
    }
}

TEST_F(AlertWindowTest, ColoursWithTheTopBitSetReachTheViewUnchanged) {
    mirror.Colour2 = -2147483643;  // a hand-edited value; the view decides how to show it
    window.Form_Load();
    EXPECT_EQ(view.backColour, 0x80000005u);
}

TEST_F(AlertWindowTest, ALongSoundIsNeverCutByTheTicksAndRestartsAfterItsEnd) {
    mirror.Sound = "103";
    window.Form_Load();
    window.Timer1_Timer();  // 0.5 s: starts
    ASSERT_EQ(Plays(), 1u);
    EXPECT_EQ(s.output->playing->dataSize, 126688u);
    for (int tick = 2; tick <= 6; ++tick) {
        window.Timer1_Timer();  // 1.0 .. 3.0 s: still playing, requests refused
    }
    EXPECT_EQ(Plays(), 1u);
    s.output->EndSound();   // about 3.37 s
    window.Timer1_Timer();  // 3.5 s: starts again
    EXPECT_EQ(Plays(), 2u);
    EXPECT_TRUE(s.output->IsPlaying());
}

TEST_F(AlertWindowTest, TheSoundSettingPicksTheSoundAndADamagedOneGivesWhoop) {
    const struct {
        const char* setting;
        std::size_t dataBytes;
    } cases[] = {{"101", 10119}, {"102", 8125}, {" 103", 126688}, {"104", 0},
                 {"abc", 10119}, {"", 10119},   {"999", 10119},   {"102.2", 8125}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting);
        mirror.Sound = c.setting;
        s.output->EndSound();
        window.Form_Load();
        window.Timer1_Timer();
        ASSERT_FALSE(s.output->plays.empty());
        EXPECT_EQ(s.output->plays.back()->dataSize, c.dataBytes);
    }
}

TEST_F(AlertWindowTest, TopmostIsSetAndTheTimerStartedAsTheLastLoadSteps) {
    window.Form_Load();
    ASSERT_EQ(view.calls.size(), 3u);
    EXPECT_EQ(view.calls[1], "MakeTopmost");
    EXPECT_EQ(view.calls[2], "EnableTimer1");
    EXPECT_EQ(view.timerInterval, 500);
}

TEST_F(AlertWindowTest, ClicksOnTheBackgroundAndTheBigTextsUnloadTheWindow) {
    window.Form_Load();
    window.Form_Click();
    window.lblQuorf_Click();
    window.lblAlert_Click();
    EXPECT_EQ(view.unloadRequests, 3);
}

TEST_F(AlertWindowTest, UnloadPutsBackTheOwnTextsAndSilencesTheSound) {
    sandbox.WriteBytes("qfd.ini", "[Settings]\r\nQFtext=Mine\r\nAtext=Own words\r\n");
    mirror.QFtext = "Network top";
    mirror.Atext = "Network bottom";
    mirror.SenderName = "Kim";
    mirror.Sound = "103";
    window.Form_Load();
    window.Timer1_Timer();
    ASSERT_TRUE(s.output->IsPlaying());

    window.Form_Unload();
    EXPECT_EQ(mirror.SenderName, "");
    EXPECT_EQ(mirror.QFtext, "Mine");
    EXPECT_EQ(mirror.Atext, "Own words");
    EXPECT_FALSE(s.output->IsPlaying());
    EXPECT_EQ(s.output->plays.back()->dataSize, 0u);  // the silent sound, played without noStop
}

TEST_F(AlertWindowTest, UnloadFallsBackToTheDefaultTextsWhereTheFileHasNone) {
    const struct {
        const char* file;  // nullptr: no settings file at all
        const char* top;
        const char* bottom;
    } cases[] = {
        {nullptr, "Quorf", "Alert"},
        {"[Settings]\r\nmyName=Al\r\n", "Quorf", "Alert"},
        {"[Commands]\r\nQFtext=Other\r\nAtext=Other\r\n", "Quorf", "Alert"},
        {"[Settings]\r\nQFtext=\r\nAtext=Only\r\n", "", "Only"},  // empty text is not missing
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file ? c.file : "(no file)");
        if (c.file) {
            sandbox.WriteBytes("qfd.ini", c.file);
        }
        mirror.QFtext = "x";
        mirror.Atext = "y";
        mirror.SenderName = "z";
        window.Form_Load();
        window.Form_Unload();
        EXPECT_EQ(mirror.QFtext, c.top);
        EXPECT_EQ(mirror.Atext, c.bottom);
        EXPECT_EQ(mirror.SenderName, "");
    }
}

TEST_F(AlertWindowTest, EveryOpeningIsAFreshLoad) {
    mirror.Small = 1;
    window.Form_Load();
    window.Timer1_Timer();
    EXPECT_FALSE(window.FlashState());
    window.Form_Unload();

    mirror.Small = 0;
    mirror.QFtext = "Again";
    window.Form_Load();
    EXPECT_TRUE(window.FlashState());
    EXPECT_DOUBLE_EQ(view.window.width, 15360);
    EXPECT_EQ(L(AlertLabel::lblQuorf).text, "Again");
    EXPECT_EQ(view.backColour, static_cast<std::uint32_t>(mirror.Colour2));
}

}  // namespace
}  // namespace qfd
