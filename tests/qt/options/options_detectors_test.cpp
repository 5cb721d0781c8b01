// "&Browse..." and "&Remove" on the real dialog, with the file chooser and the message boxes
// answered through their seams.
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "qt/options/choosers.h"
#include "qt/shell/message_box.h"
#include "tests/qt/options/options_test_support.h"

using qfd::test::OpenOptions;

class OptionsDetectorsTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<OpenOptions> o;
    std::vector<qfd::MessageRequest> asked;
    std::vector<qfd::FileChooserRequest> chooserRequests;
    qfd::MessageAnswer answer = qfd::MessageAnswer::No;
    std::string chosenFile;

    QListWidget* List() { return o->Control<QListWidget>("lstNetwork"); }
    QStringList Rows() {
        QStringList rows;
        for (int i = 0; i < List()->count(); ++i) rows << List()->item(i)->text();
        return rows;
    }
    void Click(const char* name) { QTest::mouseClick(o->Control(name), Qt::LeftButton); }
    void SelectRow(int row) {
        QListWidget* list = List();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

  private slots:
    void init() {
        o = std::make_unique<OpenOptions>();
        asked.clear();
        chooserRequests.clear();
        answer = qfd::MessageAnswer::No;
        chosenFile.clear();
        qfd::SetMessageBoxHandler([this](const qfd::MessageRequest& r) {
            asked.push_back(r);
            return answer;
        });
        qfd::SetFileChooserHandler([this](const qfd::FileChooserRequest& r) {
            chooserRequests.push_back(r);
            return chosenFile;
        });
    }
    void cleanup() {
        o.reset();
        qfd::SetMessageBoxHandler(nullptr);
        qfd::SetFileChooserHandler(nullptr);
    }

    void addThroughTheChooser() {
        QVERIFY(o->Open("[Settings]\r\nmyName=me\r\n"));
        QCOMPARE(Rows(), QStringList{"(none)"});
        chosenFile = "/mnt/pc2/qfd/qfd";
        Click("cmdBrowse");
        QCOMPARE(chooserRequests.size(), std::size_t{1});
        QCOMPARE(chooserRequests[0].title, std::string("Choose QF Detect Application"));
        QVERIFY(asked.empty());
        QCOMPARE(Rows(), QStringList{"/mnt/pc2/qfd/"});
        QVERIFY(o->Ini().contains("[Network Settings]\r\nOption 0=/mnt/pc2/qfd/\r\n"));
        QCOMPARE(o->menuRefreshes, 1);
        // A Windows installation on a share, by its program file's name there.
        chosenFile = "/mnt/win/Quorf Detect/qfd.exe";
        Click("cmdBrowse");
        QCOMPARE(Rows(), (QStringList{"/mnt/pc2/qfd/", "/mnt/win/Quorf Detect/"}));
        QVERIFY(o->Ini().contains("Option 1=/mnt/win/Quorf Detect/\r\n"));
        QCOMPARE(o->menuRefreshes, 2);
    }

    void cancelledChooserChangesNothing() {
        QVERIFY(o->Open("[Network Settings]\r\nOption 3=/a/\r\n"));
        const QByteArray before = o->Ini();
        Click("cmdBrowse");
        QCOMPARE(chooserRequests.size(), std::size_t{1});
        QVERIFY(asked.empty());
        QCOMPARE(Rows(), QStringList{"/a/"});
        QCOMPARE(o->Ini(), before);
        QCOMPARE(o->menuRefreshes, 0);
    }

    void refusalsUseTheExclamationIcon() {
        QVERIFY(o->Open("[Network Settings]\r\nOption 0=/a/\r\n"));
        chosenFile = (o->dir.path() + "/qfd").toStdString();
        Click("cmdBrowse");
        chosenFile = "/a/qfd";
        Click("cmdBrowse");
        QCOMPARE(asked.size(), std::size_t{2});
        QCOMPARE(asked[0].text,
                 std::string("Hey! You can't add yourself. That's unnatural! You larrikan!"));
        QCOMPARE(asked[1].text, std::string("Hey! That's already in the list. You scamp!"));
        for (const auto& r : asked) {
            QCOMPARE(r.title, std::string("QF Detect"));
            QCOMPARE(r.icon, qfd::MessageIcon::Exclamation);
            QCOMPARE(r.buttons, qfd::MessageButtons::Ok);
        }
        QCOMPARE(Rows(), QStringList{"/a/"});
    }

    void removeAnsweredNoThenYes() {
        QVERIFY(o->Open("[Network Settings]\r\nOption 0=/a/\r\nOption 1=/b/\r\nOption 2=/b/\r\n"));
        Click("cmdRemove");  // nothing selected
        QCOMPARE(asked.size(), std::size_t{1});
        QCOMPARE(asked[0].text, std::string("You can't get rid of nothing! You scallywag!"));
        QCOMPARE(asked[0].icon, qfd::MessageIcon::Exclamation);

        SelectRow(1);
        Click("cmdRemove");
        QCOMPARE(asked.size(), std::size_t{2});
        QCOMPARE(asked[1].text, std::string("Are you sure you want to get rid of '/b/'?"));
        QCOMPARE(asked[1].icon, qfd::MessageIcon::Question);
        QCOMPARE(asked[1].buttons, qfd::MessageButtons::YesNo);
        QCOMPARE(asked[1].title, std::string("QF Detect"));
        QCOMPARE(Rows(), (QStringList{"/a/", "/b/", "/b/"}));
        QCOMPARE(o->menuRefreshes, 0);

        answer = qfd::MessageAnswer::Yes;
        Click("cmdRemove");
        QCOMPARE(Rows(), QStringList{"/a/"});
        QVERIFY(o->Ini().contains("Option 0=/a/\r\nOption 1=\r\nOption 2=\r\n"));
        QCOMPARE(o->menuRefreshes, 1);
    }

    void pathsAreShownAsTextAndHandedBackAsStored() {
        // A path written by a Windows installation, in its own code page.
        QVERIFY(o->Open("[Network Settings]\r\nOption 0=/caf\xE9/\r\n"));
        QCOMPARE(Rows(), QStringList{QString::fromUtf8("/caf\xC3\xA9/")});
        SelectRow(0);
        answer = qfd::MessageAnswer::Yes;
        Click("cmdRemove");
        QCOMPARE(Rows(), QStringList{"(none)"});
        QVERIFY(o->Ini().contains("Option 0=\r\n"));
    }
};

QTEST_MAIN(OptionsDetectorsTest)
#include "options_detectors_test.moc"
