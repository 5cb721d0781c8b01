#include "qt/shell/message_box.h"

#include <QMessageBox>
#include <utility>

namespace qfd {
namespace {

MessageBoxHandler& Handler() {
    static MessageBoxHandler handler;
    return handler;
}

QMessageBox::Icon ToQt(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Critical:
            return QMessageBox::Critical;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::Exclamation:
            break;
    }
    return QMessageBox::Warning;
}

}  // namespace

void SetMessageBoxHandler(MessageBoxHandler handler) { Handler() = std::move(handler); }

MessageAnswer ShowMessageBox(QWidget* parent, const MessageRequest& request) {
    if (Handler()) return Handler()(request);
    QString text =
        QString::fromUtf8(request.text.data(), static_cast<qsizetype>(request.text.size()));
    text.replace("\r\n", "\n");
    QMessageBox box(
        ToQt(request.icon),
        QString::fromUtf8(request.title.data(), static_cast<qsizetype>(request.title.size())), text,
        QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    box.setObjectName("MessageBox");
    if (request.buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    const int result = box.exec();
    if (request.buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    return result == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

}  // namespace qfd
