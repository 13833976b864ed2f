// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Why a file could not be read or written, in plain words: the line that
// follows "Can't open file: " or "Can't save file: " and the path.

#include "documents/FileVersion.h"

#include <QString>
#include <utility>

namespace quillora {

// The operating system's error number of the call that failed, or one of these of our own.
inline constexpr int NotARegularFile = -1;   // a device, a pipe or a socket
inline constexpr int ChangedMeanwhile = -2;  // while it was read, or before the save replaced it
inline constexpr int TooLarge = -3;
inline constexpr int DanglingLink = -4;    // a save is not written through a link to nothing
inline constexpr int OtherUsersFile = -5;  // in a folder that everyone may write, such as /tmp
inline constexpr int FolderTakesNoFiles = -6;
inline constexpr int SystemFile = -7;  // a file the kernel makes, such as one of a process's in /proc
// Another program changed the file since this one read or wrote it: the
// user is asked before it is saved over.
inline constexpr int ChangedOnDisk = -8;

enum class FileAccess { Reading, Writing };
// The cause of a failure in plain words, one sentence.
QString FileErrorCause(int error, FileAccess access);

// What became of a save that did not happen.
struct SaveResult {
  SaveResult(int error = 0, bool noBackup = false, QString backup = {})
      : error(error), noBackup(noBackup), backup(std::move(backup)) {}
  int error;  // 0: the new text is on disk, whole
  // The old text could not be copied to a backup, so the file was not touched.
  bool noBackup;
  // Where the old text is kept, whole, when the file itself may hold part of the new one.
  QString backup;
  // What the file is once the new text is on disk.
  FileVersion written;
};
// The cause, and where the old text is when it is not in the file.
QString SaveFailureText(const SaveResult &result);

}  // namespace quillora
