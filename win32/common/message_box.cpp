#include "win32/common/message_box.h"

#include "win32/common/ansi_text.h"

namespace qfd {

UINT MessageBoxStyle(const MessageRequest& request) {
    UINT style = request.buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK;
    switch (request.icon) {
        case MessageIcon::Critical:
            style |= MB_ICONSTOP;
            break;
        case MessageIcon::Question:
            style |= MB_ICONQUESTION;
            break;
        case MessageIcon::Exclamation:
            style |= MB_ICONEXCLAMATION;
            break;
    }
    // Without an owner the box must still come up in front of whatever the user is doing.
    return style | MB_SETFOREGROUND;
}

MessageAnswer ShowMessageBox(HWND owner, const MessageRequest& request) {
    const std::string text = Utf8ToAnsi(request.text);
    const std::string title = Utf8ToAnsi(request.title);
    const int answer = MessageBoxA(owner, text.c_str(), title.c_str(), MessageBoxStyle(request));
    if (request.buttons == MessageButtons::Ok) return MessageAnswer::Ok;
    return answer == IDYES ? MessageAnswer::Yes : MessageAnswer::No;
}

}  // namespace qfd
