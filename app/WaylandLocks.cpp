// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WaylandLocks.h"

#include <qpa/qplatformnativeinterface.h>
#include <QGuiApplication>

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

namespace quillora {

namespace {

struct Keyboard {
  xkb_context *context = nullptr;
  xkb_keymap *keymap = nullptr;
  xkb_state *state = nullptr;
  std::optional<LockStates> locks;
};

Keyboard &keyboard() {
  static Keyboard k;
  return k;
}

void onKeymap(void *, wl_keyboard *, uint32_t format, int32_t fd, uint32_t size) {
  Keyboard &k = keyboard();
  void *text =
      format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 ? mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0) : MAP_FAILED;
  ::close(fd);
  if (text == MAP_FAILED) return;
  xkb_keymap *keymap = xkb_keymap_new_from_string(k.context, static_cast<const char *>(text), XKB_KEYMAP_FORMAT_TEXT_V1,
                                                  XKB_KEYMAP_COMPILE_NO_FLAGS);
  munmap(text, size);
  if (!keymap) return;
  xkb_state_unref(k.state);
  xkb_keymap_unref(k.keymap);
  k.keymap = keymap;
  k.state = xkb_state_new(keymap);
}

void onModifiers(void *, wl_keyboard *, uint32_t, uint32_t depressed, uint32_t latched, uint32_t locked,
                 uint32_t group) {
  Keyboard &k = keyboard();
  if (!k.state) return;
  xkb_state_update_mask(k.state, depressed, latched, locked, 0, 0, group);
  // A keymap without a light of that name (no Scroll Lock, say) reads as off.
  const auto lit = [&k](const char *name) { return xkb_state_led_name_is_active(k.state, name) > 0; };
  k.locks = LockStates{lit(XKB_LED_NAME_CAPS), lit(XKB_LED_NAME_NUM), lit(XKB_LED_NAME_SCROLL)};
  emit LockLights::instance().changed();
}

void onEnter(void *, wl_keyboard *, uint32_t, wl_surface *, wl_array *) {}
void onLeave(void *, wl_keyboard *, uint32_t, wl_surface *) {}
void onKey(void *, wl_keyboard *, uint32_t, uint32_t, uint32_t, uint32_t) {}
void onRepeatInfo(void *, wl_keyboard *, int32_t, int32_t) {}

const wl_keyboard_listener Listener = {onKeymap, onEnter, onLeave, onKey, onModifiers, onRepeatInfo};

}  // namespace

bool WatchWaylandLocks() {
  QPlatformNativeInterface *native = QGuiApplication::platformNativeInterface();
  if (!native) return false;
  auto *display = static_cast<wl_display *>(native->nativeResourceForIntegration("wl_display"));
  auto *seat = static_cast<wl_seat *>(native->nativeResourceForIntegration("wl_seat"));
  Keyboard &k = keyboard();
  if (!display || !seat || k.context) return false;
  k.context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
  if (!k.context) return false;
  // Qt dispatches the events of its connection on the program's thread; the
  // keyboard lives as long as the program.
  wl_keyboard_add_listener(wl_seat_get_keyboard(seat), &Listener, nullptr);
  wl_display_flush(display);
  return true;
}

std::optional<LockStates> WaylandLockStates() { return keyboard().locks; }

}  // namespace quillora
