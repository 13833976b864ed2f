// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading and writing whole files, so that a failed or interrupted save
// never costs the old text.

#include "documents/FileErrors.h"

#include <QByteArray>
#include <QString>
#include <functional>

namespace quillora {

struct ReadResult {
  QByteArray bytes;
  int error = 0;  // 0 when the whole file was read
  FileVersion version;
};

// The whole file, of at most `limit` bytes. The file is reached without
// being opened, and opened only when it is a regular file, so no device or
// pipe is ever opened; a larger file, or one whose length changes while it
// is read, is refused.
ReadResult ReadWholeFile(const QString &path, qint64 limit);

// Writes the bytes through a new file beside the file the path leads to,
// flushed to disk and renamed over it, so the old file stays as it was when
// anything fails. The kernel follows the links, so its protections for
// shared folders apply; a symbolic link keeps pointing at the file it names,
// and the file keeps its owner, group, permissions, access list and user
// attributes. A new name gets what the user's umask or the folder's default
// access list gives it.
//
// A file with several names, one whose owner, group or attributes a new file
// cannot take, one in a folder that only lets its files change, and a file
// mounted onto its name are written in place: the old text is first copied
// to a backup beside it ("name~"), removed once the new text is on disk, and
// kept when the write fails or is killed; without a backup nothing is
// written. Refused: a text longer than the file-size limit, a link to
// nothing, anything but a regular file, another user's file in a folder
// that everyone may write.
//
// With `asRead`, the version the text was read from (or last written as):
// a file that another program changed since is not written, and the result
// says ChangedOnDisk; the check reads the very file that is then replaced
// or written, just before. A file that is gone is written anew.
//
// Links::Replace: a path that is a symbolic link is replaced by the new
// file, and nothing is written through it.
enum class Links { Follow, Replace };
SaveResult WriteWholeFile(const QString &path, const QByteArray &bytes, const FileVersion *asRead = nullptr,
                          Links links = Links::Follow);

// For tests: sees each step of a save with the descriptor it concerns.
enum class SaveStep {
  TemporaryMade,   // the new file beside the old one, still empty
  TextWritten,     // its text is about to be written
  Named,           // its text is on disk, under a name of its own beside the old file
  BackupMade,      // the old text is in the backup, on disk
  WrittenInPlace,  // the new text is over the old one's start
  CutToLength,     // the file is cut to the new text's length
  SyncedInPlace,   // the new text is on disk; the backup is still there
};
void SetSaveObserver(std::function<void(SaveStep, int fd)> observer);

}  // namespace quillora
