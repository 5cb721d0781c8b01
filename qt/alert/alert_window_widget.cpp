#include "qt/alert/alert_window_widget.h"

#include <QCloseEvent>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <cmath>

#include "core/alert/label_text.h"
#include "core/shell/twips_scale.h"
#include "qt/alert/alert_label_widget.h"
#include "qt/alert/x11_window_hints.h"

namespace qfd {

namespace {

constexpr double kPixelsPerPoint = 96.0 / 72.0;

// Colour values are 0x00BBGGRR; the top byte has no meaning for a plain colour and is ignored.
QColor ToQColor(std::uint32_t colour) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

QScreen* AlertScreen() { return QGuiApplication::primaryScreen(); }

}  // namespace

AlertWindowWidget::AlertWindowWidget(QWidget* owner, SettingsMirror& mirror, AlertSounds& sounds)
    : AlertWindowWidget(owner) {
    presenter_ = &own_.emplace(mirror, sounds, *this);
}

AlertWindowWidget::AlertWindowWidget(QWidget* owner, AlertWindow& leader, QScreen* screen)
    : AlertWindowWidget(owner) {
    presenter_ = &leader;
    screen_ = screen;
}

AlertWindowWidget::AlertWindowWidget(QWidget* owner)
    // A tool window: owned by the (hidden) main window and kept out of the taskbar.
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint),
      lblMyName_(new AlertLabelWidget(QStringLiteral("lblMyName"), this)),
      lblQuorf_(new AlertLabelWidget(QStringLiteral("lblQuorf"), this)),
      lblAlert_(new AlertLabelWidget(QStringLiteral("lblAlert"), this)),
      Timer1_(new QTimer(this)) {
    setObjectName(QStringLiteral("frmAlert"));
    setWindowTitle(QStringLiteral("Alert"));
    // Modal to the main window only: the tray icon stays live, so a click on it can bring the
    // alert back should it ever be minimised.
    setWindowModality(Qt::WindowModal);
    setAutoFillBackground(true);

    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Bold);
    for (AlertLabelWidget* label : {lblMyName_, lblQuorf_, lblAlert_}) {
        label->setFont(font);
    }
    // The sender line has no click handler: its clicks are taken and dropped.
    connect(lblQuorf_, &AlertLabelWidget::clicked, this, [this] { presenter_->lblQuorf_Click(); });
    connect(lblAlert_, &AlertLabelWidget::clicked, this, [this] { presenter_->lblAlert_Click(); });

    Timer1_->setObjectName(QStringLiteral("Timer1"));
    Timer1_->setTimerType(Qt::PreciseTimer);
    connect(Timer1_, &QTimer::timeout, this, [this] { presenter_->Timer1_Timer(); });
}

void AlertWindowWidget::Open() {
    presenter_->Form_Load();
    Place();
}

void AlertWindowWidget::ShowOnItsScreen() { Place(); }

QScreen* AlertWindowWidget::Screen() const { return screen_ ? screen_ : AlertScreen(); }

void AlertWindowWidget::Place() {
    const QRect screen = Screen()->geometry();
    if (windowSize_ == screen.size()) {
        // Both: a window manager honours the full-screen state (and then lets the window cover
        // panels and the tray); without one only the geometry counts.
        setGeometry(screen);
        setWindowState(windowState() | Qt::WindowFullScreen);
    } else {
        const QPoint topLeft(screen.x() + (screen.width() - windowSize_.width()) / 2,
                             screen.y() + (screen.height() - windowSize_.height()) / 2);
        setGeometry(QRect(topLeft, windowSize_));
    }
    KeepOutOfTaskbar(this);
    show();
    raise();
    activateWindow();
}

TwipSize AlertWindowWidget::ScreenSize() const {
    const QSize size = Screen()->geometry().size();
    return {size.width() * kTwipsPerPixel, size.height() * kTwipsPerPixel};
}

void AlertWindowWidget::SetWindowSize(TwipSize size) {
    windowSize_ = QSize(TwipsToPixels(size.width), TwipsToPixels(size.height));
    resize(windowSize_);
}

void AlertWindowWidget::SetFontSize(AlertLabel label, double points) {
    AlertLabelWidget* widget = Label(label);
    QFont font = widget->font();
    // Points are laid out against the same 96-per-inch scale as the twips.
    font.setPointSizeF(points * kPixelsPerPoint * 72.0 / widget->logicalDpiY());
    widget->setFont(font);
    FitToText(widget);
}

void AlertWindowWidget::SetCaption(AlertLabel label, const std::string& text) {
    AlertLabelWidget* widget = Label(label);
    widget->setText(QString::fromStdString(PlainLabelText(text)));
    FitToText(widget);
}

TwipSize AlertWindowWidget::LabelSize(AlertLabel label) const {
    const QSize size = Label(label)->size();
    return {size.width() * kTwipsPerPixel, size.height() * kTwipsPerPixel};
}

void AlertWindowWidget::SetLabelLeft(AlertLabel label, double left) {
    AlertLabelWidget* widget = Label(label);
    widget->move(TwipsToPixels(left), widget->y());
}

void AlertWindowWidget::SetLabelTop(AlertLabel label, double top) {
    AlertLabelWidget* widget = Label(label);
    widget->move(widget->x(), TwipsToPixels(top));
}

void AlertWindowWidget::SetTextColour(AlertLabel label, std::uint32_t colour) {
    AlertLabelWidget* widget = Label(label);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, ToQColor(colour));
    widget->setPalette(palette);
}

void AlertWindowWidget::SetBackColour(std::uint32_t colour) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ToQColor(colour));
    setPalette(palette);
}

void AlertWindowWidget::MakeTopmost() { setWindowFlag(Qt::WindowStaysOnTopHint, true); }

void AlertWindowWidget::EnableTimer1(int intervalMs) {
    Timer1_->setInterval(intervalMs);
    Timer1_->start();
}

void AlertWindowWidget::UnloadWindow() { close(); }

void AlertWindowWidget::mousePressEvent(QMouseEvent* event) {
    click_.Press(*event);
    event->accept();
}

void AlertWindowWidget::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (click_.Release(*event, rect())) presenter_->Form_Click();
}

void AlertWindowWidget::closeEvent(QCloseEvent* event) {
    event->accept();
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    if (!own_) {
        presenter_->Form_Click();  // another screen's window closes the alert with it
        return;
    }
    Timer1_->stop();
    presenter_->Form_Unload();
    emit unloaded();
}

AlertLabelWidget* AlertWindowWidget::Label(AlertLabel label) const {
    switch (label) {
        case AlertLabel::lblMyName:
            return lblMyName_;
        case AlertLabel::lblQuorf:
            return lblQuorf_;
        case AlertLabel::lblAlert:
            break;
    }
    return lblAlert_;
}

void AlertWindowWidget::FitToText(AlertLabelWidget* label) {
    // Exactly one line of text in the label's font; the label grows or shrinks with it.
    const QFontMetricsF metrics(label->font());
    const int width = static_cast<int>(std::ceil(metrics.horizontalAdvance(label->text())));
    label->resize(width, QFontMetrics(label->font()).height());
}

}  // namespace qfd
