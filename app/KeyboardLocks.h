#pragma once
// The keyboard's lock lights: read from the X server on X11, and told by the
// compositor on Wayland.

#include <functional>
#include <optional>

class QObject;

namespace quillora {

struct LockStates {
  bool caps = false;
  bool num = false;
  bool scroll = false;
};

// The lock states, or nothing where they cannot be read (offscreen).
std::optional<LockStates> ReadLockStates();

// Calls `changed` whenever the compositor tells of new lock states (on
// Wayland, also when a window of the program gains the keyboard after a lock
// was changed elsewhere). On X11 the program sees the lock keys itself.
void WatchLockStates(std::function<void()> changed);

}  // namespace quillora
