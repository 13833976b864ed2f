#pragma once
// The keyboard's lock lights, read from the X server.

#include <optional>

namespace quillora {

struct LockStates {
  bool caps = false;
  bool num = false;
  bool scroll = false;
};

// The lock states, or nothing where there is no X display (offscreen, Wayland).
std::optional<LockStates> ReadLockStates();

}  // namespace quillora
