#include "options/options_form.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include "alert/x11_window_hints.h"
#include "options/captioned_frame.h"
#include "options/speaker_picture.h"
#include "shell/twips.h"

namespace qfd {
namespace {

constexpr double kClientWidth = 7695;
constexpr double kClientHeight = 6720;

const char* const kTextTip = "Edit this text to change the kind of alert to activate.";

void SetIndex(QWidget* control, int index) { control->setProperty("index", index); }

// The window-client position in twips of a control's parent, so that children can be placed
// with the designed window coordinates.
QPointF TwipsOrigin(const QWidget* parent) {
    const QVariant left = parent->property("twipsLeft");
    const QVariant top = parent->property("twipsTop");
    return left.isValid() ? QPointF(left.toDouble(), top.toDouble()) : QPointF(0, 0);
}

}  // namespace

OptionsForm::OptionsForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setObjectName("frmOptions");
    // Modal to the main window only: some window managers (openbox) offer a minimise button on
    // every dialog, and the tray icon must stay live to bring a minimised dialog back.
    setWindowModality(Qt::WindowModal);
    setWindowTitle("Quorf Detect Options");
    setFixedSize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight));
    setSizeGripEnabled(false);
    setFont(DesignFont(kSansSerifFamilies, 8.25));

    // Frames first, so that the controls placed over them on the window stand in front.
    QGroupBox* frame3 = AddFrame("Frame3", "Network Detectors", 120, 120, 5175, 3495);
    QGroupBox* frame1 = AddFrame("Frame1", "Alert Delay", 5400, 120, 2175, 1935);
    QGroupBox* frame2 = AddFrame("Frame2", "Latency", 5400, 2160, 2175, 1455);
    QGroupBox* frame6 = AddFrame("Frame6", "Alert Size", 120, 3720, 1815, 855);
    AddFrame("Frame8", "Network Delay", 2040, 3720, 2175, 1215);
    QGroupBox* frame5 = AddFrame("Frame5", "Alert Hues", 4320, 3720, 3255, 1455);
    QGroupBox* frame7 = AddFrame("Frame7", "Customise Text", 120, 4680, 1815, 1935);
    QGroupBox* frame4 = AddFrame("Frame4", "Alert Sound", 2040, 5040, 2175, 1575);

    // Network Detectors.
    AddLabel(frame3, "Label5",
             "You can specify a number of network detectors. Browse to the location of their QF "
             "Detect directory to add them.",
             240, 480, 4695, 495, true);
    lstNetwork = new QListWidget(frame3);
    Place(lstNetwork, "lstNetwork", 240, 960, 4935, 2010);
    lstNetwork->setSelectionMode(QAbstractItemView::SingleSelection);
    lstNetwork->setToolTip("All Network Detectors will be displayed here after being added.");
    AddLabel(frame3, "Label8", "Your Name:", 3000, 3000, 1215, 255);
    txtMyName = new QLineEdit(frame3);
    Place(txtMyName, "txtMyName", 3000, 3240, 2175, 285);
    txtMyName->setToolTip(
        "The name displayed here will appear at the top of any network alerts you send.");
    cmdBrowse = AddButton(this, "cmdBrowse", "&Browse...", 240, 3120, 1095, 375);
    cmdBrowse->setToolTip("Click the Browse... button to add a new Network Detector.");
    cmdRemove = AddButton(this, "cmdRemove", "&Remove", 1560, 3120, 1095, 375);
    cmdRemove->setToolTip(
        "Choose an existing Network Detector by clicking in the window above, then click this "
        "button to remove them.");

    // Alert Delay and Latency.
    AddLabel(frame1, "Label1",
             "This is the amount of time to wait before showing the alert when Delayed Alert is "
             "clicked.",
             5520, 480, 1935, 855, true);
    QLabel* label2 = AddLabel(frame1, "Label2", "&Delay (secs):", 5640, 1440, 975, 375);
    txtDelay = new QLineEdit(frame1);
    Place(txtDelay, "txtDelay", 6600, 1440, 615, 285);
    label2->setBuddy(txtDelay);
    AddLabel(frame2, "Label3", "This is how often to check for a Network Quorf.", 5520, 2520, 1935,
             615, true);
    QLabel* label4 = AddLabel(frame2, "Label4", "&Latency (ms):", 5520, 3120, 975, 375);
    txtLatency = new QLineEdit(frame2);
    Place(txtLatency, "txtLatency", 6600, 3120, 855, 285);
    label4->setBuddy(txtLatency);

    // Alert Size.
    chkSmall = new QCheckBox("Small Alert", frame6);
    Place(chkSmall, "chkSmall", 480, 4080, 1215, 255);
    chkSmall->setToolTip("If this box is ticked, the alert on your machine will appear smaller.");

    // Network Delay: its own panel, so that its two buttons form a set apart from the sounds.
    auto* picture1 = new QWidget(this);
    Place(picture1, "Picture1", 2160, 3960, 1935, 855);
    netDelayGroup = new QButtonGroup(this);
    const char* const delayCaptions[] = {"&Use my delay settings", "&Instant network alert"};
    for (int i = 0; i < 2; ++i) {
        optDelay[i] = new QRadioButton(delayCaptions[i], picture1);
        Place(optDelay[i], "optDelay", 2160, 4080 + 360.0 * i, 1935, 255);
        SetIndex(optDelay[i], i);
        netDelayGroup->addButton(optDelay[i], i);
    }
    optDelay[1]->setChecked(true);

    // Alert Hues: the swatches inside the frame, the buttons over it on the window.
    for (int i = 0; i < 2; ++i) {
        shpColTxt[i] = new FilledShape(frame5);
        Place(shpColTxt[i], "shpColTxt", 5760 + 1560.0 * i, 4080, 135, 375);
        SetIndex(shpColTxt[i], i);
        shpCol[i] = new FilledShape(frame5);
        Place(shpCol[i], "shpCol", 5760 + 1560.0 * i, 4560, 135, 375);
        SetIndex(shpCol[i], i);
    }
    cmdColTxt[0] = AddButton(this, "cmdColTxt", "Text 1", 4440, 4080, 1215, 375);
    cmdColTxt[1] = AddButton(this, "cmdColTxt", "Text 2", 6000, 4080, 1215, 375);
    cmdCol[0] = AddButton(this, "cmdCol", "Background 1", 4440, 4560, 1215, 375);
    cmdCol[1] = AddButton(this, "cmdCol", "Background 2", 6000, 4560, 1215, 375);
    for (int i = 0; i < 2; ++i) {
        SetIndex(cmdColTxt[i], i);
        SetIndex(cmdCol[i], i);
    }

    // Customise Text.
    QLabel* label6 = AddLabel(frame7, "Label6", "&Top text:", 240, 5040, 855, 255);
    label6->setToolTip(kTextTip);
    txtAlertText1 = new QLineEdit(frame7);
    Place(txtAlertText1, "txtAlertText1", 240, 5280, 1575, 285);
    txtAlertText1->setToolTip(kTextTip);
    label6->setBuddy(txtAlertText1);
    QLabel* label7 = AddLabel(frame7, "Label7", "B&ottom text:", 240, 5760, 975, 255);
    label7->setToolTip(kTextTip);
    txtAlertText2 = new QLineEdit(frame7);
    Place(txtAlertText2, "txtAlertText2", 240, 6000, 1575, 285);
    txtAlertText2->setToolTip(kTextTip);
    label7->setBuddy(txtAlertText2);

    // Alert Sound: the play button inside the frame, the sound buttons over it on the window.
    cmdPlaySound = AddButton(frame4, "cmdPlaySound", "", 3720, 5280, 375, 375);
    cmdPlaySound->setIcon(SpeakerPicture());
    cmdPlaySound->setIconSize(QSize(kSpeakerPictureSize, kSpeakerPictureSize));
    cmdPlaySound->setToolTip("Click this button to play the currently selected Alert Sound.");
    cmdPlaySound->setAccessibleName("Play sound");
    soundGroup = new QButtonGroup(this);
    struct Sound {
        const char* caption;
        double width;
        const char* tip;
    };
    const Sound sounds[] = {
        {"None", 1455, "Select this option for a silent alert."},
        {"Whoop", 1335, "Select this option for a Whoop alert."},
        {"Deedoodeedoo", 1695, "Select this option for a Deedoodeedoo alert."},
        {"Weeooweeoo", 1455, "Select this option for a Weeooweeoo alert."},
    };
    for (int i = 0; i < 4; ++i) {
        alertSound[i] = new QRadioButton(sounds[i].caption, this);
        Place(alertSound[i], "alertSound", 2160, 5280 + 320.0 * i, sounds[i].width, 255);
        alertSound[i]->setToolTip(sounds[i].tip);
        SetIndex(alertSound[i], i);
        soundGroup->addButton(alertSound[i], i);
    }
    alertSound[1]->setChecked(true);

    // The live preview: the rectangle, its caption in front, the button in the same place.
    shpPreview = new FilledShape(this);
    Place(shpPreview, "shpPreview", 4320, 5280, 3255, 855);
    shpPreview->hide();
    lblPreview = new QLabel("Preview", this);
    Place(lblPreview, "lblPreview", 4320, 5475, 3255, 495);
    lblPreview->setTextFormat(Qt::PlainText);
    lblPreview->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblPreview->setFont(DesignFont(kArialFamilies, 20.25, true));
    lblPreview->hide();
    cmdPreview = AddButton(this, "cmdPreview", "&Preview Hues", 5160, 5520, 1575, 375);
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(500);

    cmdDefaults = AddButton(this, "cmdDefaults", "Defaults...", 4320, 6240, 1095, 375);
    cmdDefaults->setToolTip("Click here to return to the default settings.");
    cmdClose = AddButton(this, "cmdClose", "&Close", 6480, 6240, 1095, 375);
    cmdClose->setDefault(true);

    // The designed tab indexes in ascending order; labels, frames and shapes take no focus.
    QWidget* const order[] = {
        cmdClose,      lstNetwork,    txtDelay,      txtLatency,    chkSmall,     txtAlertText1,
        txtAlertText2, cmdPlaySound,  cmdDefaults,   txtMyName,     cmdRemove,    cmdBrowse,
        alertSound[3], alertSound[2], alertSound[1], alertSound[0], cmdColTxt[1], cmdCol[1],
        cmdCol[0],     cmdColTxt[0],  optDelay[1],   optDelay[0],   cmdPreview};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    KeepOutOfTaskbar(this);
}

QGroupBox* OptionsForm::AddFrame(const char* name, const char* caption, double left, double top,
                                 double width, double height) {
    auto* frame = new CaptionedFrame(caption, this);
    Place(frame, name, left, top, width, height);
    return frame;
}

void OptionsForm::Place(QWidget* control, const char* name, double left, double top, double width,
                        double height) {
    control->setObjectName(name);
    const QPointF origin = TwipsOrigin(control->parentWidget());
    control->setGeometry(TwipsRect(left - origin.x(), top - origin.y(), width, height));
    control->setProperty("twipsLeft", left);
    control->setProperty("twipsTop", top);
}

QLabel* OptionsForm::AddLabel(QWidget* parent, const char* name, const char* caption, double left,
                              double top, double width, double height, bool wrap) {
    auto* label = new QLabel(caption, parent);
    Place(label, name, left, top, width, height);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(wrap);
    // Captions with an access key need the mnemonic; the others are plain text.
    if (!QString(caption).contains('&')) label->setTextFormat(Qt::PlainText);
    return label;
}

QPushButton* OptionsForm::AddButton(QWidget* parent, const char* name, const char* caption,
                                    double left, double top, double width, double height) {
    auto* button = new QPushButton(caption, parent);
    Place(button, name, left, top, width, height);
    return button;
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
