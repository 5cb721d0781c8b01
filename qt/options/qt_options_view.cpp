#include "qt/options/qt_options_view.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QTextDocument>
#include <QTimer>

#include "core/options/byte_limit.h"
#include "core/options/options_form_design.h"
#include "core/settings/text_encoding.h"
#include "core/shell/shell_texts.h"
#include "qt/options/choosers.h"
#include "qt/shell/message_box.h"
#include "qt/shell/program_icon.h"
#include "qt/shell/twips.h"

namespace qfd {
namespace {

std::string Utf8(const QString& text) { return text.toUtf8().toStdString(); }

QString FromUtf8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QString FromBytes(const std::string& bytes) { return FromUtf8(FileBytesToUtf8(bytes)); }

std::string ToBytes(const QString& text) { return Utf8ToFileBytes(Utf8(text)); }

// Tool tips would render markup; a text is shown as typed.
QString PlainToolTip(const QString& text) {
    if (text.isEmpty() || !Qt::mightBeRichText(text)) return text;
    return "<p style='white-space:pre'>" + text.toHtmlEscaped() + "</p>";
}

// The core counts in UTF-8 bytes; the line edit's caret counts UTF-16 units.
QString FitTypedText(const QString& before, const QString& after, std::size_t limit, int& caret) {
    const std::size_t caretBytes = Utf8(after.left(caret)).size();
    const FittedEdit fitted = FitEdit(Utf8(before), Utf8(after), limit, caretBytes);
    const QString text = FromUtf8(fitted.text);
    caret =
        static_cast<int>(FromUtf8(std::string_view(fitted.text).substr(0, fitted.caret)).size());
    return text;
}

}  // namespace

QtOptionsView::QtOptionsView(OptionsForm& form) : form_(form) {
    WireBox(TextBox::txtMyName, form.txtMyName);
    WireBox(TextBox::txtDelay, form.txtDelay);
    WireBox(TextBox::txtLatency, form.txtLatency);
    WireBox(TextBox::txtAlertText1, form.txtAlertText1);
    WireBox(TextBox::txtAlertText2, form.txtAlertText2);

    const auto click = [this](QAbstractButton* button, void (OptionsDialog::*handler)()) {
        connect(button, &QAbstractButton::clicked, this, [this, handler] {
            if (presenter_) (presenter_->*handler)();
        });
    };
    click(form.chkSmall, &OptionsDialog::chkSmall_Click);
    click(form.cmdPlaySound, &OptionsDialog::cmdPlaySound_Click);
    click(form.cmdDefaults, &OptionsDialog::cmdDefaults_Click);
    click(form.cmdClose, &OptionsDialog::cmdClose_Click);
    click(form.cmdPreview, &OptionsDialog::cmdPreview_Click);
    click(form.cmdBrowse, &OptionsDialog::cmdBrowse_Click);
    click(form.cmdRemove, &OptionsDialog::cmdRemove_Click);
    const auto arrayClick = [this](QAbstractButton* button, std::int16_t index,
                                   void (OptionsDialog::*handler)(std::int16_t)) {
        connect(button, &QAbstractButton::clicked, this, [this, handler, index] {
            if (presenter_) (presenter_->*handler)(index);
        });
    };
    for (std::int16_t i = 0; i < 2; ++i) {
        arrayClick(form.optDelay[i], i, &OptionsDialog::optDelay_Click);
        arrayClick(form.cmdCol[i], i, &OptionsDialog::cmdCol_Click);
        arrayClick(form.cmdColTxt[i], i, &OptionsDialog::cmdColTxt_Click);
    }
    for (std::int16_t i = 0; i < 4; ++i)
        arrayClick(form.alertSound[i], i, &OptionsDialog::alertSound_Click);
    connect(form.Timer1, &QTimer::timeout, this, [this] {
        if (presenter_) presenter_->Timer1_Timer();
    });
    form.lblPreview->installEventFilter(this);
    connect(&form, &QDialog::finished, this, [this] {
        if (presenter_) presenter_->Form_Unload();
    });
}

void QtOptionsView::WireBox(TextBox b, QLineEdit* edit) {
    Box& entry = boxes_[b];
    entry.edit = edit;
    entry.byteLimit = design::OptionsByteLimit(edit->objectName().toStdString());
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textChanged, this, [this, b] {
        if (!BoxOf(b).setting) UserChangedText(b);
    });
}

void QtOptionsView::UserChangedText(TextBox b) {
    Box& entry = BoxOf(b);
    int caret = entry.edit->cursorPosition();
    const QString fitted = FitTypedText(entry.accepted, entry.edit->text(), entry.byteLimit, caret);
    if (fitted != entry.edit->text()) {
        entry.setting = true;
        entry.edit->setText(fitted);
        entry.edit->setCursorPosition(caret);
        entry.setting = false;
    }
    entry.accepted = fitted;
    RaiseChange(b);
}

void QtOptionsView::RaiseChange(TextBox b) {
    if (!presenter_) return;
    switch (b) {
        case TextBox::txtMyName:
            presenter_->txtMyName_Change();
            break;
        case TextBox::txtDelay:
            presenter_->txtDelay_Change();
            break;
        case TextBox::txtLatency:
            presenter_->txtLatency_Change();
            break;
        case TextBox::txtAlertText1:
            presenter_->txtAlertText1_Change();
            break;
        case TextBox::txtAlertText2:
            presenter_->txtAlertText2_Change();
            break;
    }
}

bool QtOptionsView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == form_.lblPreview && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            form_.lblPreview->rect().contains(mouse->position().toPoint()) && presenter_)
            presenter_->lblPreview_Click();
        return false;
    }
    if (event->type() == QEvent::FocusIn && presenter_) {
        if (watched == form_.txtMyName) presenter_->txtMyName_GotFocus();
        if (watched == form_.txtAlertText1) presenter_->txtAlertText1_GotFocus();
        if (watched == form_.txtAlertText2) presenter_->txtAlertText2_GotFocus();
    }
    return false;
}

std::string QtOptionsView::Text(TextBox b) const {
    const Box& entry = BoxOf(b);
    const QString text = entry.edit->text();
    return text == entry.shown ? entry.shownBytes : ToBytes(text);
}

void QtOptionsView::SetText(TextBox b, const std::string& bytes) {
    Box& entry = BoxOf(b);
    entry.shownBytes = bytes;
    entry.shown = FromBytes(bytes);
    entry.setting = true;
    entry.edit->setText(entry.shown);
    entry.setting = false;
    entry.accepted = entry.shown;
}

void QtOptionsView::SetToolTip(TextBox b, const std::string& bytes) {
    BoxOf(b).edit->setToolTip(PlainToolTip(FromBytes(bytes)));
}

void QtOptionsView::PutCaretAtEnd(TextBox b) {
    QLineEdit* edit = BoxOf(b).edit;
    edit->setCursorPosition(static_cast<int>(edit->text().size()));
}

void QtOptionsView::SelectAllText(TextBox b) {
    QLineEdit* edit = BoxOf(b).edit;
    edit->selectAll();
    // A click that brought the focus would put the caret where it landed; select again after it.
    if (QApplication::mouseButtons() != Qt::NoButton)
        QTimer::singleShot(0, edit, [edit] { edit->selectAll(); });
}

void QtOptionsView::SelectSound(int index) {
    form_.alertSound.at(static_cast<std::size_t>(index))->setChecked(true);
}

void QtOptionsView::SelectNetDelay(int index) {
    form_.optDelay.at(static_cast<std::size_t>(index))->setChecked(true);
}

void QtOptionsView::SetSmallTicked(bool ticked) { form_.chkSmall->setChecked(ticked); }

bool QtOptionsView::SmallTicked() const { return form_.chkSmall->isChecked(); }

void QtOptionsView::SetSwatchColour(Swatch swatch, int index, std::uint32_t colour) {
    auto& shapes = swatch == Swatch::shpCol ? form_.shpCol : form_.shpColTxt;
    shapes.at(static_cast<std::size_t>(index))->SetFill(colour);
}

void QtOptionsView::SetPreviewFill(std::uint32_t colour) { form_.shpPreview->SetFill(colour); }

void QtOptionsView::SetPreviewTextColour(std::uint32_t colour) {
    QPalette palette = form_.lblPreview->palette();
    palette.setColor(QPalette::WindowText, FromColourValue(colour));
    form_.lblPreview->setPalette(palette);
}

void QtOptionsView::SetPreviewCaption(const std::string& bytes) {
    form_.lblPreview->setText(FromBytes(bytes));
}

void QtOptionsView::SetPreviewButtonVisible(bool visible) { form_.cmdPreview->setVisible(visible); }

void QtOptionsView::SetPreviewShapeVisible(bool visible) { form_.shpPreview->setVisible(visible); }

void QtOptionsView::SetPreviewLabelVisible(bool visible) { form_.lblPreview->setVisible(visible); }

void QtOptionsView::SetPreviewTimerEnabled(bool enabled) {
    if (enabled)
        form_.Timer1->start();
    else
        form_.Timer1->stop();
}

void QtOptionsView::ClearNetworkRows() { form_.lstNetwork->clear(); }

void QtOptionsView::AddNetworkRow(const std::string& bytes) {
    form_.lstNetwork->addItem(FromBytes(bytes));
}

void QtOptionsView::SetNetworkRow(int index, const std::string& bytes) {
    if (QListWidgetItem* item = form_.lstNetwork->item(index)) item->setText(FromBytes(bytes));
}

int QtOptionsView::SelectedNetworkRow() const {
    const QList<QListWidgetItem*> selected = form_.lstNetwork->selectedItems();
    return selected.isEmpty() ? -1 : form_.lstNetwork->row(selected.first());
}

std::uint32_t QtOptionsView::ChooseColour(std::uint32_t initial, const std::string& title) {
    return ShowColourChooser(&form_, initial, title);
}

std::string QtOptionsView::ChooseFile(const FileChooserRequest& request) {
    return ShowFileChooser(&form_, request);
}

bool QtOptionsView::AskYesNo(const std::string& question) {
    return ShowMessageBox(&form_, {question, std::string(kAppTitle), MessageIcon::Question,
                                   MessageButtons::YesNo}) == MessageAnswer::Yes;
}

void QtOptionsView::Refuse(const std::string& text) {
    ShowMessageBox(&form_,
                   {text, std::string(kAppTitle), MessageIcon::Exclamation, MessageButtons::Ok});
}

void QtOptionsView::SetMainWindowIcon() {
    QWidget* owner = form_.parentWidget();
    form_.setWindowIcon(owner && !owner->windowIcon().isNull() ? owner->windowIcon()
                                                               : ProgramIcon());
}

void QtOptionsView::CloseWindow() { form_.close(); }

}  // namespace qfd
