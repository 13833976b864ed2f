// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lock lights on Wayland: a keyboard of the program's own on Qt's seat,
// whose keymap and modifiers, locks included, the compositor sends whenever
// they change while the program has the keyboard.

#include "app/KeyboardLocks.h"

namespace quillora {

// Asks the compositor for the keyboard; false where there is none to ask.
bool WatchWaylandLocks();
// The lock states last told, or nothing before the compositor told any.
std::optional<LockStates> WaylandLockStates();

}  // namespace quillora
