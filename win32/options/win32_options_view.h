#pragma once

#include <array>
#include <string>

#include "core/options/options_view.h"
#include "win32/options/options_form.h"

namespace qfd {

// frmOptions' view in Win32: renders what the OptionsDialog behaviour asks on the form's controls
// and opens its choosers and message boxes. Texts are settings bytes on this side and the system
// code page on the controls' side.
class Win32OptionsView : public OptionsView {
  public:
    explicit Win32OptionsView(OptionsForm& form) : form_(form) {}

    std::string Text(TextBox box) const override;
    void SetText(TextBox box, const std::string& bytes) override;
    void SetToolTip(TextBox box, const std::string& bytes) override;
    void PutCaretAtEnd(TextBox box) override;
    void SelectAllText(TextBox box) override;
    void SelectSound(int index) override;
    void SelectNetDelay(int index) override;
    void SetSmallTicked(bool ticked) override;
    bool SmallTicked() const override;
    void SetSwatchColour(Swatch swatch, int index, std::uint32_t colour) override;
    void SetPreviewFill(std::uint32_t colour) override;
    void SetPreviewTextColour(std::uint32_t colour) override;
    void SetPreviewCaption(const std::string& bytes) override;
    void SetPreviewButtonVisible(bool visible) override;
    void SetPreviewShapeVisible(bool visible) override;
    void SetPreviewLabelVisible(bool visible) override;
    void SetPreviewTimerEnabled(bool enabled) override;
    void ClearNetworkRows() override;
    void AddNetworkRow(const std::string& bytes) override;
    void SetNetworkRow(int index, const std::string& bytes) override;
    int SelectedNetworkRow() const override;
    std::uint32_t ChooseColour(std::uint32_t initial, const std::string& title) override;
    std::string ChooseFile(const FileChooserRequest& request) override;
    bool AskYesNo(const std::string& question) override;
    void Refuse(const std::string& text) override;
    void SetMainWindowIcon() override;
    void CloseWindow() override;

  private:
    // What the view last put into a box: the setting's bytes and how they showed. While the box
    // still shows that, its text is those bytes, so a value from another platform's installation
    // goes back unchanged.
    struct Shown {
        std::string bytes;
        std::string ansi;
    };

    static int IdOf(TextBox box);
    void Show(int id, bool visible);
    void FitListWidth();

    OptionsForm& form_;
    std::array<Shown, 5> shown_;
    int widestRow_ = 0;
};

}  // namespace qfd
