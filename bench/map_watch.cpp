// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a program and prints, in milliseconds, when the first window appears
// on the X display, as any other X client sees it: the first top-level window
// mapped after the start (under a window manager, the manager's frame). Waits
// for the program to end; prints -1 when nothing was mapped within ten seconds.
#include <X11/Xlib.h>

#include <sys/select.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>

int main(int argc, char *argv[]) {
  if (argc < 2) return 2;  // map_watch PROGRAM [ARGUMENTS...]
  Display *display = XOpenDisplay(nullptr);
  if (!display) return 3;
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execv(argv[1], argv + 1);
    _exit(127);
  }
  double mapped = -1;
  const int connection = ConnectionNumber(display);
  while (mapped < 0) {
    while (mapped < 0 && XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify)
        mapped = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    if (mapped >= 0) break;
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(connection, &readable);
    timeval limit{10, 0};
    if (select(connection + 1, &readable, nullptr, nullptr, &limit) <= 0) break;
  }
  int status = 0;
  waitpid(child, &status, 0);
  XCloseDisplay(display);
  std::printf("%.3f\n", mapped);
  return mapped < 0 ? 1 : 0;
}
