// The X11 headers live here alone: their macros clash with Qt's names.
#include "app/KeyboardLocks.h"

#include <QGuiApplication>

#include <X11/XKBlib.h>

namespace quillora {

std::optional<LockStates> ReadLockStates() {
  auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display *display = x11 ? x11->display() : nullptr;
  if (!display) return std::nullopt;
  auto lit = [display](const char *name) {
    Bool on = False;
    const Atom atom = XInternAtom(display, name, True);
    if (atom == None) return false;
    if (!XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr)) return false;
    return on == True;
  };
  return LockStates{lit("Caps Lock"), lit("Num Lock"), lit("Scroll Lock")};
}

}  // namespace quillora
