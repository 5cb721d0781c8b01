#include "win32/common/modal_loop.h"

#include <windows.h>

namespace qfd {

void RunModalLoop(const std::function<bool()>& done) {
    MSG message;
    while (!done()) {
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (got < 0) return;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

}  // namespace qfd
