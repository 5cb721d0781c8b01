#include "win32/options/choosers.h"

#include <commdlg.h>

#include <array>
#include <vector>

#include "win32/common/ansi_text.h"
#include "win32/common/twips.h"
#include "win32/options/file_filter.h"

namespace qfd {
namespace {

// The chooser has no title of its own to set: its hook sets the window's text as it opens.
UINT_PTR CALLBACK TitleHook(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        const auto* choose = reinterpret_cast<const CHOOSECOLORA*>(lParam);
        if (choose && choose->lCustData)
            SetWindowTextA(dialog, reinterpret_cast<const char*>(choose->lCustData));
    }
    return 0;  // the dialog's own handling goes on
}

}  // namespace

std::uint32_t ShowColourChooser(HWND owner, std::uint32_t initial, const std::string& title) {
    // The custom colours a user mixes stay for the rest of the run.
    static std::array<COLORREF, 16> customColours = [] {
        std::array<COLORREF, 16> colours{};
        colours.fill(RGB(255, 255, 255));
        return colours;
    }();
    const std::string ansiTitle = Utf8ToAnsi(title);
    CHOOSECOLORA choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = owner;
    choose.rgbResult = ColourRef(initial);
    choose.lpCustColors = customColours.data();
    choose.Flags = CC_RGBINIT | CC_ENABLEHOOK;
    choose.lCustData = reinterpret_cast<LPARAM>(ansiTitle.c_str());
    choose.lpfnHook = TitleHook;
    if (!ChooseColorA(&choose)) return initial;
    return choose.rgbResult;
}

std::string ShowFileChooser(HWND owner, const FileChooserRequest& request) {
    const std::string filter = OpenFileFilter(request);
    const std::string title = Utf8ToAnsi(request.title);
    // Room for a long path; the dialog fails rather than cut a longer one.
    std::vector<char> file(32768, '\0');
    OPENFILENAMEA open{};
    open.lStructSize = sizeof open;
    open.hwndOwner = owner;
    open.lpstrFilter = filter.c_str();
    open.nFilterIndex = 1;
    open.lpstrFile = file.data();
    open.nMaxFile = static_cast<DWORD>(file.size());
    open.lpstrTitle = title.c_str();
    open.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    if (!GetOpenFileNameA(&open)) return {};
    return std::string(file.data());
}

}  // namespace qfd
