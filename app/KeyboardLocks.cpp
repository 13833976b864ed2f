// SPDX-License-Identifier: GPL-3.0-or-later
// The X11 headers live here alone: their macros clash with Qt's names.
#include "app/KeyboardLocks.h"

#ifdef QUILLORA_WAYLAND
#include "app/WaylandLocks.h"
#endif
#include "common/DialogSize.h"

#include <QGuiApplication>
#include <array>

#include <X11/XKBlib.h>

namespace quillora {

LockLights &LockLights::instance() {
  static LockLights lights;
  return lights;
}

void LockLights::watch() {
#ifdef QUILLORA_WAYLAND
  if (OnWayland()) WatchWaylandLocks();
#endif
}

std::optional<LockStates> ReadLockStates() {
#ifdef QUILLORA_WAYLAND
  if (OnWayland()) return WaylandLockStates();
#endif
  auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  Display *display = x11 ? x11->display() : nullptr;
  if (!display) return std::nullopt;
  // The indicator names are asked for once, in one round trip; an atom the
  // server does not know yet is asked for again next time.
  static std::array<Atom, 3> atoms{};
  if (!atoms[0] || !atoms[1] || !atoms[2]) {
    std::array<char *, 3> names = {const_cast<char *>("Caps Lock"), const_cast<char *>("Num Lock"),
                                   const_cast<char *>("Scroll Lock")};
    XInternAtoms(display, names.data(), int(names.size()), True, atoms.data());
  }
  auto lit = [display](Atom atom) {
    Bool on = False;
    if (atom == None) return false;
    if (!XkbGetNamedIndicator(display, atom, nullptr, &on, nullptr, nullptr)) return false;
    return on == True;
  };
  return LockStates{lit(atoms[0]), lit(atoms[1]), lit(atoms[2])};
}

}  // namespace quillora
