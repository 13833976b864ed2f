// SPDX-License-Identifier: GPL-3.0-or-later
// Types keys into a window as the keyboard would (XTest) and prints, in
// milliseconds, the median time from each key to the first change of the
// window's contents that the X server sees (Damage), then every time. The
// same measure for any program on the display, whatever its toolkit.
// usage: key_echo WINDOW_ID KEYS
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>

#include <poll.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Waits for damage until the deadline; true when some came.
bool waitForDamage(Display *display, int damageEvent, Clock::time_point deadline) {
  for (;;) {
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == damageEvent + XDamageNotify) return true;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd readable{ConnectionNumber(display), POLLIN, 0};
    poll(&readable, 1, int(left));
  }
}

}  // namespace

int main(int argc, char *argv[]) {
  if (argc < 3) return 2;
  Display *display = XOpenDisplay(nullptr);
  if (!display) return 3;
  int damageEvent = 0, damageError = 0;
  if (!XDamageQueryExtension(display, &damageEvent, &damageError)) return 4;
  const Window window = Window(std::strtoul(argv[1], nullptr, 0));
  const int keys = std::atoi(argv[2]);
  const Damage damage = XDamageCreate(display, window, XDamageReportNonEmpty);
  const KeyCode x = XKeysymToKeycode(display, XK_x);
  const auto quiet = [&] {
    // Until nothing more is drawn for a while, so that keys never pile up.
    while (waitForDamage(display, damageEvent, Clock::now() + std::chrono::milliseconds(40)))
      XDamageSubtract(display, damage, None, None);
    XDamageSubtract(display, damage, None, None);
    XSync(display, False);
  };
  quiet();
  std::vector<double> times;
  for (int k = 0; k < keys; ++k) {
    const auto start = Clock::now();
    XTestFakeKeyEvent(display, x, True, CurrentTime);
    XTestFakeKeyEvent(display, x, False, CurrentTime);
    XFlush(display);
    if (waitForDamage(display, damageEvent, start + std::chrono::seconds(2)))
      times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    XDamageSubtract(display, damage, None, None);
    quiet();
  }
  XDamageDestroy(display, damage);
  XCloseDisplay(display);
  if (times.empty()) return 1;
  std::vector<double> sorted = times;
  std::sort(sorted.begin(), sorted.end());
  std::printf("%.3f", sorted[sorted.size() / 2]);
  for (const double t : times) std::printf(" %.2f", t);
  std::printf("\n");
  return 0;
}
