// frmAlert on the offscreen platform: geometry, fonts, plain-text labels, clicks, flashing and the
// modal run that puts the installation's own texts back.
#include <QFontInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "qt/alert/alert_label_widget.h"
#include "qt/alert/alert_runner.h"
#include "qt/alert/alert_window_widget.h"
#include "tests/qt/alert/alert_test_support.h"

using qfd::AlertWindowWidget;

class AlertWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void geometry_data();
    void geometry();
    void windowIsBorderlessTopmostModalAndOutOfTheTaskbar();
    void fontsAreBoldArialOnOneLine();
    void layoutSplitsTheFreeHeightIntoThreeGaps();
    void markupAndControlCharactersAreShownLiterally();
    void aTextWiderThanTheWindowIsCentredAndCut();
    void clicks_data();
    void clicks();
    void escapeDoesNotClose();
    void flashesAndAsksForTheSound();
    void runAlertWindowReturnsAfterTheUnload();

  private:
    AlertWindowWidget* Open();
    void WriteIniFile(const QByteArray& bytes) const {
        QFile file(QString::fromStdString(mirror_.IniPath));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QLabel* Label(const char* name) const { return window_->findChild<QLabel*>(name); }
    static QColor Background(QWidget* w) { return w->palette().color(QPalette::Window); }
    static QColor TextColour(QWidget* w) { return w->palette().color(QPalette::WindowText); }

    std::unique_ptr<QTemporaryDir> sandbox_;
    std::unique_ptr<qfd::test::RecordedSounds> sounds_;
    qfd::SettingsMirror mirror_;
    std::unique_ptr<QWidget> owner_;
    std::unique_ptr<AlertWindowWidget> window_;  // goes before its owner
};

void AlertWindowTest::init() {
    sandbox_ = std::make_unique<QTemporaryDir>();
    sounds_ = std::make_unique<qfd::test::RecordedSounds>();
    mirror_ = qfd::SettingsMirror{};
    mirror_.IniPath = sandbox_->filePath(QStringLiteral("qfd.ini")).toStdString();
}

void AlertWindowTest::cleanup() {
    window_.reset();
    owner_.reset();
    sounds_.reset();
    sandbox_.reset();
}

AlertWindowWidget* AlertWindowTest::Open() {
    window_ = std::make_unique<AlertWindowWidget>(nullptr, mirror_, sounds_->sounds);
    window_->Open();
    if (!QTest::qWaitForWindowExposed(window_.get())) {
        qWarning("the alert window was not exposed");
    }
    return window_.get();
}

void AlertWindowTest::geometry_data() {
    QTest::addColumn<int>("small");
    QTest::addColumn<bool>("full");
    QTest::newRow("0") << 0 << true;
    QTest::newRow("1") << 1 << false;
    QTest::newRow("2") << 2 << true;
    QTest::newRow("-1") << -1 << true;
}

void AlertWindowTest::geometry() {
    QFETCH(int, small);
    QFETCH(bool, full);
    mirror_.Small = static_cast<std::int16_t>(small);
    Open();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    if (full) {
        QCOMPARE(window_->geometry(), screen);
        QVERIFY(window_->windowState() & Qt::WindowFullScreen);
    } else {
        QCOMPARE(window_->size(), QSize(300, 250));
        QCOMPARE(window_->geometry().center(), screen.center());
        QVERIFY(!(window_->windowState() & Qt::WindowFullScreen));
    }
}

void AlertWindowTest::windowIsBorderlessTopmostModalAndOutOfTheTaskbar() {
    owner_ = std::make_unique<QWidget>();
    window_ = std::make_unique<AlertWindowWidget>(owner_.get(), mirror_, sounds_->sounds);
    window_->Open();
    QCOMPARE(window_->objectName(), QStringLiteral("frmAlert"));
    QCOMPARE(window_->windowTitle(), QStringLiteral("Alert"));
    QCOMPARE(window_->parentWidget(), owner_.get());
    QCOMPARE(window_->windowType(), Qt::Tool);
    QVERIFY(window_->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(window_->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(window_->windowModality(), Qt::WindowModal);
    QVERIFY(window_->isVisible());
    // These four and no others.
    QCOMPARE(window_->findChildren<QLabel*>().size(), 3);
    QCOMPARE(window_->findChildren<QTimer*>().size(), 1);
    QCOMPARE(window_->findChild<QTimer*>("Timer1")->interval(), 500);
}

void AlertWindowTest::fontsAreBoldArialOnOneLine() {
    mirror_.SenderName = "Sam";
    for (const int small : {0, 1}) {
        mirror_.Small = static_cast<std::int16_t>(small);
        Open();
        const struct {
            const char* name;
            int points;
        } labels[] = {
            {"lblQuorf", small ? 20 : 72}, {"lblAlert", small ? 20 : 72}, {"lblMyName", 12}};
        for (const auto& l : labels) {
            QLabel* label = Label(l.name);
            QVERIFY(label);
            const QFontInfo info(label->font());
            // Arial, or its metric twin where Arial itself is not installed.
            QVERIFY2(info.family() == "Arial" || info.family() == "Liberation Sans",
                     qPrintable(info.family()));
            QVERIFY(info.bold());
            // Points against 96 logical pixels per inch, like the twips.
            QVERIFY(std::abs(info.pixelSize() - l.points * 96 / 72) <= 1);
            QCOMPARE(label->height(), QFontMetrics(label->font()).height());
            QVERIFY(!label->wordWrap());
        }
        window_->close();
    }
}

void AlertWindowTest::layoutSplitsTheFreeHeightIntoThreeGaps() {
    for (const char* top : {"Quorf", ""}) {
        mirror_.QFtext = top;
        mirror_.SenderName = "Network sender";
        Open();
        QLabel* q = Label("lblQuorf");
        QLabel* a = Label("lblAlert");
        QLabel* m = Label("lblMyName");
        const int above = q->y();
        const int between = a->y() - q->geometry().bottom() - 1;
        const int below = window_->height() - a->geometry().bottom() - 1;
        QVERIFY(std::abs(above - between) <= 1 && std::abs(between - below) <= 1);
        for (QLabel* l : {q, a, m}) {
            QVERIFY(std::abs(l->x() * 2 + l->width() - window_->width()) <= 1);
        }
        QCOMPARE(m->y(), 8);  // 120 twips
        window_->close();
    }
}

void AlertWindowTest::markupAndControlCharactersAreShownLiterally() {
    mirror_.QFtext = "<b>Big</b> &Q &amp;";
    mirror_.Atext = std::string("tab\tnew\nline\rnul") + '\0' + "\x1f end";
    mirror_.SenderName = "<a href='x'>Eve</a>";
    mirror_.Small = 1;
    Open();
    QCOMPARE(Label("lblQuorf")->text(), QStringLiteral("<b>Big</b> &Q &amp;"));
    QCOMPARE(Label("lblAlert")->text(), QStringLiteral("tab new line nul   end"));
    QCOMPARE(Label("lblMyName")->text(), QStringLiteral("<a href='x'>Eve</a>"));
    for (const char* name : {"lblQuorf", "lblAlert", "lblMyName"}) {
        QLabel* label = Label(name);
        QCOMPARE(label->textFormat(), Qt::PlainText);
        QVERIFY(!label->buddy());
        // What is drawn is the text as it stands: no markup, no access-key underline.
        QImage shown(label->size(), QImage::Format_ARGB32);
        shown.fill(Qt::transparent);
        label->render(&shown, QPoint(), QRegion(), QWidget::DrawChildren);
        QImage expected(label->size(), QImage::Format_ARGB32);
        expected.fill(Qt::transparent);
        {
            QPainter painter(&expected);
            painter.setFont(label->font());
            painter.setPen(TextColour(label));
            painter.drawText(expected.rect(), Qt::AlignCenter, label->text());
        }
        QCOMPARE(shown, expected);
    }
}

void AlertWindowTest::aTextWiderThanTheWindowIsCentredAndCut() {
    mirror_.Small = 1;
    mirror_.QFtext = "A top text that is much too wide for the small alert";
    Open();
    QLabel* q = Label("lblQuorf");
    QVERIFY(q->width() > window_->width());
    QVERIFY(q->x() < 0);
    QVERIFY(std::abs(q->x() * 2 + q->width() - window_->width()) <= 1);
    QCOMPARE(q->height(), QFontMetrics(q->font()).height());
}

void AlertWindowTest::clicks_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("closes");
    QTest::newRow("lblQuorf") << "lblQuorf" << Qt::LeftButton << true;
    QTest::newRow("lblAlert") << "lblAlert" << Qt::LeftButton << true;
    QTest::newRow("background") << "frmAlert" << Qt::LeftButton << true;
    QTest::newRow("lblMyName") << "lblMyName" << Qt::LeftButton << false;
    QTest::newRow("lblQuorf right") << "lblQuorf" << Qt::RightButton << false;
    QTest::newRow("background middle") << "frmAlert" << Qt::MiddleButton << false;
}

void AlertWindowTest::clicks() {
    QFETCH(QString, target);
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, closes);
    WriteIniFile("[Settings]\r\nQFtext=Own\r\n");
    mirror_.QFtext = "From afar";
    mirror_.SenderName = "A sender with a long name";
    Open();
    QSignalSpy unloaded(window_.get(), &AlertWindowWidget::unloaded);
    QWidget* widget = target == "frmAlert" ? window_.get() : window_->findChild<QWidget*>(target);
    QVERIFY(widget);
    // The background is clicked in a corner, away from the labels.
    const QPoint where =
        widget == window_.get() ? QPoint(2, window_->height() - 3) : widget->rect().center();
    QTest::mouseClick(widget, button, Qt::NoModifier, where);
    if (closes) {
        QTRY_VERIFY(!window_->isVisible());
        QCOMPARE(unloaded.count(), 1);
        QCOMPARE(mirror_.SenderName, std::string());
        QCOMPARE(mirror_.QFtext, std::string("Own"));
        QCOMPARE(mirror_.Atext, std::string("Alert"));
        QVERIFY(!sounds_->output->playing);
        QCOMPARE(sounds_->output->plays.back()->dataSize, std::size_t{0});
    } else {
        QTest::qWait(50);
        QVERIFY(window_->isVisible());
        QCOMPARE(unloaded.count(), 0);
        QCOMPARE(mirror_.SenderName, std::string("A sender with a long name"));
    }
}

void AlertWindowTest::escapeDoesNotClose() {
    Open();
    QTest::keyClick(window_.get(), Qt::Key_Escape);
    QTest::keyClick(window_.get(), Qt::Key_Return);
    QTest::keyClick(window_.get(), Qt::Key_Space);
    QVERIFY(window_->isVisible());
    QVERIFY(!window_->IsUnloaded());
}

void AlertWindowTest::flashesAndAsksForTheSound() {
    mirror_.Colour1 = 0x0000FF;                                // red
    mirror_.Colour2 = 0x000000;                                // black
    mirror_.Colour3 = 0x00FF00;                                // green
    mirror_.Colour4 = static_cast<std::int32_t>(0xFFFF0000u);  // blue; the top byte means nothing
    mirror_.Sound = "102";
    Open();
    QLabel* q = Label("lblQuorf");
    QCOMPARE(Background(window_.get()), QColor(Qt::black));
    QCOMPARE(TextColour(q), QColor(Qt::blue));
    QVERIFY(sounds_->output->plays.empty());

    QTRY_COMPARE(Background(window_.get()), QColor(Qt::red));
    QCOMPARE(TextColour(q), QColor(Qt::green));
    QCOMPARE(TextColour(Label("lblMyName")), QColor(Qt::green));
    QCOMPARE(sounds_->output->plays.size(), std::size_t{1});
    QCOMPARE(sounds_->output->plays.front()->dataSize, std::size_t{8125});
    sounds_->output->playing = false;  // the sound has been heard to its end

    QTRY_COMPARE(Background(window_.get()), QColor(Qt::black));
    QCOMPARE(TextColour(q), QColor(Qt::blue));
    QTRY_COMPARE(Background(window_.get()), QColor(Qt::red));
    QCOMPARE(sounds_->output->plays.size(), std::size_t{2});

    // What is painted follows the palette.
    const QImage shot = window_->grab().toImage();
    QCOMPARE(shot.pixelColor(1, 1), QColor(Qt::red));
}

void AlertWindowTest::runAlertWindowReturnsAfterTheUnload() {
    WriteIniFile("[Settings]\r\nAtext=Mine\r\n");
    mirror_.QFtext = "Theirs";
    mirror_.Atext = "Theirs too";
    mirror_.SenderName = "Ann";
    QWidget owner;
    bool clicked = false;
    QTimer::singleShot(0, [&] {
        auto* shown = owner.findChild<AlertWindowWidget*>();
        QVERIFY(shown);
        QTRY_VERIFY(shown->isVisible());
        QCOMPARE(shown->findChild<QLabel*>("lblQuorf")->text(), QStringLiteral("Theirs"));
        QCOMPARE(shown->findChild<QLabel*>("lblMyName")->text(), QStringLiteral("Ann"));
        QTest::mouseClick(shown->findChild<QLabel*>("lblAlert"), Qt::LeftButton);
        clicked = true;
    });
    qfd::RunAlertWindow(&owner, mirror_, sounds_->sounds);
    QVERIFY(clicked);
    QVERIFY(owner.findChildren<AlertWindowWidget*>().isEmpty());
    QCOMPARE(mirror_.QFtext, std::string("Quorf"));
    QCOMPARE(mirror_.Atext, std::string("Mine"));
    QCOMPARE(mirror_.SenderName, std::string());
    QVERIFY(!sounds_->output->playing);
}

QTEST_MAIN(AlertWindowTest)
#include "alert_window_test.moc"
