// The tray icon's popup menu and the modal windows its commands open.
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <functional>

#include "qt/shell/message_box.h"
#include "tests/qt/shell/shell_test_support.h"

namespace qfd::test {

class TrayMenuTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<StartedShell> shell;
    std::vector<MessageRequest> asked;
    MessageAnswer answer = MessageAnswer::No;

    TrayMenu& menu() { return shell->view.Menu(); }
    QAction* Item(const char* name) { return menu().Item(name); }
    void Tray(QSystemTrayIcon::ActivationReason reason) {
        emit shell->view.TrayIcon().activated(reason);
    }
    static QStringList Captions(const QMenu* m) {
        QStringList out;
        for (const QAction* a : m->actions()) {
            QString caption = a->isSeparator() ? "-" : a->text();
            if (!a->isVisible()) caption += " [hidden]";
            if (a->isVisible() && !a->isEnabled()) caption += " [disabled]";
            out << caption;
        }
        return out;
    }
    // A network submenu's items as the user sees them: it takes its entries as it opens.
    QStringList Opened(const char* name) {
        QMenu* submenu = Item(name)->menu();
        submenu->popup(QPoint(0, 0));
        const QStringList captions = Captions(submenu);
        submenu->close();
        return captions;
    }
    static QWidget* TopLevel(const char* name) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == name && w->isVisible()) return w;
        return nullptr;
    }
    void WriteIni(const std::string& text) {
        std::ofstream(shell->dir.filePath("qfd.ini").toStdString(), std::ios::binary) << text;
    }

  private slots:
    void init() {
        asked.clear();
        SetMessageBoxHandler([this](const MessageRequest& r) {
            asked.push_back(r);
            return answer;
        });
        shell = std::make_unique<StartedShell>();
    }
    void cleanup() {
        shell.reset();
        SetMessageBoxHandler(nullptr);
    }

    void treeCaptionsAndAccessKeys() {
        QVERIFY(shell->Start());
        QCOMPARE(menu().objectName(), QString("mPopUpSys"));
        QCOMPARE(Captions(&menu()),
                 (QStringList{"&Instant Alert", "&Delayed Alert", "&Network Alert", "-",
                              "&Options...", "&About...", "-", "E&xit", "&Cancel"}));
        QStringList names;
        for (const QAction* a : menu().actions()) names << a->objectName();
        QCOMPARE(names, (QStringList{"mInstant", "mDelayed", "mNetwork", "mSep", "mOptions",
                                     "mAbout", "mSep1", "mExit", "mCancel"}));
        // An empty detector list: the "(none)" states.
        const QMenu* network = Item("mNetwork")->menu();
        QCOMPARE(Opened("mNetwork"),
                 (QStringList{"&Send To All But...", "&Send To All", "-", "(None) [hidden]"}));
        // The separator shows though nothing visible follows it.
        QVERIFY(!network->actionGeometry(network->actions().at(2)).isEmpty());
        QCOMPARE(Opened("mAllBut"), (QStringList{"(none) [disabled]"}));
    }

    void networkMenusShowTheDetectorList() {
        WriteIni("[Network Settings]\r\nOption 0=/mnt/a&b/\r\nOption 4=//pc2/qfd/\r\n");
        QVERIFY(shell->Start());
        // "Send To All But..." opened first has its entries too.
        QCOMPARE(Opened("mAllBut"), (QStringList{"/mnt/a&&b/", "//pc2/qfd/"}));
        QCOMPARE(Opened("mNetwork"), (QStringList{"&Send To All But...", "&Send To All", "-",
                                                  "/mnt/a&&b/", "//pc2/qfd/"}));
        // The commands hand over the paths as stored, not as displayed.
        Item("mNetwork")->menu()->actions().at(3)->trigger();
        Item("mAllBut")->menu()->actions().at(1)->trigger();
        Item("mAll")->trigger();
        QCOMPARE(shell->sent, (std::vector<std::vector<std::string>>{
                                  {"/mnt/a&b/"}, {"/mnt/a&b/"}, {"/mnt/a&b/", "//pc2/qfd/"}}));
        // Back to one entry: the arrays shrink to their element 0.
        shell->view.ShowNetworkMenus(BuildNetworkMenus({"/only/"}));
        QCOMPARE(Opened("mNetwork"),
                 (QStringList{"&Send To All But...", "&Send To All", "-", "/only/"}));
        QCOMPARE(Opened("mAllBut"), (QStringList{"(none) [disabled]"}));
    }

    void rightClickOpensLeftClickShows() {
        QVERIFY(shell->Start());
        shell->view.Form().hide();
        Tray(QSystemTrayIcon::Context);
        QTRY_VERIFY(menu().isVisible());
        QVERIFY(!shell->view.Form().isVisible());
        Item("mCancel")->trigger();
        menu().close();
        QVERIFY(!shell->view.Form().isVisible());
        Tray(QSystemTrayIcon::MiddleClick);
        QVERIFY(!shell->view.Form().isVisible());
        Tray(QSystemTrayIcon::Trigger);
        QTRY_VERIFY(shell->view.Form().isVisible());
    }

    void nothingOpensWhileTheAlertIsOpen() {
        QVERIFY(shell->Start());
        int alerts = 0;
        bool timerRanDuring = true;
        shell->view.SetAlertRunner([&] {
            ++alerts;
            timerRanDuring = shell->view.Timer().isActive();
            Tray(QSystemTrayIcon::Trigger);
            Tray(QSystemTrayIcon::DoubleClick);
            Tray(QSystemTrayIcon::Context);
            Item("mInstant")->trigger();
            Item("mOptions")->trigger();
            Item("mExit")->trigger();
            QCoreApplication::processEvents();
            QVERIFY(!menu().isVisible());
            QVERIFY(!shell->view.Form().isVisible());
        });
        Tray(QSystemTrayIcon::Context);
        QTRY_VERIFY(menu().isVisible());
        Item("mInstant")->trigger();
        QCOMPARE(alerts, 1);
        QVERIFY(!timerRanDuring);
        QVERIFY(asked.empty());
        QVERIFY(!menu().isVisible());
        QVERIFY(shell->view.Timer().isActive());
        QCOMPARE(shell->view.Timer().interval(), 100);
    }

    // Runs check once the named modal window is up, from inside its nested event loop.
    void WhenOpen(const char* name, std::function<void(QWidget*)> check) {
        auto* poll = new QTimer(this);
        connect(poll, &QTimer::timeout, this, [poll, name, check] {
            if (QWidget* w = TopLevel(name)) {
                poll->deleteLater();
                poll->stop();
                check(w);
            }
        });
        poll->start(10);
    }

    void instantAlertShowsTheAlertWindow() {
        QVERIFY(shell->Start());
        bool seen = false;
        WhenOpen("frmAlert", [&](QWidget* alert) {
            seen = true;
            QVERIFY(!shell->view.Timer().isActive());
            QVERIFY(!shell->view.Form().isVisible());
            QCOMPARE(shell->window.TimerMode(), 1);
            QCOMPARE(alert->geometry(), alert->screen()->geometry());
            QTest::mouseClick(alert, Qt::LeftButton, {}, alert->rect().center());
        });
        Item("mInstant")->trigger();  // returns once the alert has closed
        QVERIFY(seen);
        QVERIFY(!TopLevel("frmAlert"));
        QVERIFY(shell->view.Timer().isActive());
        QCOMPARE(shell->window.TimerMode(), 0);
    }

    void optionsPauseTheTimerAndBlockTheTray() {
        QVERIFY(shell->Start());
        shell->window.mDelayed_Click();
        bool seen = false;
        WhenOpen("frmOptions", [&](QWidget* dialog) {
            seen = true;
            QCOMPARE(QApplication::activeModalWidget(), dialog);
            QVERIFY(!shell->view.Timer().isActive());
            Tray(QSystemTrayIcon::Context);
            QVERIFY(!menu().isVisible());
            auto* close = dialog->findChild<QPushButton*>("cmdClose");
            QVERIFY(close);
            QCOMPARE(close->text(), QString("&Close"));
            WriteIni("[Network Settings]\r\nOption 2=/added/\r\n");
            QTest::mouseClick(close, Qt::LeftButton);
        });
        Item("mOptions")->trigger();
        QVERIFY(seen);
        QVERIFY(shell->view.Timer().isActive());
        QCOMPARE(shell->view.Timer().interval(), 1000);  // the countdown goes on
        QCOMPARE(shell->window.TimerMode(), 2);
        // Closing the dialog rebuilds the network submenus from the file.
        QCOMPARE(Opened("mNetwork"),
                 (QStringList{"&Send To All But...", "&Send To All", "-", "/added/"}));
    }

    void exitAsksThenEnds() {
        QVERIFY(shell->Start());
        answer = MessageAnswer::No;
        Item("mExit")->trigger();
        QCOMPARE(asked.size(), size_t{1});
        QCOMPARE(asked[0].text, std::string("Are you sure you wish to close QF Detect?"));
        QCOMPARE(asked[0].title, std::string("QF Detect"));
        QVERIFY(asked[0].icon == MessageIcon::Question);
        QVERIFY(asked[0].buttons == MessageButtons::YesNo);
        QCOMPARE(shell->ends, 0);
        QTRY_VERIFY(shell->view.TrayIcon().isVisible());
        answer = MessageAnswer::Yes;
        Item("mExit")->trigger();
        QCOMPARE(shell->ends, 1);
        QVERIFY(!shell->view.TrayIcon().isVisible());
    }

    void trayIconDocksThoughSplashHidesUnpainted() {
        QVERIFY(shell->Start());
        shell->window.Form_KeyPress();
        QTRY_VERIFY(shell->view.TrayIcon().isVisible());
        QVERIFY(!shell->view.Form().isVisible());
    }

    void trayIconLooksRight() {
        QVERIFY(shell->Start());
        QSystemTrayIcon& tray = shell->view.TrayIcon();
        QTRY_VERIFY(tray.isVisible());
        QCOMPARE(tray.toolTip(), QString("QF Detect"));
        QList<QSize> sizes = tray.icon().availableSizes();
        std::sort(sizes.begin(), sizes.end(),
                  [](QSize a, QSize b) { return a.width() < b.width(); });
        QCOMPARE(sizes, (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
        QVERIFY(tray.contextMenu() == nullptr);  // the behaviour opens the menu, or does not
    }
};

}  // namespace qfd::test

QTEST_MAIN(qfd::test::TrayMenuTest)
#include "tray_menu_test.moc"
