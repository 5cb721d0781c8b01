// The real audio output, through the audio module as built beside qfd. Run alone (as ctest does)
// it checks that the module is loaded on the first sound and not before, and the cases without a
// sound server or without the module: every request returns 0 and the alert still opens, flashes
// and closes. Run by
// tests/e2e/alert_sound_test.sh with QFD_SOUND_SERVER_TEST=1 against a private sound server, its
// other functions play what that script records and measures; they report how long the output
// counted each sound as playing.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "core/alert/sound_ids.h"
#include "qt/alert/alert_runner.h"
#include "qt/alert/alert_window_widget.h"
#include "qt/alert/qt_audio_output.h"
#include "qt/alert/qt_sound_library.h"

namespace {

bool WithSoundServer() { return qEnvironmentVariableIntValue("QFD_SOUND_SERVER_TEST") == 1; }

// The module of this build tree: the tests are built in tests/qt, the program in qt.
QString BuiltModule() {
    return QCoreApplication::applicationDirPath() + "/../../qt/" + qfd::kAudioModuleName;
}

bool MultimediaMapped() {
    QFile maps("/proc/self/maps");
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libQt6Multimedia");
}

struct RealSounds {
    qfd::AudioOutput* output;
    std::unique_ptr<qfd::AlertSounds> sounds;

    explicit RealSounds(const QString& module = BuiltModule()) {
        auto out = qfd::CreateQtAudioOutput(module);
        output = out.get();
        sounds = std::make_unique<qfd::AlertSounds>(std::make_unique<qfd::QtSoundLibrary>(),
                                                    std::move(out));
    }
};

}  // namespace

class AlertSoundTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void theAudioLibrariesLoadOnTheFirstSound();
    void withoutTheModuleEveryRequestReturnsZero();
    void withoutASoundServerEveryRequestReturnsZero();
    void withoutASoundServerTheAlertStillShows();
    void whoopOnce();
    void weeooweeooAlertLeftOpenForSevenSeconds();
    void alertClosedInTheMiddleOfTheSound();

  private:
    void RunAlert(const char* sound, int openMs);
    QTemporaryDir dir_;
};

void AlertSoundTest::initTestCase() {
    if (!WithSoundServer()) {
        // No sound server for certain, whatever the machine runs.
        qputenv("PULSE_SERVER", QByteArray("unix:") + dir_.filePath("no-server").toUtf8());
    }
}

void AlertSoundTest::theAudioLibrariesLoadOnTheFirstSound() {
    QVERIFY2(QFile::exists(BuiltModule()), qPrintable(BuiltModule()));
    RealSounds real;
    QVERIFY(!MultimediaMapped());
    // Taken while the module loads: it counts as playing until the loaded output has it.
    QCOMPARE(real.sounds->PlayAlertSound(qfd::kSoundWhoop, false), 1);
    QVERIFY(real.output->IsPlaying());
    QTRY_VERIFY(MultimediaMapped());
    if (!WithSoundServer()) {
        QTRY_VERIFY(!real.output->IsPlaying());
    }
}

void AlertSoundTest::withoutTheModuleEveryRequestReturnsZero() {
    RealSounds real(dir_.filePath(qfd::kAudioModuleName));
    for (const std::int32_t id : {qfd::kSoundWhoop, qfd::kSoundNone}) {
        QCOMPARE(real.sounds->PlayAlertSound(id, false), 0);
        QCOMPARE(real.sounds->PlayAlertSound(id, true), 0);
        QVERIFY(!real.output->IsPlaying());
    }
}

void AlertSoundTest::withoutASoundServerEveryRequestReturnsZero() {
    if (WithSoundServer()) {
        QSKIP("a sound server is running");
    }
    RealSounds real;
    // The first request is taken while the module loads, and dropped once it finds no server.
    real.sounds->PlayAlertSound(qfd::kSoundWhoop, false);  // result depends on the load
    QTRY_VERIFY(!real.output->IsPlaying());
    for (const std::int32_t id :
         {qfd::kSoundWhoop, qfd::kSoundDeedoodeedoo, qfd::kSoundWeeooweeoo, qfd::kSoundNone}) {
        QCOMPARE(real.sounds->PlayAlertSound(id, false), 0);
        QCOMPARE(real.sounds->PlayAlertSound(id, true), 0);
        QVERIFY(!real.output->IsPlaying());
    }
}

void AlertSoundTest::withoutASoundServerTheAlertStillShows() {
    if (WithSoundServer()) {
        QSKIP("a sound server is running");
    }
    RealSounds real;
    qfd::SettingsMirror mirror;
    mirror.IniPath = dir_.filePath("qfd.ini").toStdString();
    bool flashed = false;
    QTimer::singleShot(0, [&] {
        qfd::AlertWindowWidget* window = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* alert = qobject_cast<qfd::AlertWindowWidget*>(w)) {
                window = alert;
            }
        }
        QVERIFY(window);
        // The first tick has asked for the sound (and been turned down) once flashState is no.
        QTRY_VERIFY(!window->Presenter().FlashState());
        flashed = true;
        QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    });
    qfd::RunAlertWindow(nullptr, mirror, *real.sounds);
    QVERIFY(flashed);
}

void AlertSoundTest::whoopOnce() {
    if (!WithSoundServer()) {
        QSKIP("needs the sound server of alert_sound_test.sh");
    }
    RealSounds real;
    QElapsedTimer clock;
    clock.start();
    QVERIFY(real.sounds->PlayAlertSound(qfd::kSoundWhoop, false) != 0);
    QVERIFY(real.output->IsPlaying());
    QTRY_VERIFY_WITH_TIMEOUT(!real.output->IsPlaying(), 5000);
    qInfo("Whoop counted as playing for %lld ms", clock.elapsed());
}

void AlertSoundTest::RunAlert(const char* sound, int openMs) {
    RealSounds real;
    qfd::SettingsMirror mirror;
    mirror.IniPath = dir_.filePath("qfd.ini").toStdString();
    mirror.Sound = sound;
    QWidget owner;
    QElapsedTimer clock;
    QTimer::singleShot(openMs, Qt::PreciseTimer, [&] {
        auto* window = owner.findChild<qfd::AlertWindowWidget*>();
        QVERIFY(window);
        QTest::mouseClick(window->findChild<QLabel*>("lblQuorf"), Qt::LeftButton);
    });
    clock.start();
    qfd::RunAlertWindow(&owner, mirror, *real.sounds);
    qInfo("alert open for %lld ms", clock.elapsed());
    QVERIFY(!real.output->IsPlaying());
}

void AlertSoundTest::weeooweeooAlertLeftOpenForSevenSeconds() {
    if (!WithSoundServer()) {
        QSKIP("needs the sound server of alert_sound_test.sh");
    }
    RunAlert("103", 7000);
}

void AlertSoundTest::alertClosedInTheMiddleOfTheSound() {
    if (!WithSoundServer()) {
        QSKIP("needs the sound server of alert_sound_test.sh");
    }
    RunAlert("103", 1500);
}

QTEST_MAIN(AlertSoundTest)
#include "alert_sound_test.moc"
