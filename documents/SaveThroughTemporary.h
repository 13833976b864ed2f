// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Writing a file through a new one beside it: the new file takes the old
// one's owner, permissions and attributes, gets its text on disk, and only
// then its name, by a rename over the old file. A save cut short leaves no
// file but the old one, or a marked leftover that a later save of the same
// folder cleans up once its process is gone.

#include "documents/PosixFiles.h"

namespace quillora {

// Writes a new file in the place's folder and renames it to the place's name:
// over the file `old` describes (reached through `existing`), which must
// still be there, or, with no old file, only while the name is free.
// With `overLink`, no old file: the name is a link, which the new file replaces.
// Where the new file cannot take the old one's owner or attributes, or the
// old file cannot be replaced, the attempt says to write in place instead.
WriteAttempt ReplaceThroughTemporary(const Place &place, const struct stat *old, int existing, const QByteArray &bytes,
                                     const FileVersion *asRead, bool overLink = false);

}  // namespace quillora
