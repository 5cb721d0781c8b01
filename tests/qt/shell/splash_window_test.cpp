// The splash/about window on screen: its layout, colours and texts, and what clicks, keys and the
// mouse do to it.
#include <QDesktopServices>
#include <QFontMetrics>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include "core/network/alert_record.h"
#include "core/settings/ini_access.h"
#include "qt/shell/mailbox_wake.h"
#include "tests/qt/shell/shell_test_support.h"

namespace qfd::test {

// Takes the links the desktop would open.
class LinkCatcher : public QObject {
    Q_OBJECT
  public:
    LinkCatcher() {
        for (const char* scheme : {"https", "mailto"})
            QDesktopServices::setUrlHandler(scheme, this, "Open");
    }
    ~LinkCatcher() override {
        for (const char* scheme : {"https", "mailto"}) QDesktopServices::unsetUrlHandler(scheme);
    }
    QStringList opened;

  public slots:
    void Open(const QUrl& url) { opened << url.toString(); }
};

class SplashWindowTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<StartedShell> shell;
    SplashForm& form() { return shell->view.Form(); }
    template <typename T = QWidget>
    T* Control(const char* name) {
        T* control = form().findChild<T*>(name);
        if (!control) qFatal("no control %s", name);
        return control;
    }
    static QColor Background(QWidget* w) { return w->palette().color(QPalette::Window); }
    static QColor Foreground(QWidget* w) { return w->palette().color(QPalette::WindowText); }

  private slots:
    void init() {
        shell = std::make_unique<StartedShell>();
        QVERIFY(shell->Start());
        QVERIFY(QTest::qWaitForWindowExposed(&form()));
    }
    void cleanup() { shell.reset(); }

    void layoutFollowsTheDesign() {
        QCOMPARE(form().size(), QSize(487, 283));
        QVERIFY(form().windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(form().windowTitle(), QString());
        QCOMPARE(Control("Frame1")->geometry(), QRect(8, 8, 471, 266));
        QCOMPARE(Control("imgLogo")->geometry(), QRect(32, 8, 400, 159));
        QCOMPARE(Control<QLabel>("imgLogo")->pixmap().size(), QSize(400, 159));
        QCOMPARE(Control("lblEmail")->geometry(), QRect(24, 184, 177, 17));
        QCOMPARE(Control("lblWebsite")->geometry(), QRect(24, 208, 185, 17));
        QCOMPARE(Control("lblCopyright")->geometry(), QRect(304, 208, 161, 17));
        QCOMPARE(Control("lblCompany")->geometry(), QRect(304, 224, 161, 17));
        QCOMPARE(Control("lblWarning")->geometry(), QRect(2, 244, 465, 13));
        // Sized to their text, right edges where the design has them.
        for (const char* name : {"lblPlatform", "lblVersion"}) {
            QCOMPARE(Control(name)->geometry().right() + 1, 457);
        }
        QCOMPARE(Control("lblPlatform")->y(), 168);
        QCOMPARE(Control("lblVersion")->y(), 187);
        const QRect screen = form().screen()->geometry();
        QCOMPARE(form().geometry().center(), screen.center());
    }

    void coloursAndFonts() {
        QCOMPARE(Background(&form()), QColor(0x80, 0x40, 0x00));
        QCOMPARE(Background(Control("Frame1")), QColor(0xFF, 0xE0, 0xC0));
        for (const char* link : {"lblEmail", "lblWebsite"}) {
            QCOMPARE(Foreground(Control(link)), QColor(0, 0, 255));
            QCOMPARE(Background(Control(link)), QColor(0xFF, 0xE0, 0xC0));
            QVERIFY(Control(link)->autoFillBackground());
            QVERIFY(!Control(link)->font().underline());
        }
        for (const char* plain :
             {"lblPlatform", "lblVersion", "lblCopyright", "lblCompany", "lblWarning"})
            QVERIFY2(!Control(plain)->autoFillBackground(), plain);
        QCOMPARE(Control("lblPlatform")->font().pixelSize(), 16);
        QVERIFY(Control("lblPlatform")->font().bold());
        QCOMPARE(Control("lblVersion")->font().pixelSize(), 15);
        QCOMPARE(Control("lblWarning")->font().pixelSize(), 11);
        // Arial is served by its metric twin when missing.
        const QString arialFace = QFontInfo(Control("lblWarning")->font()).family();
        QVERIFY2(arialFace == "Arial" || arialFace == "Liberation Sans", qPrintable(arialFace));
    }

    void textsFitTheirLabels() {
        QCOMPARE(Control<QLabel>("lblVersion")->text(), QString("Version 1.1.2"));
        QCOMPARE(Control<QLabel>("lblPlatform")->text(), QString("Windows 98/ME/NT/2000/XP"));
        QVERIFY(Control<QLabel>("lblEmail")->text().startsWith("Email: "));
        QVERIFY(Control<QLabel>("lblEmail")->text().contains("@example.com"));
        QVERIFY(Control<QLabel>("lblWebsite")->text().contains("example.com"));
        for (QLabel* label : Control("Frame1")->findChildren<QLabel*>()) {
            if (label->text().isEmpty()) continue;
            const QFontMetrics metrics(label->font());
            QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->width(),
                     qPrintable(label->objectName()));
            QVERIFY2(metrics.height() <= label->height() + 1, qPrintable(label->objectName()));
        }
    }

    void clicksOnThePanelHide_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QPoint>("at");
        QTest::newRow("panel background") << "Frame1" << QPoint(460, 100);
        for (const char* name :
             {"imgLogo", "lblPlatform", "lblVersion", "lblCopyright", "lblCompany", "lblWarning"})
            QTest::newRow(name) << name << QPoint(3, 3);
    }
    void clicksOnThePanelHide() {
        QFETCH(QString, control);
        QFETCH(QPoint, at);
        QTest::mouseClick(Control(control.toLatin1()), Qt::LeftButton, {}, at);
        QTRY_VERIFY(!form().isVisible());
    }

    void clicksThatDoNotHide() {
        LinkCatcher links;
        QTest::mouseClick(&form(), Qt::LeftButton, {}, QPoint(3, 3));      // the margin
        QTest::mouseClick(&form(), Qt::LeftButton, {}, QPoint(480, 278));  // the margin
        QTest::mouseClick(Control("imgLogo"), Qt::RightButton, {}, QPoint(5, 5));
        QTest::mouseClick(Control("lblEmail"), Qt::LeftButton, {}, QPoint(5, 5));
        QTest::mouseClick(Control("lblWebsite"), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(form().isVisible());
        QCOMPARE(links.opened,
                 (QStringList{"mailto:quorf@example.com", "https://www.example.com/qfdetect/"}));
    }

    void characterKeysHide_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("hides");
        QTest::newRow("Escape") << int(Qt::Key_Escape) << true;
        QTest::newRow("Enter") << int(Qt::Key_Return) << true;
        QTest::newRow("letter") << int(Qt::Key_Q) << true;
        QTest::newRow("digit") << int(Qt::Key_7) << true;
        QTest::newRow("space") << int(Qt::Key_Space) << true;
        QTest::newRow("arrow") << int(Qt::Key_Left) << false;
        QTest::newRow("Shift") << int(Qt::Key_Shift) << false;
        QTest::newRow("F5") << int(Qt::Key_F5) << false;
    }
    void characterKeysHide() {
        QFETCH(int, key);
        QFETCH(bool, hides);
        form().activateWindow();
        QTest::keyClick(&form(), static_cast<Qt::Key>(key));
        if (hides)
            QTRY_VERIFY(!form().isVisible());
        else
            QVERIFY(form().isVisible());
    }

    void hoverHighlightsOneLinkAtATime() {
        QWidget* web = Control("lblWebsite");
        QWidget* mail = Control("lblEmail");
        QTest::mouseMove(web, QPoint(5, 5));
        QTRY_COMPARE(Foreground(web), QColor(255, 0, 0));
        QVERIFY(web->font().underline());
        QTest::mouseMove(mail, QPoint(5, 5));
        QTRY_COMPARE(Foreground(mail), QColor(255, 0, 0));
        QCOMPARE(Foreground(web), QColor(0, 0, 255));
        QVERIFY(!web->font().underline());
        // The logo changes nothing; the panel's background resets.
        QTest::mouseMove(Control("imgLogo"), QPoint(5, 5));
        QCOMPARE(Foreground(mail), QColor(255, 0, 0));
        QTest::mouseMove(Control("Frame1"), QPoint(460, 100));
        QTRY_COMPARE(Foreground(mail), QColor(0, 0, 255));
        QVERIFY(!mail->font().underline());
        QVERIFY(form().isVisible());
    }

    void hiddenWindowComesBackFromTheTray() {
        QTest::keyClick(&form(), Qt::Key_Escape);
        QTRY_VERIFY(!form().isVisible());
        emit shell->view.TrayIcon().activated(QSystemTrayIcon::Trigger);
        QTRY_VERIFY(form().isVisible());
        QTest::keyClick(&form(), Qt::Key_Escape);
        QTRY_VERIFY(!form().isVisible());
        emit shell->view.TrayIcon().activated(QSystemTrayIcon::DoubleClick);
        QTRY_VERIFY(form().isVisible());
    }

    // With the main timer stopped, only the wake can show what another installation sends.
    void sendsWakeTheShellOnceForABurst() {
        shell->view.Timer().stop();
        QStringList shown;
        shell->view.SetAlertRunner(
            [&] { shown << QString::fromStdString(shell->mirror.SenderName); });
        const MailboxWake wake(shell->window, shell->mirror.IniPath);
        QVERIFY(wake.Active());
        for (const char* name : {"Ann", "Bo", "Cy"}) {
            QVERIFY(
                SendNetworkAlert(shell->mirror.IniPath, AlertRecord{"0", name, "Hark", "Bunkum"})
                    .Ok());
        }
        QTRY_COMPARE(shown, QStringList{"Cy"});
        QCOMPARE(ReadIni(shell->mirror.IniPath, "Commands", "Type", ""), std::string("0"));
        // The clearing's own notices show nothing more.
        QCoreApplication::processEvents();
        QCOMPARE(shown, QStringList{"Cy"});
    }

    void splashHidesItselfAfterItsCountdown() {
        QTRY_VERIFY_WITH_TIMEOUT(!form().isVisible(), 20000);
        QVERIFY(shell->window.SplashDone());
        QVERIFY(shell->view.Timer().isActive());
        QCOMPARE(shell->view.Timer().interval(), 100);
    }
};

}  // namespace qfd::test

QTEST_MAIN(qfd::test::SplashWindowTest)
#include "splash_window_test.moc"
