#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qfd {

// The text boxes of frmOptions.
enum class TextBox { txtMyName, txtDelay, txtLatency, txtAlertText1, txtAlertText2 };

// The colour swatches: shpCol(0..1) and shpColTxt(0..1).
enum class Swatch { shpCol, shpColTxt };

// The file-open dialog as "&Browse..." sets it up: a title, one filter entry, and the rules that
// the chosen file's folder must exist while the file itself need not.
struct FileChooserRequest {
    std::string title;
    std::string filterDescription;          // "Quorf Detector EXE"
    std::vector<std::string> filePatterns;  // the program file's names
};

// What frmOptions can do on screen. Texts of the boxes, tool tips, captions and list rows are
// settings bytes; the view converts them for display and back. Setting a control from here
// raises none of the presenter's handlers: the presenter runs the handling itself where the
// window would. Modal calls return once the dialog or box has closed.
class OptionsView {
  public:
    virtual ~OptionsView() = default;

    virtual std::string Text(TextBox box) const = 0;
    virtual void SetText(TextBox box, const std::string& bytes) = 0;
    virtual void SetToolTip(TextBox box, const std::string& bytes) = 0;
    virtual void PutCaretAtEnd(TextBox box) = 0;
    virtual void SelectAllText(TextBox box) = 0;

    virtual void SelectSound(int index) = 0;     // alertSound(index)
    virtual void SelectNetDelay(int index) = 0;  // optDelay(index)
    virtual void SetSmallTicked(bool ticked) = 0;
    virtual bool SmallTicked() const = 0;

    virtual void SetSwatchColour(Swatch swatch, int index, std::uint32_t colour) = 0;
    virtual void SetPreviewFill(std::uint32_t colour) = 0;
    virtual void SetPreviewTextColour(std::uint32_t colour) = 0;
    virtual void SetPreviewCaption(const std::string& bytes) = 0;
    virtual void SetPreviewButtonVisible(bool visible) = 0;  // cmdPreview
    virtual void SetPreviewShapeVisible(bool visible) = 0;   // shpPreview
    virtual void SetPreviewLabelVisible(bool visible) = 0;   // lblPreview
    virtual void SetPreviewTimerEnabled(bool enabled) = 0;   // Timer1, 500 ms

    virtual void ClearNetworkRows() = 0;
    virtual void AddNetworkRow(const std::string& bytes) = 0;
    virtual void SetNetworkRow(int index, const std::string& bytes) = 0;
    virtual int SelectedNetworkRow() const = 0;  // -1 when no row is selected

    // The colour chooser, opened on initial; returns the colour chosen, or initial on a cancel.
    virtual std::uint32_t ChooseColour(std::uint32_t initial, const std::string& title) = 0;
    // The full name of the chosen file as bytes, empty on a cancel.
    virtual std::string ChooseFile(const FileChooserRequest& request) = 0;
    // Message boxes with the application title; texts are UTF-8.
    virtual bool AskYesNo(const std::string& question) = 0;  // question icon; true for Yes
    virtual void Refuse(const std::string& text) = 0;        // exclamation icon, OK

    virtual void SetMainWindowIcon() = 0;
    virtual void CloseWindow() = 0;  // unloads the window; Form_Unload follows
};

}  // namespace qfd
