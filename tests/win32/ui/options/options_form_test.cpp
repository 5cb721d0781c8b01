#include "win32/options/options_form.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/sandbox.h"
#include "win32/common/gdi.h"
#include "win32/common/twips.h"
#include "win32/options/win32_options_view.h"

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

// The dialog is modal: the checks run from a thread timer inside its own message loop, then
// close it as Esc would.
std::function<void(HWND)>* pendingChecks = nullptr;

BOOL CALLBACK KeepIfOptionsDialog(HWND window, LPARAM found) {
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, "frmOptions") != 0) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The dialog this thread opened. FindWindow searches the whole desktop and may return the dialog of
// a test running at the same time in another process: the checks would run on that one and close
// it, and this one would stay open until the test timed out.
HWND OwnOptionsDialog() {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), KeepIfOptionsDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK RunChecks(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = OwnOptionsDialog();
    if (!dialog || !pendingChecks) return;
    KillTimer(nullptr, timer);
    (*pendingChecks)(dialog);
    pendingChecks = nullptr;
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

// Its own visibility: the dialog itself may not be on screen yet when the checks run.
bool Shown(HWND control) { return (GetWindowLongPtrA(control, GWL_STYLE) & WS_VISIBLE) != 0; }

std::string TextOf(HWND dialog, int id) {
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

class OptionsFormTest : public testing::Test {
  protected:
    void SetUp() override {
        mirror_.IniPath = sandbox_.IniPath();
        HWND probe = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                     nullptr, nullptr);
        if (!probe) GTEST_SKIP() << "no window station to create windows on";
        DestroyWindow(probe);
    }

    // Opens the dialog, runs the checks inside it, and returns once it has closed.
    void WhileOpen(std::function<void(HWND)> checks) {
        OptionsForm form(nullptr, nullptr);
        Win32OptionsView view(form);
        OptionsDialog dialog(mirror_, sounds_, view, [this] { ++menuRefreshes_; });
        form.SetPresenter(&dialog);
        pendingChecks = &checks;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, RunChecks);
        form.Run(nullptr);
        KillTimer(nullptr, timer);
        ASSERT_EQ(pendingChecks, nullptr) << "the dialog never came up";
    }

    test::Sandbox sandbox_;
    SettingsMirror mirror_;
    AlertSounds sounds_{std::make_unique<NoSounds>(), std::make_unique<SilentOutput>()};
    int menuRefreshes_ = 0;
};

TEST_F(OptionsFormTest, OpensAtItsDesignedSizeWithTheFocusOnClose) {
    WhileOpen([](HWND dialog) {
        RECT client{};
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, TwipsToPixels(7695, ScreenDpi()));
        EXPECT_EQ(client.bottom, TwipsToPixels(6720, ScreenDpi()));
        char title[64] = {};
        GetWindowTextA(dialog, title, sizeof title);
        EXPECT_STREQ(title, "Quorf Detect Options");
        EXPECT_EQ(GetFocus(), GetDlgItem(dialog, cmdClose));
        EXPECT_EQ(LOWORD(SendMessageA(dialog, DM_GETDEFID, 0, 0)), cmdClose);
        const auto style = GetWindowLongPtrA(dialog, GWL_STYLE);
        EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
        EXPECT_TRUE(style & WS_SYSMENU);
    });
    // Closing rebuilt the tray menu's network submenus.
    EXPECT_EQ(menuRefreshes_, 1);
}

TEST_F(OptionsFormTest, TabVisitsTheControlsInTheDesignedOrder) {
    WhileOpen([](HWND dialog) {
        // The selected button of each option group stands for its group.
        const int expected[] = {cmdClose,      lstNetwork,    txtDelay,     txtLatency,  chkSmall,
                                txtAlertText1, txtAlertText2, cmdPlaySound, cmdDefaults, txtMyName,
                                cmdRemove,     cmdBrowse,     alertSound1,  cmdColTxt1,  cmdCol1,
                                cmdCol0,       cmdColTxt0,    optDelay1,    cmdPreview,  cmdClose};
        HWND at = GetDlgItem(dialog, cmdClose);
        for (std::size_t i = 1; i < std::size(expected); ++i) {
            at = GetNextDlgTabItem(dialog, at, FALSE);
            EXPECT_EQ(GetDlgCtrlID(at), expected[i]) << "stop " << i;
        }
    });
}

TEST_F(OptionsFormTest, BoxesShowTheMirrorAndKeepTheirLimits) {
    mirror_.myName = "Zed";
    mirror_.Delay = 7;
    mirror_.NetDelay = 1;
    mirror_.Sound = "103";
    mirror_.Small = 1;
    WhileOpen([](HWND dialog) {
        EXPECT_EQ(TextOf(dialog, txtMyName), "Zed");
        EXPECT_EQ(TextOf(dialog, txtDelay), "7");
        EXPECT_EQ(TextOf(dialog, txtLatency), "100");
        EXPECT_EQ(TextOf(dialog, txtAlertText1), "Quorf");
        EXPECT_EQ(TextOf(dialog, txtAlertText2), "Alert");
        EXPECT_EQ(IsDlgButtonChecked(dialog, optDelay0), BST_CHECKED);
        EXPECT_EQ(IsDlgButtonChecked(dialog, optDelay1), BST_UNCHECKED);
        EXPECT_EQ(IsDlgButtonChecked(dialog, alertSound3), BST_CHECKED);
        EXPECT_EQ(IsDlgButtonChecked(dialog, alertSound1), BST_UNCHECKED);
        EXPECT_EQ(IsDlgButtonChecked(dialog, chkSmall), BST_CHECKED);
        EXPECT_EQ(SendDlgItemMessageA(dialog, txtMyName, EM_GETLIMITTEXT, 0, 0), 15);
        EXPECT_EQ(SendDlgItemMessageA(dialog, txtAlertText1, EM_GETLIMITTEXT, 0, 0), 22);
        EXPECT_EQ(SendDlgItemMessageA(dialog, txtAlertText2, EM_GETLIMITTEXT, 0, 0), 20);
        EXPECT_EQ(TextOf(dialog, lstNetwork), "");
        EXPECT_EQ(SendDlgItemMessageA(dialog, lstNetwork, LB_GETCOUNT, 0, 0), 1);  // "(none)"
    });
}

TEST_F(OptionsFormTest, TypingIsNormalisedAndStoredAtOnce) {
    WhileOpen([this](HWND dialog) {
        SetDlgItemTextA(dialog, txtDelay, "12abc");
        EXPECT_EQ(TextOf(dialog, txtDelay), "12");
        SetDlgItemTextA(dialog, txtLatency, "5");
        EXPECT_EQ(TextOf(dialog, txtLatency), "5");  // the box keeps what was typed
        SetDlgItemTextA(dialog, txtMyName, "Ann & Bob");
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(alertSound0, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, alertSound0)));
        const std::string file = sandbox_.ReadBytes("qfd.ini");
        EXPECT_NE(file.find("Delay= 12\r\n"), std::string::npos) << file;
        EXPECT_NE(file.find("Latency= 10\r\n"), std::string::npos) << file;
        EXPECT_NE(file.find("myName=Ann & Bob\r\n"), std::string::npos) << file;
        EXPECT_NE(file.find("Sound=104\r\n"), std::string::npos) << file;
    });
    EXPECT_EQ(mirror_.Delay, 12);
    EXPECT_EQ(mirror_.Latency, 10);
}

TEST_F(OptionsFormTest, PreviewButtonAndLabelTakeTurns) {
    WhileOpen([](HWND dialog) {
        HWND button = GetDlgItem(dialog, cmdPreview);
        HWND shape = GetDlgItem(dialog, shpPreview);
        HWND label = GetDlgItem(dialog, lblPreview);
        EXPECT_TRUE(Shown(button));
        EXPECT_FALSE(Shown(shape));
        EXPECT_FALSE(Shown(label));
        SendMessageA(button, BM_CLICK, 0, 0);
        EXPECT_FALSE(Shown(button));
        EXPECT_TRUE(Shown(shape));
        EXPECT_TRUE(Shown(label));
        // A click on the preview's caption stops it and brings the button back.
        SendMessageA(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        SendMessageA(label, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
        EXPECT_TRUE(Shown(button));
        EXPECT_FALSE(Shown(label));
    });
}

TEST_F(OptionsFormTest, DetectorRowsShowAsStored) {
    sandbox_.WriteBytes(
        "qfd.ini", "[Network Settings]\r\nOption 3=Z:\\a&b\\\r\nOption 7=\\\\host\\share\\\r\n");
    WhileOpen([](HWND dialog) {
        ASSERT_EQ(SendDlgItemMessageA(dialog, lstNetwork, LB_GETCOUNT, 0, 0), 2);
        char row[64] = {};
        SendDlgItemMessageA(dialog, lstNetwork, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(row));
        EXPECT_STREQ(row, "Z:\\a&b\\");
        SendDlgItemMessageA(dialog, lstNetwork, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(row));
        EXPECT_STREQ(row, "\\\\host\\share\\");
    });
}

}  // namespace
}  // namespace qfd
