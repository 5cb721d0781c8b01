// The platform chosen before the application starts: X11 through Xwayland in a Wayland session
// that offers it, and never against the user's own choice.
#include <QTest>

#include "qt/shell/session_platform.h"

namespace qfd::test {

class SessionPlatformTest : public QObject {
    Q_OBJECT

  private slots:
    void ChoosesOnlyWhereTheUserDidNot_data() {
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("chosen");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("expected");
        const QByteArray xwayland = "xcb;wayland";
        QTest::newRow("wayland session with Xwayland")
            << QByteArray("wayland-0") << QByteArray(":0") << QByteArray() << QStringList()
            << xwayland;
        QTest::newRow("wayland session without Xwayland")
            << QByteArray("wayland-0") << QByteArray() << QByteArray() << QStringList()
            << QByteArray();
        QTest::newRow("X11 session")
            << QByteArray() << QByteArray(":0") << QByteArray() << QStringList() << QByteArray();
        QTest::newRow("platform in the environment")
            << QByteArray("wayland-0") << QByteArray(":0") << QByteArray("wayland") << QStringList()
            << QByteArray();
        QTest::newRow("-platform argument")
            << QByteArray("wayland-0") << QByteArray(":0") << QByteArray()
            << QStringList{"-platform", "wayland"} << QByteArray();
        QTest::newRow("--platform argument")
            << QByteArray("wayland-0") << QByteArray(":0") << QByteArray()
            << QStringList{"--platform", "wayland"} << QByteArray();
        QTest::newRow("platform only as a value")
            << QByteArray("wayland-0") << QByteArray(":0") << QByteArray()
            << QStringList{"-style", "platform"} << xwayland;
    }

    void ChoosesOnlyWhereTheUserDidNot() {
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, chosen);
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, expected);
        QCOMPARE(PreferredPlatform({wayland, display, chosen, arguments}), expected);
    }
};

}  // namespace qfd::test

QTEST_GUILESS_MAIN(qfd::test::SessionPlatformTest)
#include "session_platform_test.moc"
