#include "qt/alert/x11_window_hints.h"

#include <QGuiApplication>
#include <QWidget>

#if QT_CONFIG(xcb)
#include <dlfcn.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#endif

namespace qfd {

#if QT_CONFIG(xcb)

namespace {

// The program does not link the X client library, so that it starts where there is no X at all;
// when Qt runs on X it has loaded the library already, and the few calls are looked up there.
struct Xcb {
    decltype(&xcb_intern_atom) internAtom = nullptr;
    decltype(&xcb_intern_atom_reply) internAtomReply = nullptr;
    decltype(&xcb_change_property) changeProperty = nullptr;
    decltype(&xcb_flush) flush = nullptr;

    bool Resolve(void* library) {
        internAtom = reinterpret_cast<decltype(internAtom)>(dlsym(library, "xcb_intern_atom"));
        internAtomReply =
            reinterpret_cast<decltype(internAtomReply)>(dlsym(library, "xcb_intern_atom_reply"));
        changeProperty =
            reinterpret_cast<decltype(changeProperty)>(dlsym(library, "xcb_change_property"));
        flush = reinterpret_cast<decltype(flush)>(dlsym(library, "xcb_flush"));
        return internAtom && internAtomReply && changeProperty && flush;
    }

    xcb_atom_t Atom(xcb_connection_t* connection, const char* name) const {
        const auto cookie =
            internAtom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
        xcb_intern_atom_reply_t* reply = internAtomReply(connection, cookie, nullptr);
        const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
        std::free(reply);
        return atom;
    }
};

}  // namespace

void KeepOutOfTaskbar(QWidget* window) {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (x11 == nullptr || x11->connection() == nullptr) {
        return;
    }
    void* library = dlopen("libxcb.so.1", RTLD_LAZY | RTLD_NOLOAD);
    if (library == nullptr) {
        return;
    }
    Xcb xcb;
    if (xcb.Resolve(library)) {
        xcb_connection_t* connection = x11->connection();
        const xcb_atom_t state = xcb.Atom(connection, "_NET_WM_STATE");
        const xcb_atom_t skip[] = {xcb.Atom(connection, "_NET_WM_STATE_SKIP_TASKBAR"),
                                   xcb.Atom(connection, "_NET_WM_STATE_SKIP_PAGER")};
        if (state != XCB_ATOM_NONE && skip[0] != XCB_ATOM_NONE && skip[1] != XCB_ATOM_NONE) {
            xcb.changeProperty(connection, XCB_PROP_MODE_APPEND,
                               static_cast<xcb_window_t>(window->winId()), state, XCB_ATOM_ATOM, 32,
                               2, skip);
            xcb.flush(connection);
        }
    }
    dlclose(library);
}

#else

void KeepOutOfTaskbar(QWidget*) {}

#endif

}  // namespace qfd
