#include "win32/shell/tray_icon.h"

#include <cstring>

#include "win32/shell/tray_callback.h"

namespace qfd {

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

}  // namespace qfd
