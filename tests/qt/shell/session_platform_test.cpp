// The platform chosen before the application starts: X11 through Xwayland in a Wayland session
// that offers it, and never against the user's own choice.
#include <QTest>

#include "qt/shell/session_platform.h"

namespace qfd::test {

class SessionPlatformTest : public QObject {
    Q_OBJECT

  private slots:
    void ChoosesOnlyWhereTheUserDidNot() {
        const QByteArray xwayland = "xcb;wayland";
        const struct {
            const char* name;
            SessionFacts facts;
            QByteArray expected;
        } cases[] = {
            {"Wayland with Xwayland", {"wayland-0", ":0", {}, {}}, xwayland},
            {"Wayland without Xwayland", {"wayland-0", {}, {}, {}}, {}},
            {"X11 session", {{}, ":0", {}, {}}, {}},
            {"QT_QPA_PLATFORM set", {"wayland-0", ":0", "wayland", {}}, {}},
            {"-platform", {"wayland-0", ":0", {}, {"-platform", "wayland"}}, {}},
            {"--platform", {"wayland-0", ":0", {}, {"--platform", "wayland"}}, {}},
            {"platform as a value", {"wayland-0", ":0", {}, {"-style", "platform"}}, xwayland},
        };
        for (const auto& c : cases) QVERIFY2(PreferredPlatform(c.facts) == c.expected, c.name);
    }
};

}  // namespace qfd::test

QTEST_GUILESS_MAIN(qfd::test::SessionPlatformTest)
#include "session_platform_test.moc"
