// SPDX-License-Identifier: GPL-3.0-or-later
#include "common/ProcessSignals.h"

#include <csignal>

namespace quillora {

namespace {
constexpr int IoSignals[] = {SIGXFSZ, SIGPIPE};
}

void IgnoreFatalIoSignals() {
  for (const int s : IoSignals) std::signal(s, SIG_IGN);
}

void RestoreIoSignals() {
  for (const int s : IoSignals) std::signal(s, SIG_DFL);
}

}  // namespace quillora
