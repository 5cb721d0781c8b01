#include "win32/shell/splash_form.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/shell/about_texts.h"
#include "win32/common/gdi.h"

namespace qfd {
namespace {

// Records what the behaviour asks of the window; the real form delivers the events.
class RecordingSplashView : public SplashView {
  public:
    std::vector<std::string> calls;

    void SetVersionText(const std::string&) override {}
    void SetLinkLook(LinkLabel label, bool hovered) override {
        calls.push_back(std::string(label == LinkLabel::Website ? "web" : "mail") +
                        (hovered ? " hot" : " rest"));
    }
    void ShowWindow() override { calls.push_back("show"); }
    void HideWindow() override { calls.push_back("hide"); }
    void RestoreWindow() override { calls.push_back("restore"); }
    void BringToForeground() override { calls.push_back("foreground"); }
    void BringModalToFront() override { calls.push_back("modal to front"); }
    void SetTimerInterval(int) override {}
    void SetTimerEnabled(bool) override {}
    void SetReceiptTimerEnabled(bool) override {}
    void ShowAlertModal() override { calls.push_back("alert"); }
    void ShowOptionsModal() override { calls.push_back("options"); }
    MessageAnswer ShowMessage(const MessageRequest&) override { return MessageAnswer::No; }
    void OpenLink(const std::string& target) override { calls.push_back("open " + target); }
    void AddTrayIcon() override {}
    void RemoveTrayIcon() override {}
    void ShowNetworkMenus(const NetworkMenus&) override {}
    void PopupMenu() override { calls.push_back("popup"); }
    void ShowTrayNotice(const TrayNotice&) override {}
    void EndProgram() override {}

    bool Called(const std::string& call) const {
        for (const std::string& c : calls) {
            if (c == call) return true;
        }
        return false;
    }
};

class SplashFormTest : public testing::Test {
  protected:
    void SetUp() override {
        form_ = std::make_unique<SplashForm>();
        if (!form_->Handle()) GTEST_SKIP() << "no window station to create windows on";
        form_->SetPresenter(&presenter_);
        surface_ = GetWindow(form_->Handle(), GW_CHILD);
        ASSERT_NE(surface_, nullptr);
    }

    POINT Inside(SplashPart part) const {
        const PixelRect r = layout_.Rect(part);
        return {r.left + r.width / 2, r.top + r.height / 2};
    }

    void Send(UINT message, WPARAM wParam, POINT at) {
        SendMessageA(surface_, message, wParam, MAKELPARAM(at.x, at.y));
    }
    void Click(POINT down, POINT up) {
        Send(WM_LBUTTONDOWN, MK_LBUTTON, down);
        Send(WM_LBUTTONUP, 0, up);
    }
    void Click(POINT at) { Click(at, at); }

    SettingsMirror mirror_;
    RecordingSplashView view_;
    SplashWindow presenter_{mirror_, view_, {}};
    SplashLayout layout_{ScreenDpi()};
    std::unique_ptr<SplashForm> form_;
    HWND surface_ = nullptr;
};

TEST_F(SplashFormTest, WindowIsBorderlessAndOutOfTheTaskbar) {
    char className[32] = {};
    GetClassNameA(form_->Handle(), className, sizeof className);
    EXPECT_STREQ(className, "frmSplash");
    const auto style = GetWindowLongPtrA(form_->Handle(), GWL_STYLE);
    const auto exStyle = GetWindowLongPtrA(form_->Handle(), GWL_EXSTYLE);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & WS_CAPTION);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    RECT client{};
    GetClientRect(form_->Handle(), &client);
    EXPECT_EQ(client.right, layout_.Client().width);
    EXPECT_EQ(client.bottom, layout_.Client().height);
}

TEST_F(SplashFormTest, ClicksOnThePanelHideTheWindowAndLinksOpen) {
    for (const SplashPart part : {SplashPart::Frame1, SplashPart::imgLogo, SplashPart::lblCopyright,
                                  SplashPart::lblCompany, SplashPart::lblWarning}) {
        view_.calls.clear();
        Click(part == SplashPart::Frame1 ? POINT{layout_.Panel().left + 2, layout_.Panel().top + 2}
                                         : Inside(part));
        EXPECT_TRUE(view_.Called("hide")) << static_cast<int>(part);
    }
    view_.calls.clear();
    Click(Inside(SplashPart::lblWebsite));
    Click(Inside(SplashPart::lblEmail));
    EXPECT_FALSE(view_.Called("hide"));
    EXPECT_TRUE(view_.Called("open " + std::string(about::kWebAddress)));
    EXPECT_TRUE(view_.Called("open mailto:" + std::string(about::kEmailAddress)));
}

TEST_F(SplashFormTest, MarginAndDraggedClicksDoNothing) {
    Click({2, 2});
    // Pressed on the logo, released on the web link: no click on either.
    Click(Inside(SplashPart::imgLogo), Inside(SplashPart::lblWebsite));
    EXPECT_TRUE(view_.calls.empty());
}

TEST_F(SplashFormTest, CharacterKeysHideTheWindow) {
    SendMessageA(surface_, WM_CHAR, VK_ESCAPE, 0);
    EXPECT_TRUE(view_.Called("hide"));
}

TEST_F(SplashFormTest, HoverLightsOneLinkAtATime) {
    Send(WM_MOUSEMOVE, 0, Inside(SplashPart::lblWebsite));
    Send(WM_MOUSEMOVE, 0, Inside(SplashPart::lblEmail));
    const std::vector<std::string> expected{"web rest", "mail rest", "web hot",
                                            "web rest", "mail rest", "mail hot"};
    EXPECT_EQ(view_.calls, expected);
    view_.calls.clear();
    Send(WM_MOUSEMOVE, 0, Inside(SplashPart::imgLogo));
    EXPECT_TRUE(view_.calls.empty());  // the logo changes nothing
    Send(WM_MOUSEMOVE, 0, {2, 2});
    EXPECT_EQ(view_.calls, (std::vector<std::string>{"web rest", "mail rest"}));
}

TEST_F(SplashFormTest, RealPointerMovesAreNeverTrayMessages) {
    // Wherever the pointer goes over the window, with whatever buttons held (MK_LBUTTON is 1,
    // the tray icon's id), no move shows the window or opens the menu.
    const PixelRect client = layout_.Client();
    for (int y = 0; y < client.height; y += 7) {
        for (int x = 0; x < client.width; x += 5) {
            Send(WM_MOUSEMOVE, MK_LBUTTON, {x, y});
            Send(WM_MOUSEMOVE, 0, {x, y});
        }
    }
    for (int x = 512; x <= 517; ++x) Send(WM_MOUSEMOVE, MK_LBUTTON, {x, 0});
    EXPECT_FALSE(view_.Called("popup"));
    EXPECT_FALSE(view_.Called("show"));
}

}  // namespace
}  // namespace qfd
