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
    // A balloon from the icon while it is shown: NIM_MODIFY with NIF_INFO, in the record's second
    // layout (NOTIFYICONDATAA_V2_SIZE), the first that carries a balloon. Texts in the ANSI code
    // page, cut to their fields.
    void ShowNotice(std::string_view title, std::string_view text);

    const NOTIFYICONDATAA& TrayIconData() const { return data_; }
    const NOTIFYICONDATAA& NoticeData() const { return notice_; }

  private:
    NOTIFYICONDATAA data_{};
    NOTIFYICONDATAA notice_{};  // the last balloon handed to the shell
    bool shown_ = false;
};

}  // namespace qfd
