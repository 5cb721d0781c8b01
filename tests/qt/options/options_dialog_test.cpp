// frmOptions on the offscreen platform: the designed layout, captions and keys, the focus and the
// ways out, and what typing, clicking and choosing leave in qfd.ini.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>

#include "qt/options/choosers.h"
#include "qt/options/options_runner.h"
#include "qt/options/speaker_picture.h"
#include "qt/shell/message_box.h"
#include "qt/shell/twips.h"
#include "tests/qt/options/options_test_support.h"

using qfd::test::OpenOptions;

namespace {

struct Designed {
    const char* name;
    int index;
    const char* frame;  // the frame whose area holds it; "" for none
    double left, top, width, height;
};

// Every frame and control of the window, in window-client twips.
const Designed kLayout[] = {
    {"Frame3", -1, "", 120, 120, 5175, 3495},
    {"Frame1", -1, "", 5400, 120, 2175, 1935},
    {"Frame2", -1, "", 5400, 2160, 2175, 1455},
    {"Frame6", -1, "", 120, 3720, 1815, 855},
    {"Frame8", -1, "", 2040, 3720, 2175, 1215},
    {"Frame5", -1, "", 4320, 3720, 3255, 1455},
    {"Frame7", -1, "", 120, 4680, 1815, 1935},
    {"Frame4", -1, "", 2040, 5040, 2175, 1575},
    {"Label5", -1, "Frame3", 240, 480, 4695, 495},
    {"lstNetwork", -1, "Frame3", 240, 960, 4935, 2010},
    {"cmdBrowse", -1, "Frame3", 240, 3120, 1095, 375},
    {"cmdRemove", -1, "Frame3", 1560, 3120, 1095, 375},
    {"Label8", -1, "Frame3", 3000, 3000, 1215, 255},
    {"txtMyName", -1, "Frame3", 3000, 3240, 2175, 285},
    {"Label1", -1, "Frame1", 5520, 480, 1935, 855},
    {"Label2", -1, "Frame1", 5640, 1440, 975, 375},
    {"txtDelay", -1, "Frame1", 6600, 1440, 615, 285},
    {"Label3", -1, "Frame2", 5520, 2520, 1935, 615},
    {"Label4", -1, "Frame2", 5520, 3120, 975, 375},
    {"txtLatency", -1, "Frame2", 6600, 3120, 855, 285},
    {"chkSmall", -1, "Frame6", 480, 4080, 1215, 255},
    {"Picture1", -1, "Frame8", 2160, 3960, 1935, 855},
    {"optDelay", 0, "Frame8", 2160, 4080, 1935, 255},
    {"optDelay", 1, "Frame8", 2160, 4440, 1935, 255},
    {"cmdColTxt", 0, "Frame5", 4440, 4080, 1215, 375},
    {"cmdColTxt", 1, "Frame5", 6000, 4080, 1215, 375},
    {"cmdCol", 0, "Frame5", 4440, 4560, 1215, 375},
    {"cmdCol", 1, "Frame5", 6000, 4560, 1215, 375},
    {"shpColTxt", 0, "Frame5", 5760, 4080, 135, 375},
    {"shpColTxt", 1, "Frame5", 7320, 4080, 135, 375},
    {"shpCol", 0, "Frame5", 5760, 4560, 135, 375},
    {"shpCol", 1, "Frame5", 7320, 4560, 135, 375},
    {"Label6", -1, "Frame7", 240, 5040, 855, 255},
    {"txtAlertText1", -1, "Frame7", 240, 5280, 1575, 285},
    {"Label7", -1, "Frame7", 240, 5760, 975, 255},
    {"txtAlertText2", -1, "Frame7", 240, 6000, 1575, 285},
    {"alertSound", 0, "Frame4", 2160, 5280, 1455, 255},
    {"alertSound", 1, "Frame4", 2160, 5600, 1335, 255},
    {"alertSound", 2, "Frame4", 2160, 5920, 1695, 255},
    {"alertSound", 3, "Frame4", 2160, 6240, 1455, 255},
    {"cmdPlaySound", -1, "Frame4", 3720, 5280, 375, 375},
    {"shpPreview", -1, "", 4320, 5280, 3255, 855},
    {"lblPreview", -1, "", 4320, 5475, 3255, 495},
    {"cmdPreview", -1, "", 5160, 5520, 1575, 375},
    {"cmdDefaults", -1, "", 4320, 6240, 1095, 375},
    {"cmdClose", -1, "", 6480, 6240, 1095, 375},
};

QString Label(const Designed& d) {
    return d.index < 0 ? QString(d.name) : QString("%1(%2)").arg(d.name).arg(d.index);
}

}  // namespace

class OptionsDialogTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<OpenOptions> o;
    std::vector<qfd::MessageRequest> asked;
    qfd::MessageAnswer answer = qfd::MessageAnswer::No;

    QRect WindowRect(QWidget* w) { return QRect(w->mapTo(&o->form(), QPoint(0, 0)), w->size()); }
    QLineEdit* Edit(const char* name) { return o->Control<QLineEdit>(name); }
    // Typing characters the test library has no key for: key events that carry the text.
    static void TypeText(QWidget* w, const QString& text) {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &release);
        }
    }
    void Retype(const char* box, const QString& text) {
        QLineEdit* edit = Edit(box);
        QTest::mouseClick(edit, Qt::LeftButton);
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
    }

  private slots:
    void init() {
        o = std::make_unique<OpenOptions>();
        asked.clear();
        answer = qfd::MessageAnswer::No;
        qfd::SetMessageBoxHandler([this](const qfd::MessageRequest& r) {
            asked.push_back(r);
            return answer;
        });
    }
    void cleanup() {
        o.reset();
        qfd::SetMessageBoxHandler(nullptr);
        qfd::SetColourChooserHandler(nullptr);
    }

    void windowIsAFixedCentredDialog() {
        QVERIFY(o->Open());
        QWidget& form = o->form();
        QCOMPARE(form.objectName(), QString("frmOptions"));
        QCOMPARE(form.windowTitle(), QString("Quorf Detect Options"));
        QCOMPARE(form.size(), QSize(513, 448));  // 7695 x 6720 twips
        QCOMPARE(form.minimumSize(), form.maximumSize());
        const Qt::WindowFlags flags = form.windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(!form.windowIcon().isNull());
        // Centred as far as the window frame, which is only known once the window is shown.
        const QRect screen = form.screen()->geometry();
        const int frame = form.frameGeometry().width() - form.width();
        QVERIFY(qAbs(form.frameGeometry().center().x() - screen.center().x()) <= frame);
        QVERIFY(qAbs(form.frameGeometry().center().y() - screen.center().y()) <= frame);
    }

    void everyControlStandsWhereDesigned() {
        QVERIFY(o->Open());
        for (const Designed& d : kLayout) {
            QWidget* w = o->Control(d.name, d.index);
            QVERIFY2(w, qPrintable(Label(d)));
            QCOMPARE(WindowRect(w), qfd::TwipsRect(d.left, d.top, d.width, d.height));
        }
    }

    void controlsLieInsideTheirFramesAndDoNotOverlap() {
        QVERIFY(o->Open());
        const QRect window = o->form().rect();
        for (const Designed& d : kLayout) {
            const QRect r = WindowRect(o->Control(d.name, d.index));
            QVERIFY2(window.contains(r), qPrintable(Label(d)));
            if (*d.frame)
                QVERIFY2(WindowRect(o->Control(d.frame)).contains(r), qPrintable(Label(d)));
        }
        // Within one frame no two controls overlap; the design lets a label's bottom or right
        // edge touch the next control by one pixel (15 twips).
        for (const Designed& a : kLayout) {
            for (const Designed& b : kLayout) {
                if (&a >= &b || !*a.frame || QString(a.frame) != b.frame) continue;
                if (QString(a.name) == "Picture1" || QString(b.name) == "Picture1") continue;
                const QRect cut = WindowRect(o->Control(a.name, a.index)) &
                                  WindowRect(o->Control(b.name, b.index));
                QVERIFY2(cut.isEmpty() || cut.width() <= 1 || cut.height() <= 1,
                         qPrintable(Label(a) + " overlaps " + Label(b)));
            }
        }
    }

    void captionsAccessKeysAndToolTips() {
        QVERIFY(o->Open());
        struct Caption {
            const char* name;
            int index;
            const char* text;
        };
        const Caption captions[] = {
            {"Frame3", -1, "Network Detectors"},
            {"Frame1", -1, "Alert Delay"},
            {"Frame2", -1, "Latency"},
            {"Frame6", -1, "Alert Size"},
            {"Frame8", -1, "Network Delay"},
            {"Frame5", -1, "Alert Hues"},
            {"Frame7", -1, "Customise Text"},
            {"Frame4", -1, "Alert Sound"},
            {"cmdBrowse", -1, "&Browse..."},
            {"cmdRemove", -1, "&Remove"},
            {"Label8", -1, "Your Name:"},
            {"Label2", -1, "&Delay (secs):"},
            {"Label4", -1, "&Latency (ms):"},
            {"chkSmall", -1, "Small Alert"},
            {"optDelay", 0, "&Use my delay settings"},
            {"optDelay", 1, "&Instant network alert"},
            {"cmdColTxt", 0, "Text 1"},
            {"cmdColTxt", 1, "Text 2"},
            {"cmdCol", 0, "Background 1"},
            {"cmdCol", 1, "Background 2"},
            {"Label6", -1, "&Top text:"},
            {"Label7", -1, "B&ottom text:"},
            {"alertSound", 0, "None"},
            {"alertSound", 1, "Whoop"},
            {"alertSound", 2, "Deedoodeedoo"},
            {"alertSound", 3, "Weeooweeoo"},
            {"cmdPlaySound", -1, ""},
            {"cmdPreview", -1, "&Preview Hues"},
            {"cmdDefaults", -1, "Defaults..."},
            {"cmdClose", -1, "&Close"},
            {"lblPreview", -1, "Quorf"},  // the top text, set on opening
        };
        for (const Caption& c : captions) {
            QWidget* w = o->Control(c.name, c.index);
            QString text;
            if (auto* box = qobject_cast<QGroupBox*>(w)) text = box->title();
            if (auto* button = qobject_cast<QAbstractButton*>(w)) text = button->text();
            if (auto* label = qobject_cast<QLabel*>(w)) text = label->text();
            QCOMPARE(text, QString(c.text));
        }
        QCOMPARE(o->Control<QLabel>("Label5")->text(),
                 QString("You can specify a number of network detectors. Browse to the location "
                         "of their QF Detect directory to add them."));
        QCOMPARE(o->Control<QLabel>("Label1")->text(),
                 QString("This is the amount of time to wait before showing the alert when "
                         "Delayed Alert is clicked."));
        QCOMPARE(o->Control<QLabel>("Label3")->text(),
                 QString("This is how often to check for a Network Quorf."));
        QCOMPARE(o->Control<QLabel>("Label2")->buddy(), Edit("txtDelay"));
        QCOMPARE(o->Control<QLabel>("Label4")->buddy(), Edit("txtLatency"));
        QCOMPARE(o->Control<QLabel>("Label6")->buddy(), Edit("txtAlertText1"));
        QCOMPARE(o->Control<QLabel>("Label7")->buddy(), Edit("txtAlertText2"));

        const QString textTip = "Edit this text to change the kind of alert to activate.";
        QCOMPARE(o->Control("lstNetwork")->toolTip(),
                 QString("All Network Detectors will be displayed here after being added."));
        QCOMPARE(o->Control("cmdBrowse")->toolTip(),
                 QString("Click the Browse... button to add a new Network Detector."));
        QCOMPARE(o->Control("cmdRemove")->toolTip(),
                 QString("Choose an existing Network Detector by clicking in the window above, "
                         "then click this button to remove them."));
        QCOMPARE(o->Control("txtMyName")->toolTip(),
                 QString("The name displayed here will appear at the top of any network alerts "
                         "you send."));
        QCOMPARE(o->Control("chkSmall")->toolTip(),
                 QString("If this box is ticked, the alert on your machine will appear smaller."));
        QCOMPARE(o->Control("Label6")->toolTip(), textTip);
        QCOMPARE(o->Control("Label7")->toolTip(), textTip);
        QCOMPARE(o->Control("txtAlertText1")->toolTip(), textTip);
        QCOMPARE(o->Control("txtAlertText2")->toolTip(), textTip);
        QCOMPARE(o->Control("alertSound", 0)->toolTip(),
                 QString("Select this option for a silent alert."));
        QCOMPARE(o->Control("alertSound", 2)->toolTip(),
                 QString("Select this option for a Deedoodeedoo alert."));
        QCOMPARE(o->Control("cmdPlaySound")->toolTip(),
                 QString("Click this button to play the currently selected Alert Sound."));
        QCOMPARE(o->Control("cmdDefaults")->toolTip(),
                 QString("Click here to return to the default settings."));
    }

    void designedStatesOfThePreview() {
        QVERIFY(o->Open());
        QVERIFY(!o->Control("shpPreview")->isVisible());
        QVERIFY(!o->Control("lblPreview")->isVisible());
        QVERIFY(o->Control("cmdPreview")->isVisible());
        auto* timer = o->form().findChild<QTimer*>("Timer1");
        QVERIFY(!timer->isActive());
        QCOMPARE(timer->interval(), 500);
        auto* label = o->Control<QLabel>("lblPreview");
        QCOMPARE(label->font().bold(), true);
        QCOMPARE(label->font().pixelSize(), 27);  // 20.25 points at 96 dpi
        QVERIFY(label->alignment() & Qt::AlignHCenter);
        QVERIFY(!label->autoFillBackground());
    }

    void playButtonShowsALoudspeaker() {
        QVERIFY(o->Open());
        auto* play = o->Control<QPushButton>("cmdPlaySound");
        QCOMPARE(play->iconSize(), QSize(21, 21));
        const QImage image = play->icon().pixmap(21, 21).toImage();
        int inked = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) inked += qAlpha(image.pixel(x, y)) > 128;
        QVERIFY(inked > 40 && inked < 21 * 21 / 2);
        QCOMPARE(qfd::kSpeakerPictureSize, 21);
    }

    void tabOrderFollowsTheDesignedIndexes() {
        QVERIFY(o->Open());
        const QStringList expected{
            "cmdClose",      "lstNetwork",    "txtDelay",      "txtLatency",    "chkSmall",
            "txtAlertText1", "txtAlertText2", "cmdPlaySound",  "cmdDefaults",   "txtMyName",
            "cmdRemove",     "cmdBrowse",     "alertSound(3)", "alertSound(2)", "alertSound(1)",
            "alertSound(0)", "cmdColTxt(1)",  "cmdCol(1)",     "cmdCol(0)",     "cmdColTxt(0)",
            "optDelay(1)",   "optDelay(0)",   "cmdPreview"};
        QStringList chain;
        QWidget* w = o->Control("cmdClose");
        do {
            if (w->focusPolicy() & Qt::TabFocus) {
                const QVariant i = w->property("index");
                chain << (i.isValid() ? QString("%1(%2)").arg(w->objectName()).arg(i.toInt())
                                      : w->objectName());
            }
            w = w->nextInFocusChain();
        } while (w != o->Control("cmdClose"));
        QCOMPARE(chain, expected);
    }

    void opensWithTheFocusOnCloseAndEnterCloses() {
        QVERIFY(o->Open());
        QCOMPARE(QApplication::focusWidget(), o->Control("cmdClose"));
        QVERIFY(o->Control<QPushButton>("cmdClose")->isDefault());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTRY_VERIFY(!o->form().isVisible());
        QCOMPARE(o->menuRefreshes, 1);
    }

    void enterInATextBoxCloses() {
        QVERIFY(o->Open());
        QTest::mouseClick(Edit("txtDelay"), Qt::LeftButton);
        QTest::keyClick(Edit("txtDelay"), Qt::Key_Return);
        QTRY_VERIFY(!o->form().isVisible());
        QCOMPARE(o->menuRefreshes, 1);
    }

    void escapeAndTheTitleBarClose() {
        QVERIFY(o->Open());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!o->form().isVisible());
        QCOMPARE(o->menuRefreshes, 1);
        QVERIFY(o->Open());
        o->form().close();
        QTRY_VERIFY(!o->form().isVisible());
        QCOMPARE(o->menuRefreshes, 2);
    }

    void openingAndClosingLeavesTheFileAsItWas() {
        // Bytes of both kinds a file may hold: Windows-1252 and UTF-8.
        const QByteArray file =
            "[Settings]\r\nmyName=Jos\xE9\r\nQFtext=Caf\xC3\xA9\r\nAtext=\xE2\x98\x83\r\n"
            "Delay= 9\r\n";
        QVERIFY(o->Open(file));
        QCOMPARE(Edit("txtMyName")->text(), QString::fromUtf8("Jos\xC3\xA9"));
        QCOMPARE(Edit("txtAlertText1")->text(), QString::fromUtf8("Caf\xC3\xA9"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!o->form().isVisible());
        QCOMPARE(o->Ini(), file);
    }

    void typingIntoTheNumberBoxesStoresAtOnce() {
        QVERIFY(o->Open());
        Retype("txtDelay", "12abc");
        QCOMPARE(Edit("txtDelay")->text(), QString("12"));
        QCOMPARE(Edit("txtDelay")->cursorPosition(), 2);
        QCOMPARE(o->Stored("Delay"), QByteArray(" 12"));
        Retype("txtLatency", "5");
        QCOMPARE(Edit("txtLatency")->text(), QString("5"));
        QCOMPARE(o->Stored("Latency"), QByteArray(" 10"));
        // Everything deleted leaves 0; a 7 typed after it gives 7.
        QTest::keyClick(Edit("txtDelay"), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(Edit("txtDelay"), Qt::Key_Backspace);
        QCOMPARE(Edit("txtDelay")->text(), QString("0"));
        QTest::keyClicks(Edit("txtDelay"), "7");
        QCOMPARE(Edit("txtDelay")->text(), QString("7"));
        QCOMPARE(o->Stored("Delay"), QByteArray(" 7"));
        // A paste keeps its fraction in the box.
        Edit("txtDelay")->selectAll();
        Edit("txtDelay")->insert("3.5");
        QCOMPARE(Edit("txtDelay")->text(), QString("3.5"));
        QCOMPARE(o->Stored("Delay"), QByteArray(" 4"));
        QCOMPARE(o->mirror.Delay, 4);
    }

    void nameAndTextsStoreAndSelectAllOnFocus() {
        QVERIFY(o->Open());
        QTest::mouseClick(Edit("txtAlertText1"), Qt::LeftButton);
        QTRY_COMPARE(Edit("txtAlertText1")->selectedText(), QString("Quorf"));
        QTest::keyClicks(Edit("txtAlertText1"), "<b>Hoax</b>");
        QCOMPARE(o->Stored("QFtext"), QByteArray("<b>Hoax</b>"));
        QCOMPARE(o->Control<QLabel>("lblPreview")->text(), QString("<b>Hoax</b>"));
        QCOMPARE(o->Control<QLabel>("lblPreview")->textFormat(), Qt::PlainText);
        // The tool tip shows the text as typed, not as markup.
        QTextDocument tip;
        tip.setHtml(Edit("txtAlertText1")->toolTip());
        QCOMPARE(tip.toPlainText(), QString("<b>Hoax</b>"));
        Edit("txtMyName")->setFocus();
        QTRY_COMPARE(Edit("txtMyName")->selectedText(), Edit("txtMyName")->text());
        QTest::keyClicks(Edit("txtMyName"), "Robin");
        QCOMPARE(o->Stored("myName"), QByteArray("Robin"));
    }

    void textLimitsCountTheBytesInTheFile() {
        QVERIFY(o->Open());
        QTest::keyClicks(Edit("txtMyName"), QString(20, 'n'));
        QCOMPARE(Edit("txtMyName")->text(), QString(15, 'n'));
        QCOMPARE(o->Stored("myName"), QByteArray(15, 'n'));
        // A character outside Windows-1252 stores the text as UTF-8: fewer characters fit.
        Edit("txtAlertText2")->selectAll();
        TypeText(Edit("txtAlertText2"), QString::fromUtf8("\xE2\x98\x83").repeated(8));
        QCOMPARE(Edit("txtAlertText2")->text(), QString::fromUtf8("\xE2\x98\x83").repeated(6));
        QCOMPARE(o->Stored("Atext").size(), 18);
        // A paste is cut to fit where it went in.
        Edit("txtAlertText1")->selectAll();
        Edit("txtAlertText1")->insert("abcdefghij");
        Edit("txtAlertText1")->setCursorPosition(5);
        Edit("txtAlertText1")->insert("0123456789012345");
        QCOMPARE(Edit("txtAlertText1")->text(), QString("abcde012345678901fghij"));
        QCOMPARE(Edit("txtAlertText1")->cursorPosition(), 17);
        QCOMPARE(o->Stored("QFtext"), QByteArray("abcde012345678901fghij"));
    }

    void longerTextFromTheFileIsShownWholeAndCanBeShortened() {
        const QByteArray name(40, 'L');
        QVERIFY(o->Open("[Settings]\r\nmyName=" + name + "\r\n"));
        QCOMPARE(Edit("txtMyName")->text(), QString(name));
        Edit("txtMyName")->end(false);
        QTest::keyClicks(Edit("txtMyName"), "x");
        QCOMPARE(Edit("txtMyName")->text(), QString(name));
        QTest::keyClick(Edit("txtMyName"), Qt::Key_Backspace);
        QCOMPARE(o->Stored("myName"), QByteArray(39, 'L'));
    }

    void clicksStoreTheSmallSoundAndNetworkSettings() {
        QVERIFY(o->Open("[Settings]\r\nSmall= 2\r\nNetDelay= 3\r\n"));
        QVERIFY(!o->Control<QCheckBox>("chkSmall")->isChecked());
        QVERIFY(o->Control<QRadioButton>("optDelay", 0)->isChecked());
        QTest::mouseClick(o->Control("chkSmall"), Qt::LeftButton);
        QCOMPARE(o->Stored("Small"), QByteArray(" 1"));
        QTest::mouseClick(o->Control("optDelay", 1), Qt::LeftButton);
        QCOMPARE(o->Stored("NetDelay"), QByteArray(" 0"));
        QTest::mouseClick(o->Control("alertSound", 2), Qt::LeftButton);
        QCOMPARE(o->Stored("Sound"), QByteArray("102"));
        QVERIFY(o->Control<QRadioButton>("optDelay", 1)->isChecked());  // two separate sets
        QTest::mouseClick(o->Control("cmdPlaySound"), Qt::LeftButton);
        QCOMPARE(o->sounds.output->plays.size(), std::size_t{1});
        QCOMPARE(o->sounds.output->plays.back()->bytes, *qfd::QtSoundLibrary().LoadSound(102));
    }

    void colourChooserThroughTheSeam() {
        std::vector<std::pair<std::uint32_t, std::string>> requests;
        qfd::SetColourChooserHandler([&](std::uint32_t initial, const std::string& title) {
            requests.emplace_back(initial, title);
            return 16777215u;
        });
        QVERIFY(o->Open("[Settings]\r\nColour4= 255\r\n"));
        QTest::mouseClick(o->Control("cmdColTxt", 1), Qt::LeftButton);
        QCOMPARE(requests.size(), std::size_t{1});
        QCOMPARE(requests[0].first, 255u);
        QCOMPARE(requests[0].second, std::string("Choose a Colour"));
        QCOMPARE(o->Stored("Colour4"), QByteArray(" 16777215"));
        QCOMPARE(o->Control<qfd::FilledShape>("shpColTxt", 1)->Fill(), 16777215u);
        // Cancelled: the colour it was given comes back and is stored unchanged.
        qfd::SetColourChooserHandler(
            [](std::uint32_t initial, const std::string&) { return initial; });
        QTest::mouseClick(o->Control("cmdCol", 0), Qt::LeftButton);
        QCOMPARE(o->Stored("Colour1"), QByteArray(" 255"));
        QCOMPARE(o->Control<qfd::FilledShape>("shpCol", 0)->Fill(), 255u);
    }

    void previewFlashesUntilItsLabelIsClicked() {
        QVERIFY(
            o->Open("[Settings]\r\nColour1= 65280\r\nColour2= 16711680\r\nColour3= 255\r\n"
                    "Colour4= 65535\r\n"));
        auto* shape = o->Control<qfd::FilledShape>("shpPreview");
        auto* label = o->Control<QLabel>("lblPreview");
        QTest::mouseClick(o->Control("cmdPreview"), Qt::LeftButton);
        QVERIFY(shape->isVisible());
        QVERIFY(label->isVisible());
        QVERIFY(!o->Control("cmdPreview")->isVisible());
        QCOMPARE(shape->Fill(), 16711680u);  // the second pair first
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(255, 255, 0));
        QTRY_COMPARE(shape->Fill(), 65280u);
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(255, 0, 0));
        QTest::mouseClick(label, Qt::LeftButton);
        QVERIFY(!shape->isVisible());
        QVERIFY(!label->isVisible());
        QVERIFY(o->Control("cmdPreview")->isVisible());
        QVERIFY(!o->form().findChild<QTimer*>("Timer1")->isActive());
    }

    void defaultsAskFirst() {
        QVERIFY(o->Open("[Settings]\r\nDelay= 9\r\nQFtext=Odd\r\nColour1= 7\r\n"));
        QTest::mouseClick(o->Control("cmdDefaults"), Qt::LeftButton);
        QCOMPARE(asked.size(), std::size_t{1});
        QCOMPARE(asked[0].text,
                 std::string("Are you sure you want to revert to the default settings?"));
        QCOMPARE(asked[0].title, std::string("QF Detect"));
        QCOMPARE(asked[0].icon, qfd::MessageIcon::Question);
        QCOMPARE(asked[0].buttons, qfd::MessageButtons::YesNo);
        QCOMPARE(o->Stored("Delay"), QByteArray(" 9"));
        answer = qfd::MessageAnswer::Yes;
        QTest::mouseClick(o->Control("cmdDefaults"), Qt::LeftButton);
        QCOMPARE(Edit("txtDelay")->text(), QString("5"));
        QCOMPARE(Edit("txtLatency")->text(), QString("100"));
        QCOMPARE(Edit("txtAlertText1")->text(), QString("Quorf"));
        QCOMPARE(o->Stored("Delay"), QByteArray(" 5"));
        QCOMPARE(o->Stored("QFtext"), QByteArray("Quorf"));
        QCOMPARE(o->Stored("Colour1"), QByteArray(" 7"));
    }

    void runnerShowsTheDialogModallyAndReturnsWhenClosed() {
        o->WriteIni("[Settings]\r\nDelay= 3\r\n");
        o->mirror.IniPath = o->IniPath().toStdString();
        qfd::LoadSettingsMirror(o->mirror);
        int refreshes = 0;
        bool checked = false;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = nullptr;
            QTRY_VERIFY((dialog = QApplication::activeModalWidget()) != nullptr);
            QCOMPARE(dialog->objectName(), QString("frmOptions"));
            QTRY_VERIFY(QApplication::focusWidget() != nullptr);
            QCOMPARE(QApplication::focusWidget()->objectName(), QString("cmdClose"));
            auto* delay = dialog->findChild<QLineEdit*>("txtDelay");
            QCOMPARE(delay->text(), QString("3"));
            delay->selectAll();
            delay->insert("8");
            checked = true;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        });
        qfd::RunOptionsDialog(nullptr, o->mirror, o->sounds.sounds, [&] { ++refreshes; });
        QVERIFY(checked);
        QCOMPARE(refreshes, 1);
        QCOMPARE(o->Stored("Delay"), QByteArray(" 8"));
        QCOMPARE(o->mirror.Delay, 8);
    }
};

QTEST_MAIN(OptionsDialogTest)
#include "options_dialog_test.moc"
