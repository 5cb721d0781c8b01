#include "win32/shell/tray_icon.h"

#include <cstring>

#include "win32/shell/tray_callback.h"

namespace qfd {
namespace {

// How long a balloon stays, where the shell lets the program say.
constexpr UINT kNoticeShownMs = 10000;

}  // namespace

void FillTipField(char* field, std::size_t fieldSize, std::string_view text) {
    if (fieldSize == 0) return;
    const std::size_t length = text.size() < fieldSize ? text.size() : fieldSize - 1;
    std::memset(field, ' ', fieldSize);
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

void TrayIcon::Fill(HWND owner, HICON icon, std::string_view tip) {
    data_ = NOTIFYICONDATAA{};
    data_.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data_.hWnd = owner;
    data_.uID = kTrayIconId;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = kTrayCallbackMessage;
    data_.hIcon = icon;
    FillTipField(data_.szTip, 64, tip);
}

void TrayIcon::Add() {
    Shell_NotifyIconA(NIM_ADD, &data_);
    shown_ = true;
}

void TrayIcon::Remove() {
    Shell_NotifyIconA(NIM_DELETE, &data_);
    shown_ = false;
}

void TrayIcon::AddAgainIfShown() {
    if (shown_) Shell_NotifyIconA(NIM_ADD, &data_);
}

void TrayIcon::ShowNotice(std::string_view title, std::string_view text) {
    if (!shown_) return;
    notice_ = NOTIFYICONDATAA{};
    notice_.cbSize = NOTIFYICONDATAA_V2_SIZE;
    notice_.hWnd = data_.hWnd;
    notice_.uID = data_.uID;
    notice_.uFlags = NIF_INFO;
    FillTipField(notice_.szInfo, sizeof notice_.szInfo, text);
    FillTipField(notice_.szInfoTitle, sizeof notice_.szInfoTitle, title);
    notice_.uTimeout = kNoticeShownMs;
    notice_.dwInfoFlags = NIIF_INFO;
    Shell_NotifyIconA(NIM_MODIFY, &notice_);
}

}  // namespace qfd
