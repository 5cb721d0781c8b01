#include "win32/options/win32_options_view.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "core/shell/shell_texts.h"
#include "win32/common/ansi_text.h"
#include "win32/common/message_box.h"
#include "win32/options/choosers.h"
#include "win32/options/shape_control.h"

namespace qfd {
namespace {

std::string WindowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    if (length <= 0) return {};
    std::vector<char> text(static_cast<std::size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(window, text.data(), length + 1);
    return std::string(text.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

int RowWidth(HWND list, const std::string& row) {
    HDC dc = GetDC(list);
    const HGDIOBJ previous =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0)));
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc, row.data(),
                          static_cast<int>(std::min<std::size_t>(row.size(), INT_MAX)), &size);
    SelectObject(dc, previous);
    ReleaseDC(list, dc);
    return size.cx;
}

}  // namespace

int Win32OptionsView::IdOf(TextBox box) {
    switch (box) {
        case TextBox::txtMyName:
            return txtMyName;
        case TextBox::txtDelay:
            return txtDelay;
        case TextBox::txtLatency:
            return txtLatency;
        case TextBox::txtAlertText1:
            return txtAlertText1;
        case TextBox::txtAlertText2:
            break;
    }
    return txtAlertText2;
}

std::string Win32OptionsView::Text(TextBox box) const {
    const Shown& shown = shown_[static_cast<std::size_t>(box)];
    const std::string text = WindowText(form_.Control(IdOf(box)));
    // What the user typed is in the system code page, as this installation stores it.
    return text == shown.ansi ? shown.bytes : text;
}

void Win32OptionsView::SetText(TextBox box, const std::string& bytes) {
    Shown& shown = shown_[static_cast<std::size_t>(box)];
    shown.bytes = bytes;
    shown.ansi = SettingToAnsi(bytes);
    form_.SetTextQuietly(IdOf(box), shown.ansi);
    // The box may have cut the text at its limit; that is what it shows now.
    shown.ansi = WindowText(form_.Control(IdOf(box)));
    if (shown.ansi != SettingToAnsi(bytes)) shown.bytes = shown.ansi;
}

void Win32OptionsView::SetToolTip(TextBox box, const std::string& bytes) {
    form_.SetToolTip(IdOf(box), SettingToAnsi(bytes));
}

void Win32OptionsView::PutCaretAtEnd(TextBox box) {
    HWND edit = form_.Control(IdOf(box));
    const int length = GetWindowTextLengthA(edit);
    SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(length), length);
}

void Win32OptionsView::SelectAllText(TextBox box) {
    HWND edit = form_.Control(IdOf(box));
    SendMessageA(edit, EM_SETSEL, 0, -1);
    // A click that brought the focus puts the caret where it landed; select again after it.
    if (GetKeyState(VK_LBUTTON) < 0) PostMessageA(edit, EM_SETSEL, 0, -1);
}

void Win32OptionsView::SelectSound(int index) {
    CheckRadioButton(form_.Handle(), alertSound0, alertSound3, alertSound0 + index);
}

void Win32OptionsView::SelectNetDelay(int index) {
    CheckRadioButton(form_.Handle(), optDelay0, optDelay1, optDelay0 + index);
}

void Win32OptionsView::SetSmallTicked(bool ticked) {
    CheckDlgButton(form_.Handle(), chkSmall, ticked ? BST_CHECKED : BST_UNCHECKED);
}

bool Win32OptionsView::SmallTicked() const {
    return IsDlgButtonChecked(form_.Handle(), chkSmall) == BST_CHECKED;
}

void Win32OptionsView::SetSwatchColour(Swatch swatch, int index, std::uint32_t colour) {
    const int first = swatch == Swatch::shpCol ? shpCol0 : shpColTxt0;
    SetShapeFill(form_.Control(first + index), colour);
}

void Win32OptionsView::SetPreviewFill(std::uint32_t colour) {
    SetShapeFill(form_.Control(shpPreview), colour);
    // The label is transparent: the rectangle's colour shows behind its letters.
    SetShapeFill(form_.Control(lblPreview), colour);
}

void Win32OptionsView::SetPreviewTextColour(std::uint32_t colour) {
    SetShapeTextColour(form_.Control(lblPreview), colour);
}

void Win32OptionsView::SetPreviewCaption(const std::string& bytes) {
    SetShapeCaption(form_.Control(lblPreview), PlainAnsiLine(bytes));
}

void Win32OptionsView::Show(int id, bool visible) {
    ShowWindow(form_.Control(id), visible ? SW_SHOWNA : SW_HIDE);
}

void Win32OptionsView::SetPreviewButtonVisible(bool visible) { Show(cmdPreview, visible); }

void Win32OptionsView::SetPreviewShapeVisible(bool visible) { Show(shpPreview, visible); }

void Win32OptionsView::SetPreviewLabelVisible(bool visible) { Show(lblPreview, visible); }

void Win32OptionsView::SetPreviewTimerEnabled(bool enabled) {
    if (enabled)
        SetTimer(form_.Handle(), OptionsForm::kPreviewTimerId, 500, nullptr);
    else
        KillTimer(form_.Handle(), OptionsForm::kPreviewTimerId);
}

void Win32OptionsView::ClearNetworkRows() {
    SendMessageA(form_.Control(lstNetwork), LB_RESETCONTENT, 0, 0);
    widestRow_ = 0;
    FitListWidth();
}

void Win32OptionsView::AddNetworkRow(const std::string& bytes) {
    HWND list = form_.Control(lstNetwork);
    const std::string row = PlainAnsiLine(bytes);
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(row.c_str()));
    widestRow_ = std::max(widestRow_, RowWidth(list, row));
    FitListWidth();
}

void Win32OptionsView::SetNetworkRow(int index, const std::string& bytes) {
    HWND list = form_.Control(lstNetwork);
    const std::string row = PlainAnsiLine(bytes);
    const auto at = static_cast<WPARAM>(index);
    const LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
    SendMessageA(list, LB_DELETESTRING, at, 0);
    SendMessageA(list, LB_INSERTSTRING, at, reinterpret_cast<LPARAM>(row.c_str()));
    if (selected == index) SendMessageA(list, LB_SETCURSEL, at, 0);
    widestRow_ = std::max(widestRow_, RowWidth(list, row));
    FitListWidth();
}

void Win32OptionsView::FitListWidth() {
    // Long paths can be scrolled into view sideways.
    SendMessageA(form_.Control(lstNetwork), LB_SETHORIZONTALEXTENT,
                 static_cast<WPARAM>(widestRow_ + 8), 0);
}

int Win32OptionsView::SelectedNetworkRow() const {
    const LRESULT selected = SendMessageA(form_.Control(lstNetwork), LB_GETCURSEL, 0, 0);
    return selected == LB_ERR ? -1 : static_cast<int>(selected);
}

std::uint32_t Win32OptionsView::ChooseColour(std::uint32_t initial, const std::string& title) {
    return ShowColourChooser(form_.Handle(), initial, title);
}

std::string Win32OptionsView::ChooseFile(const FileChooserRequest& request) {
    return ShowFileChooser(form_.Handle(), request);
}

bool Win32OptionsView::AskYesNo(const std::string& question) {
    return ShowMessageBox(form_.Handle(), {question, std::string(kAppTitle), MessageIcon::Question,
                                           MessageButtons::YesNo}) == MessageAnswer::Yes;
}

void Win32OptionsView::Refuse(const std::string& text) {
    ShowMessageBox(form_.Handle(),
                   {text, std::string(kAppTitle), MessageIcon::Exclamation, MessageButtons::Ok});
}

void Win32OptionsView::SetMainWindowIcon() {
    SendMessageA(form_.Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(form_.Icon()));
    SendMessageA(form_.Handle(), WM_SETICON, ICON_SMALL,
                 reinterpret_cast<LPARAM>(form_.SmallIcon()));
}

void Win32OptionsView::CloseWindow() { form_.Close(); }

}  // namespace qfd
