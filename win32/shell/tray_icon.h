#pragma once

#include <windows.h>

#include <shellapi.h>

#include <cstddef>
#include <string_view>

namespace qfd {

// Fills a fixed text field as the tray record has it: the text, a NUL, and the rest of the field
// blanks. A text too long for the field is cut so that the NUL still fits.
void FillTipField(char* field, std::size_t fieldSize, std::string_view text);

// The icon in the notification area, described by TrayIconData: the record in its first layout
// (NOTIFYICONDATAA_V1_SIZE bytes, which on 64-bit Windows is larger than the 32-bit 88 because
// of the wider handles), filled once, used to add the icon and to delete it.
class TrayIcon {
  public:
    void Fill(HWND owner, HICON icon, std::string_view tip);
    void Add();     // Shell_NotifyIconA with message 0; the result is not looked at
    void Remove();  // Shell_NotifyIconA with message 2
    // After the taskbar was restarted (its "TaskbarCreated" broadcast), an icon that was up is
    // added again.
    void AddAgainIfShown();

    const NOTIFYICONDATAA& TrayIconData() const { return data_; }

  private:
    NOTIFYICONDATAA data_{};
    bool shown_ = false;
};

}  // namespace qfd
