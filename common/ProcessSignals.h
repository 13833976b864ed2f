// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Signals that a file or a child process can raise at the program. Left at
// their defaults they would end the process, and every unsaved window with
// it: a save past the file-size limit (SIGXFSZ), a write to a pipe or socket
// whose reader has gone (SIGPIPE). Ignored, the call fails with EFBIG or
// EPIPE instead and takes the ordinary error path.

namespace quillora {

// Called first thing at start-up.
void IgnoreFatalIoSignals();
// Called in a child process before it runs another program, which expects
// the defaults.
void RestoreIoSignals();

}  // namespace quillora
