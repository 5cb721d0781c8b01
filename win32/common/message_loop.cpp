#include "win32/common/message_loop.h"

#include <optional>

namespace qfd {
namespace {

// Dispatches every message that is waiting; the exit code once WM_QUIT comes.
std::optional<int> DispatchWaiting() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
    return std::nullopt;
}

}  // namespace

int RunMessageLoop(HANDLE wake, const std::function<void()>& onWake) {
    for (;;) {
        if (const std::optional<int> code = DispatchWaiting()) return *code;
        const DWORD count = wake != nullptr ? 1 : 0;
        // MWMO_INPUTAVAILABLE: messages that came while a handler ran end the wait as well.
        const DWORD woke =
            ::MsgWaitForMultipleObjectsEx(count, &wake, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (count == 1 && woke == WAIT_OBJECT_0) {
            onWake();
        } else if (woke == WAIT_FAILED) {
            // A handle that cannot be waited on is left out; the messages alone go on.
            if (wake == nullptr) ::WaitMessage();
            wake = nullptr;
        }
    }
}

}  // namespace qfd
