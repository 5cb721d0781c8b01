#pragma once

#include <QWidget>
#include <functional>

#include "core/shell/splash_view.h"

namespace qfd {

// Every message box of the program goes through here, so tests can answer them.
MessageAnswer ShowMessageBox(QWidget* parent, const MessageRequest& request);

// Replaces the real message box (nullptr restores it). The handler runs where the box would be
// shown, inside the same call.
using MessageBoxHandler = std::function<MessageAnswer(const MessageRequest& request)>;
void SetMessageBoxHandler(MessageBoxHandler handler);

}  // namespace qfd
