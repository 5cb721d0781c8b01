#include "qt/shell/qt_splash_view.h"

#include <QApplication>
#include <QCursor>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QUrl>
#include <cstdlib>
#include <utility>

#include "core/shell/shell_texts.h"
#include "qt/alert/alert_runner.h"
#include "qt/options/options_runner.h"
#include "qt/shell/idle_trim.h"
#include "qt/shell/message_box.h"
#include "qt/shell/program_icon.h"
#include "qt/shell/status_notifier_tray.h"

namespace qfd {

namespace {

// How long a notice stays, where the desktop lets the program say.
constexpr int kTrayNoticeShownMs = 10000;

}  // namespace

QtSplashView::QtSplashView(SettingsMirror& mirror, AlertSounds& sounds)
    : mirror_(mirror), sounds_(sounds) {
    const QIcon icon = ProgramIcon();  // decoded once for both
    tray_.setIcon(icon);
    tray_.setToolTip(QString::fromUtf8(kTrayTip.data(), static_cast<qsizetype>(kTrayTip.size())));
    form_.setWindowIcon(icon);
    // The splash countdown and the waiting times count ticks: keep them at the interval asked.
    timer_.setTimerType(Qt::PreciseTimer);

    // The menu is opened by the behaviour, not by the tray icon itself, so that it stays shut
    // while a modal window is open.
    connect(&tray_, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (presenter_) presenter_->TrayIcon_Message(TrayMessageFor(reason));
            });
    // Qt's X11 tray icon reports a right press that follows another quickly as a double click,
    // and drops it; it is a right click like the first.
    qApp->installEventFilter(this);
    // A StatusNotifierItem host shows the menu itself, from the one the program exports; an XEmbed
    // tray leaves it to the program (PopupMenu).
    if (StatusNotifierHostPresent()) {
        menu_.SetExported(true);
        tray_.setContextMenu(&menu_);
    }
    connect(&menu_, &QMenu::aboutToShow, this,
            [this] { menu_.SetCommandsEnabled(!presenter_ || presenter_->mPopUpSys_Opening()); });
    connect(&menu_, &QMenu::aboutToHide, this, [this] {
        if (std::exchange(hideAfterMenu_, false)) {
            form_.hide();
            TrimAfterSplash(form_);
        }
    });
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (presenter_) presenter_->Timer1_Timer();
    });
    receiptTimer_.setInterval(kReceiptLookMs);
    connect(&receiptTimer_, &QTimer::timeout, this, [this] {
        if (presenter_) presenter_->ReceiptTimer_Timer();
    });
    const auto command = [this](const char* name, void (SplashWindow::*handler)()) {
        connect(menu_.Item(name), &QAction::triggered, this, [this, handler] {
            if (presenter_) (presenter_->*handler)();
        });
    };
    command("mInstant", &SplashWindow::mInstant_Click);
    command("mDelayed", &SplashWindow::mDelayed_Click);
    command("mOptions", &SplashWindow::mOptions_Click);
    command("mAbout", &SplashWindow::mAbout_Click);
    command("mExit", &SplashWindow::mExit_Click);
    command("mCancel", &SplashWindow::mCancel_Click);
    command("mAll", &SplashWindow::mAll_Click);
    menu_.arrayItemChosen = [this](const QString& array, int index) {
        if (!presenter_) return;
        if (array == "mNetworkItem")
            presenter_->mNetworkItem_Click(index);
        else
            presenter_->mAllButItem_Click(index);
    };

    endProgram_ = [] { std::_Exit(0); };
    runAlert_ = [this] { RunAlertWindow(&form_, mirror_, sounds_); };
    runOptions_ = [this] {
        RunOptionsDialog(&form_, mirror_, sounds_, [this] {
            if (presenter_) presenter_->RefreshNetworkMenus();
        });
    };
}

QtSplashView::~QtSplashView() = default;

void QtSplashView::SetPresenter(SplashWindow* presenter) {
    presenter_ = presenter;
    form_.SetPresenter(presenter);
}

int QtSplashView::TrayMessageFor(QSystemTrayIcon::ActivationReason reason) {
    // On X11 Qt reports a click when the button goes down, not when it comes up; the message is
    // the one the click stands for.
    switch (reason) {
        case QSystemTrayIcon::Trigger:
            return tray_message::kLeftUp;
        case QSystemTrayIcon::DoubleClick:
            return tray_message::kLeftDoubleClick;
        case QSystemTrayIcon::Context:
            return tray_message::kRightUp;
        case QSystemTrayIcon::MiddleClick:
        case QSystemTrayIcon::Unknown:
            break;
    }
    return tray_message::kMouseMove;
}

void QtSplashView::SetVersionText(const std::string& text) {
    form_.SetVersionText(QString::fromStdString(text));
}

void QtSplashView::SetLinkLook(LinkLabel label, bool hovered) { form_.SetLinkLook(label, hovered); }

void QtSplashView::ShowWindow() {
    // Shown normally, as the platform's own show does it: the window takes the keyboard, so a
    // character key hides it. (A window kept out of the taskbar is not focused by every window
    // manager on its own.)
    hideAfterMenu_ = false;
    if (form_.isVisible()) return;
    form_.ShowCentred();
    form_.activateWindow();
}

void QtSplashView::HideWindow() {
    // An open popup menu closes when the program loses the keyboard, which hiding the window
    // that has it would do: the window hides once the menu has closed.
    if (menu_.isVisible() && form_.isVisible()) {
        hideAfterMenu_ = true;
        return;
    }
    form_.hide();
    TrimAfterSplash(form_);
}

bool QtSplashView::IsTrayIconWidget(QObject* object) const {
    if (!object->isWidgetType() || !tray_.isVisible()) return false;
    const QWidget* window = static_cast<QWidget*>(object)->window();
    return QRect(window->mapToGlobal(QPoint(0, 0)), window->size()) == tray_.geometry();
}

bool QtSplashView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &form_ && !splashPainted_ &&
        (event->type() == QEvent::Paint || event->type() == QEvent::Hide)) {
        // Queued, so that the paint is on screen first.
        QTimer::singleShot(0, this, [this] { SplashPainted(); });
    }
    if (event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton &&
        IsTrayIconWidget(watched) && presenter_) {
        presenter_->TrayIcon_Message(TrayMessageFor(QSystemTrayIcon::Context));
    }
    return QObject::eventFilter(watched, event);
}

void QtSplashView::RestoreWindow() {
    if (form_.isMinimized()) form_.setWindowState(form_.windowState() & ~Qt::WindowMinimized);
}

void QtSplashView::BringToForeground() {
    // A hidden window comes to the foreground by being shown, right after.
    if (!form_.isVisible()) return;
    form_.raise();
    form_.activateWindow();
}

void QtSplashView::BringModalToFront() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    if (modal->isMinimized()) modal->setWindowState(modal->windowState() & ~Qt::WindowMinimized);
    modal->raise();
    modal->activateWindow();
}

void QtSplashView::SetTimerInterval(int milliseconds) { timer_.setInterval(milliseconds); }

void QtSplashView::SetTimerEnabled(bool enabled) {
    if (enabled)
        timer_.start();
    else
        timer_.stop();
}

void QtSplashView::SetReceiptTimerEnabled(bool enabled) {
    if (enabled)
        receiptTimer_.start();
    else
        receiptTimer_.stop();
}

void QtSplashView::ShowTrayNotice(const TrayNotice& notice) {
    if (!QSystemTrayIcon::supportsMessages()) return;
    tray_.showMessage(QString::fromStdString(notice.title), QString::fromStdString(notice.text),
                      QSystemTrayIcon::Information, kTrayNoticeShownMs);
}

void QtSplashView::CloseMenu() {
    // A modal window opened by the timer must not leave the popup menu open behind it.
    menu_.close();
    for (QMenu* sub : menu_.findChildren<QMenu*>()) sub->close();
}

void QtSplashView::ShowAlertModal() {
    CloseMenu();
    runAlert_();
}

void QtSplashView::ShowOptionsModal() {
    CloseMenu();
    runOptions_();
}

MessageAnswer QtSplashView::ShowMessage(const MessageRequest& request) {
    return ShowMessageBox(nullptr, request);
}

void QtSplashView::OpenLink(const std::string& target) {
    QDesktopServices::openUrl(QUrl(QString::fromStdString(target)));  // result ignored
}

void QtSplashView::AddTrayIcon() {
    trayIconAsked_ = true;
    if (splashPainted_) {
        tray_.show();
        return;
    }
    // A splash that the window manager does not map at once (on another desktop, say) must not
    // keep the icon away.
    QTimer::singleShot(kTrayIconLatest, this, [this] { SplashPainted(); });
}

void QtSplashView::SplashPainted() {
    splashPainted_ = true;
    // Without a tray host the icon waits and docks as soon as one appears.
    if (trayIconAsked_) tray_.show();
}

void QtSplashView::RemoveTrayIcon() {
    trayIconAsked_ = false;
    tray_.hide();
}

void QtSplashView::ShowNetworkMenus(const NetworkMenus& menus) { menu_.ShowNetworkMenus(menus); }

void QtSplashView::PopupMenu() { menu_.popup(QCursor::pos()); }

void QtSplashView::EndProgram() { endProgram_(); }

}  // namespace qfd
