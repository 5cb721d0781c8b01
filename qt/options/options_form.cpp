#include "qt/options/options_form.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <vector>

#include "core/options/options_form_design.h"
#include "qt/alert/x11_window_hints.h"
#include "qt/options/captioned_frame.h"
#include "qt/options/speaker_picture.h"
#include "qt/shell/twips.h"

namespace qfd {
namespace {

using design::Kind;

Qt::Alignment AlignmentOf(design::Align align) {
    switch (align) {
        case design::Align::Right:
            return Qt::AlignRight | Qt::AlignTop;
        case design::Align::Centre:
            return Qt::AlignHCenter | Qt::AlignTop;
        case design::Align::Left:
            break;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

QWidget* NewWidget(const design::Control& design, QWidget* parent) {
    switch (design.kind) {
        case Kind::Frame:
            return new CaptionedFrame(design.caption, parent);
        case Kind::Label:
        case Kind::Image:
            return new QLabel(design.caption, parent);
        case Kind::TextBox:
            return new QLineEdit(design.caption, parent);
        case Kind::CommandButton:
            return new QPushButton(design.caption, parent);
        case Kind::OptionButton:
            return new QRadioButton(design.caption, parent);
        case Kind::CheckBox:
            return new QCheckBox(design.caption, parent);
        case Kind::ListBox:
            return new QListWidget(parent);
        case Kind::Shape:
            return new FilledShape(parent);
        case Kind::PictureBox:
            break;
    }
    return new QWidget(parent);
}

// Captions with an access key need the mnemonic; the others are plain text.
void SetUpLabel(QLabel* label, const design::Control& design) {
    label->setAlignment(AlignmentOf(design.align));
    label->setWordWrap(design.wordWrap);
    if (!QString(design.caption).contains('&')) label->setTextFormat(Qt::PlainText);
}

// The control whose tab index follows the label's: the one its access key focuses.
const design::Control* Buddy(const design::Control& label) {
    for (const design::Control& design : design::kOptionsControls) {
        if (design.tabIndex == label.tabIndex + 1) return &design;
    }
    return nullptr;
}

}  // namespace

OptionsForm::OptionsForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    const design::Form& form = design::kOptionsForm;
    setObjectName(form.name);
    // Modal to the main window only: some window managers (openbox) offer a minimise button on
    // every dialog, and the tray icon must stay live to bring a minimised dialog back.
    setWindowModality(Qt::WindowModal);
    setWindowTitle(form.caption);
    setFixedSize(TwipsToPixels(form.width), TwipsToPixels(form.height));
    setSizeGripEnabled(false);
    setFont(DesignFont(form.font));

    CreateControls();
    FindControls();
    lstNetwork->setSelectionMode(QAbstractItemView::SingleSelection);
    cmdPlaySound->setIcon(SpeakerPicture());
    cmdPlaySound->setIconSize(QSize(kSpeakerPictureSize, kSpeakerPictureSize));
    cmdPlaySound->setAccessibleName("Play sound");
    // The network delay buttons sit in a picture box of their own, a set apart from the sounds.
    netDelayGroup = new QButtonGroup(this);
    for (int i = 0; i < 2; ++i) netDelayGroup->addButton(optDelay[i], i);
    soundGroup = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) soundGroup->addButton(alertSound[i], i);
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(500);
    SetTabOrder();

    KeepOutOfTaskbar(this);
}

void OptionsForm::CreateControls() {
    const auto& controls = design::kOptionsControls;
    for (auto row = std::rbegin(controls); row != std::rend(controls); ++row) {
        QWidget* control = CreateControl(*row);
        if (row->kind == Kind::Label) SetUpLabel(static_cast<QLabel*>(control), *row);
    }
    for (const design::Control& design : controls) {
        if (design.kind != Kind::Label || !QString(design.caption).contains('&')) continue;
        auto* label = Child<QLabel>(design.name);
        if (const design::Control* buddy = Buddy(design))
            label->setBuddy(Child<QWidget>(buddy->name, buddy->index));
    }
}

QWidget* OptionsForm::CreateControl(const design::Control& design) {
    const bool inside = *design.container != '\0';
    QWidget* parent = inside ? Child<QWidget>(design.container) : this;
    QWidget* control = NewWidget(design, parent);
    control->setObjectName(design.name);
    if (design.index >= 0) control->setProperty("index", design.index);
    const design::Rect origin = inside
                                    ? design::Find(design::kOptionsControls, design.container).rect
                                    : design::Rect{0, 0, 0, 0};
    const design::Rect& r = design.rect;
    control->setGeometry(TwipsRect(r.left - origin.left, r.top - origin.top, r.width, r.height));
    if (design.tip) control->setToolTip(design.tip);
    if (design.font) control->setFont(DesignFont(*design.font));
    if (auto* button = qobject_cast<QAbstractButton*>(control)) button->setChecked(design.value);
    if (auto* button = qobject_cast<QPushButton*>(control)) button->setDefault(design.isDefault);
    if (!design.visible) control->hide();
    return control;
}

void OptionsForm::FindControls() {
    cmdClose = Child<QPushButton>("cmdClose");
    lstNetwork = Child<QListWidget>("lstNetwork");
    cmdBrowse = Child<QPushButton>("cmdBrowse");
    cmdRemove = Child<QPushButton>("cmdRemove");
    txtMyName = Child<QLineEdit>("txtMyName");
    for (int i = 0; i < 2; ++i) {
        optDelay[i] = Child<QRadioButton>("optDelay", i);
        cmdCol[i] = Child<QPushButton>("cmdCol", i);
        cmdColTxt[i] = Child<QPushButton>("cmdColTxt", i);
        shpCol[i] = Child<FilledShape>("shpCol", i);
        shpColTxt[i] = Child<FilledShape>("shpColTxt", i);
    }
    txtDelay = Child<QLineEdit>("txtDelay");
    txtLatency = Child<QLineEdit>("txtLatency");
    chkSmall = Child<QCheckBox>("chkSmall");
    txtAlertText1 = Child<QLineEdit>("txtAlertText1");
    txtAlertText2 = Child<QLineEdit>("txtAlertText2");
    for (int i = 0; i < 4; ++i) alertSound[i] = Child<QRadioButton>("alertSound", i);
    cmdPlaySound = Child<QPushButton>("cmdPlaySound");
    shpPreview = Child<FilledShape>("shpPreview");
    lblPreview = Child<QLabel>("lblPreview");
    cmdPreview = Child<QPushButton>("cmdPreview");
    cmdDefaults = Child<QPushButton>("cmdDefaults");
}

// The designed tab indexes in ascending order; labels, frames and shapes take no focus.
void OptionsForm::SetTabOrder() {
    std::vector<const design::Control*> stops;
    for (const design::Control& design : design::kOptionsControls) {
        if (design.tabIndex >= 0 && design.kind != Kind::Label) stops.push_back(&design);
    }
    std::sort(stops.begin(), stops.end(),
              [](const auto* a, const auto* b) { return a->tabIndex < b->tabIndex; });
    for (std::size_t i = 1; i < stops.size(); ++i) {
        setTabOrder(Child<QWidget>(stops[i - 1]->name, stops[i - 1]->index),
                    Child<QWidget>(stops[i]->name, stops[i]->index));
    }
}

template <typename T>
T* OptionsForm::Child(const char* name, int index) const {
    for (T* child : findChildren<T*>(name)) {
        const QVariant at = child->property("index");
        if ((at.isValid() ? at.toInt() : -1) == index) return child;
    }
    return nullptr;
}

void OptionsForm::Centre() {
    QScreen* screen = parentWidget() ? parentWidget()->screen() : nullptr;
    if (!screen) screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

}  // namespace qfd
