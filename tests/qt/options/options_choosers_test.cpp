// The real colour chooser and file-open dialog behind the seam: what they hand back on a choice
// and on a cancel, and the file dialog's rule that the chosen file's folder must exist.
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "qt/options/choosers.h"
#include "qt/shell/message_box.h"

class OptionsChoosersTest : public QObject {
    Q_OBJECT

  private:
    // Runs body on the modal dialog once it is up.
    static void WhenModal(std::function<void(QWidget*)> body) {
        QTimer::singleShot(0, [body] {
            QWidget* dialog = nullptr;
            QTRY_VERIFY((dialog = QApplication::activeModalWidget()) != nullptr);
            body(dialog);
        });
    }

  private slots:
    void cleanup() { qfd::SetMessageBoxHandler(nullptr); }

    void colourChooserOpensOnTheGivenColour() {
        WhenModal([](QWidget* w) {
            auto* dialog = qobject_cast<QColorDialog*>(w);
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QString("Choose a Colour"));
            QCOMPARE(dialog->currentColor(), QColor(255, 0, 0));
            dialog->setCurrentColor(QColor(0, 0, 255));
            static_cast<QDialog*>(dialog)->accept();
        });
        QCOMPARE(qfd::ShowColourChooser(nullptr, 255, "Choose a Colour"), 0xFF0000u);
    }

    void cancelledColourChooserGivesBackWhatItGot() {
        WhenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
        QCOMPARE(qfd::ShowColourChooser(nullptr, 0x00ABCDEF, "Choose a Colour"), 0x00ABCDEFu);
    }

    void fileDialogWantsAnExistingFolderButNotAnExistingFile() {
        QTemporaryDir peer;
        std::vector<qfd::MessageRequest> asked;
        qfd::SetMessageBoxHandler([&](const qfd::MessageRequest& r) {
            asked.push_back(r);
            return qfd::MessageAnswer::Ok;
        });
        const QString missing = peer.path() + "/gone/qfd";
        const QString chosen = peer.path() + "/qfd.exe";  // need not exist
        bool stayedOpen = false;
        WhenModal([&](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            QVERIFY(dialog);
            QCOMPARE(dialog->windowTitle(), QString("Choose QF Detect Application"));
            QCOMPARE(dialog->nameFilters(), QStringList{"Quorf Detector EXE (qfd qfd.exe)"});
            dialog->selectFile(missing);
            static_cast<QDialog*>(dialog)->accept();
            stayedOpen = dialog->isVisible();
            dialog->selectFile(chosen);
            static_cast<QDialog*>(dialog)->accept();
        });
        const std::string file = qfd::ShowFileChooser(
            nullptr, {"Choose QF Detect Application", "Quorf Detector EXE", {"qfd", "qfd.exe"}});
        QVERIFY(stayedOpen);
        QCOMPARE(asked.size(), std::size_t{1});
        QCOMPARE(asked[0].icon, qfd::MessageIcon::Exclamation);
        QVERIFY(QString::fromStdString(asked[0].text).contains("does not exist"));
        QCOMPARE(QString::fromStdString(file), chosen);
    }

    void cancelledFileDialogGivesNothing() {
        WhenModal([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
        QCOMPARE(qfd::ShowFileChooser(nullptr, {"t", "d", {"qfd"}}), std::string());
    }
};

QTEST_MAIN(OptionsChoosersTest)
#include "options_choosers_test.moc"
