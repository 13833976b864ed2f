// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a file in place, for a file that a new one cannot replace: the
// old text first goes to a backup beside it ("name~", or "name.~1~" …, or
// the rescue folder where none can be made there), which is removed once
// the new text is on disk and kept when the write fails or is killed.

#include "documents/PosixFiles.h"

namespace quillora {

// Writes into the existing file itself (reached through `existing`, which
// `old` describes), after its old text is in a backup: a failed write puts
// the old text back from the backup, and where that fails too, the backup
// stays and the result says where the old text is. Without a backup nothing
// is written.
WriteAttempt WriteInPlace(const Place &place, int existing, const struct stat &old, const QByteArray &bytes,
                          const FileVersion *asRead);

}  // namespace quillora
