#include "win32/alert/alert_form.h"

#include <gtest/gtest.h>

#include <memory>

namespace qfd {
namespace {

class NoSounds : public SoundLibrary {
  public:
    std::optional<std::vector<unsigned char>> LoadSound(std::int32_t) const override {
        return std::nullopt;
    }
};

class SilentOutput : public AudioOutput {
  public:
    bool Play(std::shared_ptr<const PcmImage>) override { return true; }
    bool IsPlaying() const override { return false; }
};

class AlertFormTest : public testing::Test {
  protected:
    void SetUp() override {
        mirror_.IniPath = "Z:\\nonexistent\\folder\\qfd.ini";
        mirror_.SenderName = "Bob";
    }

    std::unique_ptr<AlertForm> Open() {
        auto form = std::make_unique<AlertForm>(nullptr, mirror_, sounds_);
        if (!form->Handle()) return nullptr;
        form->Open();
        return form;
    }

    static RECT WindowRect(HWND window) {
        RECT r{};
        GetWindowRect(window, &r);
        return r;
    }

    static void Click(HWND window, int x, int y) {
        SendMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }

    SettingsMirror mirror_;
    AlertSounds sounds_{std::make_unique<NoSounds>(), std::make_unique<SilentOutput>()};
};

TEST_F(AlertFormTest, FullSizeCoversThePrimaryScreenTopmostAndOutOfTheTaskbar) {
    mirror_.Small = 0;
    const auto form = Open();
    if (!form) GTEST_SKIP() << "no window station to create windows on";
    const RECT r = WindowRect(form->Handle());
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
    const auto exStyle = GetWindowLongPtrA(form->Handle(), GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(GetWindowLongPtrA(form->Handle(), GWL_STYLE) & WS_CAPTION);
    char title[16] = {};
    GetWindowTextA(form->Handle(), title, sizeof title);
    EXPECT_STREQ(title, "Alert");
}

TEST_F(AlertFormTest, SmallAlertIsCentredAtItsDesignedSize) {
    mirror_.Small = 1;
    const auto form = Open();
    if (!form) GTEST_SKIP() << "no window station to create windows on";
    const RECT r = WindowRect(form->Handle());
    const int width = TwipsToPixels(4500, ScreenDpi());
    const int height = TwipsToPixels(3750, ScreenDpi());
    EXPECT_EQ(r.right - r.left, width);
    EXPECT_EQ(r.bottom - r.top, height);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    EXPECT_EQ(r.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
    // 20-point texts are smaller than the 72-point ones of the full-size alert.
    EXPECT_LT(form->LabelSize(AlertLabel::lblQuorf).height, 72 * 20);
}

TEST_F(AlertFormTest, ASenderLineClickStaysAndABackgroundClickUnloads) {
    mirror_.Small = 1;
    mirror_.QFtext = "Network";
    const auto form = Open();
    if (!form) GTEST_SKIP() << "no window station to create windows on";
    RECT client{};
    GetClientRect(form->Handle(), &client);
    // The sender line stands centred, 120 twips below the top edge.
    const int senderY = TwipsToPixels(120, ScreenDpi()) + 2;
    Click(form->Handle(), client.right / 2, senderY);
    EXPECT_FALSE(form->Unloaded());
    EXPECT_EQ(mirror_.SenderName, "Bob");

    Click(form->Handle(), 1, client.bottom - 2);
    EXPECT_TRUE(form->Unloaded());
    // The unload put this installation's own texts back (the defaults: there is no file).
    EXPECT_EQ(mirror_.SenderName, "");
    EXPECT_EQ(mirror_.QFtext, "Quorf");
    EXPECT_FALSE(IsWindowVisible(form->Handle()));
}

TEST_F(AlertFormTest, AClickNeedsPressAndReleaseOnTheSameTarget) {
    mirror_.Small = 1;
    const auto form = Open();
    if (!form) GTEST_SKIP() << "no window station to create windows on";
    RECT client{};
    GetClientRect(form->Handle(), &client);
    const int senderY = TwipsToPixels(120, ScreenDpi()) + 2;
    // Pressed on the sender line, released on the background: no click at all.
    SendMessageA(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.right / 2, senderY));
    SendMessageA(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(1, client.bottom - 2));
    EXPECT_FALSE(form->Unloaded());
}

TEST_F(AlertFormTest, FlashTicksAlternateAndStopAtUnload) {
    mirror_.Small = 1;
    const auto form = Open();
    if (!form) GTEST_SKIP() << "no window station to create windows on";
    // Opened in the second pair; each tick of the flash timer flips to the other.
    EXPECT_TRUE(form->FlashState());
    SendMessageA(form->Handle(), WM_TIMER, 1, 0);
    EXPECT_FALSE(form->FlashState());
    SendMessageA(form->Handle(), WM_TIMER, 1, 0);
    EXPECT_TRUE(form->FlashState());
    // Alt+F4 unloads it like a click.
    SendMessageA(form->Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(form->Unloaded());
    EXPECT_EQ(mirror_.SenderName, "");
    // A tick already queued when the window unloaded changes nothing.
    SendMessageA(form->Handle(), WM_TIMER, 1, 0);
    EXPECT_TRUE(form->FlashState());
}

}  // namespace
}  // namespace qfd
