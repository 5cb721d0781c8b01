#include "qt/shell/splash_form.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>

#include "core/shell/about_texts.h"
#include "core/shell/splash_form_design.h"
#include "qt/alert/x11_window_hints.h"
#include "qt/shell/shell_resources.h"
#include "qt/shell/twips.h"

namespace qfd {
namespace {

constexpr std::uint32_t kBrown = 0x004080;
constexpr std::uint32_t kPeach = 0xC0E0FF;
constexpr std::uint32_t kBlue = 0xFF0000;
constexpr std::uint32_t kRed = 0x0000FF;

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

void SetBackground(QWidget* widget, std::uint32_t colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, FromColourValue(colour));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

const design::Control& Design(std::string_view name) {
    return design::Find(design::kSplashControls, name);
}

// A control's rectangle in pixels of the panel that holds it.
QRect PanelRect(std::string_view name) {
    const design::Rect& panel = Design("Frame1").rect;
    const design::Rect& r = Design(name).rect;
    return TwipsRect(r.left - panel.left, r.top - panel.top, r.width, r.height);
}

// Where a label sized to its text ends, in pixels of the panel.
int RightEdge(std::string_view name) {
    const design::Rect& r = Design(name).rect;
    return TwipsToPixels(r.left - Design("Frame1").rect.left + r.width);
}

Qt::Alignment AlignmentOf(design::Align align) {
    if (align == design::Align::Right) return Qt::AlignRight;
    return align == design::Align::Centre ? Qt::AlignHCenter : Qt::AlignLeft;
}

void SetTextColour(QWidget* widget, std::uint32_t colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, FromColourValue(colour));
    widget->setPalette(palette);
}

}  // namespace

SplashForm::SplashForm() {
    InitShellResources();
    setObjectName("frmSplash");
    // No caption, no border, not in the taskbar.
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    setWindowTitle(QString());
    setFixedSize(TwipsToPixels(design::kSplashForm.width),
                 TwipsToPixels(design::kSplashForm.height));
    SetBackground(this, kBrown);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);

    const design::Rect& panel = design::Find(design::kSplashControls, "Frame1").rect;
    frame_ = new QWidget(this);
    frame_->setObjectName("Frame1");
    frame_->setGeometry(TwipsRect(panel.left, panel.top, panel.width, panel.height));
    SetBackground(frame_, kPeach);

    logo_ = new QLabel(frame_);
    logo_->setObjectName("imgLogo");
    logo_->setGeometry(PanelRect("imgLogo"));

    platform_ = AddLabel("lblPlatform", Text(about::kPlatform));
    version_ = AddLabel("lblVersion", Text(Design("lblVersion").caption));
    email_ = AddLabel("lblEmail", Text(about::kEmailCaptionPrefix) + Text(about::kEmailAddress));
    website_ = AddLabel("lblWebsite", Text(about::kWebAddress));
    copyright_ = AddLabel("lblCopyright", Text(about::kCopyright));
    company_ = AddLabel("lblCompany", Text(about::kMakerName));
    warning_ = AddLabel("lblWarning", Text(about::kWarning));
    for (QLabel* link : {email_, website_}) {
        SetBackground(link, kPeach);
        SetLinkLook(link == email_ ? LinkLabel::Email : LinkLabel::Website, false);
    }
    frame_->setMouseTracking(true);
    frame_->installEventFilter(this);
    for (QWidget* control : frame_->findChildren<QWidget*>()) {
        control->setMouseTracking(true);
        control->installEventFilter(this);
    }
}

QLabel* SplashForm::AddLabel(const char* name, const QString& text) {
    const design::Control& design = Design(name);
    auto* label = new QLabel(text, frame_);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setFont(DesignFont(design.font ? *design.font : design::kSplashForm.font));
    label->setGeometry(PanelRect(name));
    label->setAlignment(AlignmentOf(design.align) | Qt::AlignTop);
    label->setContentsMargins(0, 0, 0, 0);
    return label;
}

void SplashForm::SizeToText(QLabel* label, int rightEdge) {
    const QSize hint = label->sizeHint();
    label->setGeometry(rightEdge - hint.width(), label->y(), hint.width(), hint.height());
}

void SplashForm::SetVersionText(const QString& text) {
    version_->setText(text);
    if (isVisible()) FitLabelsToText();
}

void SplashForm::FitLabelsToText() {
    SizeToText(platform_, RightEdge("lblPlatform"));
    SizeToText(version_, RightEdge("lblVersion"));
}

void SplashForm::SetLinkLook(LinkLabel label, bool hovered) {
    QLabel* link = label == LinkLabel::Email ? email_ : website_;
    QFont font = link->font();
    font.setUnderline(hovered);
    link->setFont(font);
    SetTextColour(link, hovered ? kRed : kBlue);
}

void SplashForm::ShowCentred() {
    // Where there is one screen, the server is not asked where the pointer is: a round trip
    // before the first paint.
    const QList<QScreen*> screens = QGuiApplication::screens();
    QScreen* screen =
        screens.size() == 1 ? screens.front() : QGuiApplication::screenAt(QCursor::pos());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    // Qt::Tool alone leaves the choice to the window manager; the hint is set before every map.
    if (!isVisible()) KeepOutOfTaskbar(this);
    show();
    // The window manager maps the window meanwhile, and nothing shows before the first paint: the
    // picture is decoded and the fonts (the system's font configuration, read the first time) are
    // loaded for the labels' sizes only now.
    if (logo_->pixmap().isNull()) logo_->setPixmap(LoadShellPicture(":/shell/logo.png"));
    FitLabelsToText();
}

void SplashForm::keyPressEvent(QKeyEvent* event) {
    // Only keys that produce a character: letters, digits, Enter, Escape, Backspace and the like;
    // arrows, function keys and modifiers alone give no text.
    if (!event->text().isEmpty() && presenter_) {
        presenter_->Form_KeyPress();
        return;
    }
    QWidget::keyPressEvent(event);
}

void SplashForm::mouseMoveEvent(QMouseEvent* event) {
    // Over the brown margin, the window itself.
    if (presenter_) presenter_->Form_MouseMove(event->position().x() * kTwipsPerPixel);
}

bool SplashForm::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) pressed_ = watched;
            return true;
        }
        case QEvent::MouseButtonRelease: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            auto* widget = static_cast<QWidget*>(watched);
            // A click: pressed and released over the same control with the left button.
            const bool click = mouse->button() == Qt::LeftButton && pressed_ == watched &&
                               widget->rect().contains(mouse->position().toPoint());
            if (mouse->button() == Qt::LeftButton) pressed_ = nullptr;
            if (click) Clicked(watched);
            return true;
        }
        case QEvent::MouseButtonDblClick:
            // A double click is a second press; its release makes the second click.
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) pressed_ = watched;
            return true;
        case QEvent::MouseMove:
            MovedOver(watched);
            return true;
        default:
            return QWidget::eventFilter(watched, event);
    }
}

void SplashForm::Clicked(QObject* control) {
    if (!presenter_) return;
    if (control == frame_)
        presenter_->Frame1_Click();
    else if (control == logo_)
        presenter_->imgLogo_Click();
    else if (control == platform_)
        presenter_->lblPlatform_Click();
    else if (control == version_)
        presenter_->lblVersion_Click();
    else if (control == copyright_)
        presenter_->lblCopyright_Click();
    else if (control == company_)
        presenter_->lblCompany_Click();
    else if (control == warning_)
        presenter_->lblWarning_Click();
    else if (control == website_)
        presenter_->lblWebsite_Click();
    else if (control == email_)
        presenter_->lblEmail_Click();
}

void SplashForm::MovedOver(QObject* control) {
    // Moves over the logo and the plain labels change nothing.
    if (!presenter_) return;
    if (control == frame_)
        presenter_->Frame1_MouseMove();
    else if (control == website_)
        presenter_->lblWebsite_MouseMove();
    else if (control == email_)
        presenter_->lblEmail_MouseMove();
}

}  // namespace qfd
