#pragma once

#include <QLineEdit>
#include <QObject>
#include <QString>
#include <map>
#include <string>

#include "core/options/options_dialog.h"
#include "core/options/options_view.h"
#include "qt/options/options_form.h"

namespace qfd {

// frmOptions' view in Qt: renders what the OptionsDialog behaviour says on an OptionsForm and
// hands the user's actions to it. Changes made from here never come back as events.
class QtOptionsView : public QObject, public OptionsView {
  public:
    explicit QtOptionsView(OptionsForm& form);

    void SetPresenter(OptionsDialog* presenter) { presenter_ = presenter; }

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

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // A text box with what was last set from the settings, so that text shown unchanged goes
    // back as the very bytes it came from, and the most bytes it may hold in the file.
    struct Box {
        QLineEdit* edit = nullptr;
        std::size_t byteLimit = 0;  // 0: no limit
        QString shown;
        std::string shownBytes;
        QString accepted;  // the text before the user's last change
        bool setting = false;
    };

    void WireBox(TextBox box, QLineEdit* edit);
    void UserChangedText(TextBox box);
    void RaiseChange(TextBox box);
    Box& BoxOf(TextBox b) { return boxes_.at(b); }
    const Box& BoxOf(TextBox b) const { return boxes_.at(b); }

    OptionsForm& form_;
    OptionsDialog* presenter_ = nullptr;
    std::map<TextBox, Box> boxes_;
};

}  // namespace qfd
