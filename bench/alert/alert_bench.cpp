// Measures the alert window in one run, on whatever platform Qt is given (an X server for figures
// that mean something):
//   1. show to first paint: a minimal frameless full-screen window against frmAlert (load + show),
//      alternately, the first of each kept apart as the cold start;
//   2. the flash period: the time between Timer1's ticks over 20 ticks, and between the paints
//      that show the colour changes.
// Usage: xvfb-run -a -s "-screen 0 1024x768x24" alert_bench [rounds] [--fonts-loaded]
// --fonts-loaded lays out a line of bold Arial first, as the program's splash window has done long
// before its first alert, so that the cold figure leaves out the font database's one-off start.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <vector>

#include "qt/alert/alert_window_widget.h"
#include "qt/alert/qt_audio_output.h"

namespace {

QElapsedTimer gClock;

double NowMs() { return static_cast<double>(gClock.nsecsElapsed()) / 1e6; }

// Notes the time of the first event of a type that reaches an object.
class FirstEvent : public QObject {
  public:
    FirstEvent(QObject* target, QEvent::Type type) : type_(type) {
        target->installEventFilter(this);
    }
    double at = -1;
    std::vector<double> all;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == type_) {
            const double now = NowMs();
            if (at < 0) {
                at = now;
            }
            all.push_back(now);
        }
        return false;
    }

  private:
    QEvent::Type type_;
};

void WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
    QElapsedTimer waited;
    waited.start();
    while (!done() && waited.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

double MinimalWindow() {
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setAutoFillBackground(true);
    FirstEvent paint(&window, QEvent::Paint);
    const double start = NowMs();
    window.setGeometry(QGuiApplication::primaryScreen()->geometry());
    window.showFullScreen();
    WaitUntil([&] { return paint.at >= 0; });
    return paint.at - start;
}

double AlertWindow(qfd::AlertSounds& sounds, qfd::SettingsMirror& mirror) {
    qfd::AlertWindowWidget window(nullptr, mirror, sounds);
    FirstEvent paint(&window, QEvent::Paint);
    const double start = NowMs();
    window.Open();
    WaitUntil([&] { return paint.at >= 0; });
    window.close();
    return paint.at - start;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

void Report(const char* what, const std::vector<double>& periods) {
    double sum = 0;
    for (double p : periods) {
        sum += p;
    }
    std::printf("%s over %zu ticks: mean %.1f ms, min %.1f ms, max %.1f ms\n", what, periods.size(),
                sum / static_cast<double>(periods.size()),
                *std::min_element(periods.begin(), periods.end()),
                *std::max_element(periods.begin(), periods.end()));
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(2, std::atoi(argv[1])) : 21;
    if (argc > 2 && std::strcmp(argv[2], "--fonts-loaded") == 0) {
        QFont font(QStringLiteral("Arial"));
        font.setBold(true);
        std::printf("fonts loaded: %s\n", qPrintable(QFontInfo(font).family()));
        (void)QFontMetrics(font).horizontalAdvance(QStringLiteral("Quorf"));
    }
    gClock.start();
    auto sounds = qfd::CreateQtAlertSounds();
    qfd::SettingsMirror mirror;  // defaults; no settings file, so the unload finds the defaults
    mirror.IniPath = "/nonexistent/qfd.ini";
    mirror.Sound = "104";

    std::vector<double> minimal;
    std::vector<double> alert;
    for (int i = 0; i < rounds; ++i) {
        minimal.push_back(MinimalWindow());
        alert.push_back(AlertWindow(*sounds, mirror));
    }
    std::printf("platform %s, screen %dx%d, %d rounds\n",
                qPrintable(QGuiApplication::platformName()),
                QGuiApplication::primaryScreen()->size().width(),
                QGuiApplication::primaryScreen()->size().height(), rounds);
    std::printf("show to first paint, cold: minimal %.2f ms, alert %.2f ms\n", minimal.front(),
                alert.front());
    const double minimalWarm = Median({minimal.begin() + 1, minimal.end()});
    const double alertWarm = Median({alert.begin() + 1, alert.end()});
    std::printf("show to first paint, median of the rest: minimal %.2f ms, alert %.2f ms (%.2fx)\n",
                minimalWarm, alertWarm, alertWarm / minimalWarm);

    // Flash period: 20 ticks after the first.
    qfd::AlertWindowWidget window(nullptr, mirror, *sounds);
    auto* timer = window.findChild<QTimer*>(QStringLiteral("Timer1"));
    FirstEvent ticks(timer, QEvent::Timer);
    FirstEvent paints(&window, QEvent::Paint);
    const double opened = NowMs();
    window.Open();
    WaitUntil([&] { return ticks.all.size() >= 21; }, 15000);
    const double firstTickAfter = ticks.all.empty() ? -1 : ticks.all.front() - opened;
    std::vector<double> tickPeriods;
    for (std::size_t i = 1; i < ticks.all.size() && i <= 20; ++i) {
        tickPeriods.push_back(ticks.all[i] - ticks.all[i - 1]);
    }
    // The paint that follows each tick shows its colours.
    std::vector<double> shown;
    for (double tick : ticks.all) {
        const auto next = std::lower_bound(paints.all.begin(), paints.all.end(), tick);
        if (next != paints.all.end()) {
            shown.push_back(*next);
        }
    }
    std::vector<double> paintPeriods;
    for (std::size_t i = 1; i < shown.size() && i <= 20; ++i) {
        paintPeriods.push_back(shown[i] - shown[i - 1]);
    }
    window.close();
    std::printf("first tick %.1f ms after the show\n", firstTickAfter);
    Report("flash period (Timer1 ticks)", tickPeriods);
    Report("flash period (painted colour changes)", paintPeriods);
    const double total = ticks.all.size() > 20 ? ticks.all[20] - ticks.all[0] : 0;
    std::printf("20 ticks took %.1f ms: %.2f ms a tick\n", total, total / 20);
    return 0;
}
