// Records from other installations whose texts and sender name are markup, bytes of a Windows
// installation or line breaks in disguise: the real shell's main timer shows them as plain text on
// one line, asks nothing, and the next alert shows this installation's own texts again.
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "core/settings/ini_access.h"
#include "qt/shell/message_box.h"
#include "tests/qt/shell/shell_test_support.h"

namespace qfd::test {

class HostileMailboxTextTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<StartedShell> shell;
    std::vector<MessageRequest> asked;
    QList<int> lines;  // of each label of the last alert closed

    static QWidget* OpenAlert() {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "frmAlert" && w->isVisible()) return w;
        return nullptr;
    }
    void WriteIni(const std::string& bytes) {
        std::ofstream(shell->dir.filePath("qfd.ini").toStdString(), std::ios::binary) << bytes;
    }
    std::string ReadIniBytes() {
        std::ifstream in(shell->dir.filePath("qfd.ini").toStdString(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // From now on, the next alert that opens has its three labels' texts taken and is clicked
    // away; the timer that does it is returned.
    std::unique_ptr<QTimer> CloseNextAlert(QStringList& texts) {
        texts.clear();
        lines.clear();
        auto poll = std::make_unique<QTimer>();
        connect(poll.get(), &QTimer::timeout, this, [this, &texts] {
            QWidget* alert = OpenAlert();
            if (!alert || !texts.isEmpty()) return;
            for (const char* name : {"lblQuorf", "lblAlert", "lblMyName"}) {
                auto* label = alert->findChild<QLabel*>(name);
                texts << (label && label->textFormat() == Qt::PlainText ? label->text()
                                                                        : "(not plain)");
                if (label) {
                    // How many lines the label's text takes when drawn.
                    const QFontMetrics metrics(label->font());
                    lines << metrics.boundingRect(QRect(0, 0, 1 << 20, 1 << 20), Qt::AlignCenter,
                                                  label->text())
                                     .height() /
                                 metrics.height();
                }
            }
            QTest::mouseClick(alert, Qt::LeftButton, {}, alert->rect().center());
        });
        poll->start(10);
        return poll;
    }
    std::string Read(const char* section, const char* key) {
        return ReadIni(shell->dir.filePath("qfd.ini").toStdString(), section, key, "(missing)");
    }

  private slots:
    void init() {
        asked.clear();
        SetMessageBoxHandler([this](const MessageRequest& r) {
            asked.push_back(r);
            return MessageAnswer::Ok;
        });
        shell = std::make_unique<StartedShell>();
    }
    void cleanup() {
        shell.reset();
        SetMessageBoxHandler(nullptr);
    }

    void receivedTextsAreShownLiterally_data() {
        QTest::addColumn<QByteArray>("top");
        QTest::addColumn<QByteArray>("bottom");
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("html") << QByteArray("<h1>Big</h1><img src=x>")
                              << QByteArray("&lt;b&gt; &amp; <br>x")
                              << QByteArray("<a href='http://example.invalid/'>Eve</a>")
                              << QStringList{"<h1>Big</h1><img src=x>", "&lt;b&gt; &amp; <br>x",
                                             "<a href='http://example.invalid/'>Eve</a>"};
        QTest::newRow("rich text markers and access keys")
            << QByteArray("<qt><b>rich</b></qt>") << QByteArray("&Save && run")
            << QByteArray("<!DOCTYPE html><html>")
            << QStringList{"<qt><b>rich</b></qt>", "&Save && run", "<!DOCTYPE html><html>"};
        QTest::newRow("windows-1252 bytes")
            << QByteArray("Qu\xF6rf") << QByteArray("\x93quoted\x94") << QByteArray("J\xFCrgen")
            << QStringList{QString::fromUtf8("Qu\xC3\xB6rf"),
                           QString::fromUtf8("\xE2\x80\x9Cquoted\xE2\x80\x9D"),
                           QString::fromUtf8("J\xC3\xBCrgen")};
        QTest::newRow("control bytes")
            << QByteArray("\x1b[31mred") << QByteArray("a\tb\x01") << QByteArray("\x07nam\x7f")
            << QStringList{" [31mred", "a b ", " nam\x7f"};
    }

    void receivedTextsAreShownLiterally() {
        QFETCH(QByteArray, top);
        QFETCH(QByteArray, bottom);
        QFETCH(QByteArray, name);
        QFETCH(QStringList, shown);
        WriteIni(
            "[Settings]\r\nQFtext=Own top\r\nAtext=Own bottom\r\n[Commands]\r\nDelay=0\r\n"
            "NetName=" +
            name.toStdString() + "\r\nQFtext=" + top.toStdString() +
            "\r\nAtext=" + bottom.toStdString() + "\r\nType=1\r\n");
        QVERIFY(shell->Start());
        QStringList texts;
        auto closer = CloseNextAlert(texts);
        QTRY_VERIFY_WITH_TIMEOUT(!texts.isEmpty() && !OpenAlert(), 10000);
        QCOMPARE(texts, shown);
        // The record stays as it came; only Type says it was shown. The own texts are untouched.
        QTRY_COMPARE(Read("Commands", "Type"), std::string("0"));
        QCOMPARE(Read("Commands", "QFtext"), top.toStdString());
        QCOMPARE(Read("Commands", "Atext"), bottom.toStdString());
        QCOMPARE(Read("Commands", "NetName"), name.toStdString());
        QCOMPARE(Read("Settings", "QFtext"), std::string("Own top"));
        QCOMPARE(Read("Settings", "Atext"), std::string("Own bottom"));
        QVERIFY(asked.empty());
        // The next alert is this installation's own again.
        closer = CloseNextAlert(texts);
        shell->view.Menu().Item("mInstant")->trigger();  // returns once the alert has closed
        QCOMPARE(texts, (QStringList{"Own top", "Own bottom", ""}));
    }

    // Characters that end a line without being CR or LF would put the text on two lines.
    void lineBreaksInDisguiseStayOnOneLine() {
        WriteIni(
            "[Commands]\r\nNetName=a\xC2\x85"
            "b\r\nQFtext=top\xE2\x80\xA8line\r\n"
            "Atext=par\xE2\x80\xA9graph\r\nType=1\r\n");
        QVERIFY(shell->Start());
        QStringList texts;
        auto closer = CloseNextAlert(texts);
        QTRY_VERIFY_WITH_TIMEOUT(!texts.isEmpty() && !OpenAlert(), 10000);
        QString counts;
        for (int n : lines) counts += QString::number(n) + " ";
        QVERIFY2(lines == (QList<int>{1, 1, 1}),
                 qPrintable("lines of the top, bottom and name labels: " + counts));
    }
};

}  // namespace qfd::test

QTEST_MAIN(qfd::test::HostileMailboxTextTest)
#include "hostile_mailbox_text_test.moc"
