#include "app/qt/lock_keys.h"

#include <QGuiApplication>

#ifdef MARVIST_HAVE_X11
#include <QtGui/qguiapplication_platform.h>
// The X11 headers come last: their macros (None, Bool, Status, ...) clash with Qt's names.
#include <X11/XKBlib.h>
#endif

namespace marvist::qt {

#if defined(MARVIST_HAVE_X11) && QT_CONFIG(xcb)

namespace {

std::optional<bool> indicator(Display* display, const char* name) {
    const Atom atom = XInternAtom(display, name, True);
    if (atom == 0) return std::nullopt;
    Bool on = False;
    if (!XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr)) return std::nullopt;
    return on != False;
}

}  // namespace

LockKeys read_lock_keys() {
    LockKeys keys;
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (display == nullptr) return keys;
    keys.num_lock = indicator(display, "Num Lock");
    keys.caps_lock = indicator(display, "Caps Lock");
    return keys;
}

#else

LockKeys read_lock_keys() {
    return {};
}

#endif

}  // namespace marvist::qt
