// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard's lock lights: read from the X server on X11, and told by the
// compositor on Wayland.

#include <QObject>
#include <optional>

namespace quillora {

struct LockStates {
  bool caps = false;
  bool num = false;
  bool scroll = false;
};

// The lock states, or nothing where they cannot be read (offscreen).
std::optional<LockStates> ReadLockStates();

// Tells when the compositor tells of new lock states (on Wayland, also when
// a window of the program gains the keyboard after a lock was changed
// elsewhere). On X11 the program sees the lock keys itself.
class LockLights : public QObject {
  Q_OBJECT
 public:
  static LockLights &instance();
  // Starts listening to the compositor, where there is one to ask.
  void watch();

 signals:
  void changed();
};

}  // namespace quillora
