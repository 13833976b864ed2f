// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/FileErrors.h"

#include <cerrno>
#include <cstring>

namespace quillora {

QString FileErrorCause(int error, FileAccess access) {
  const bool writing = access == FileAccess::Writing;
  switch (error) {
    case ENOSPC: return QStringLiteral("The disk (file system) is full.");
    case EDQUOT: return QStringLiteral("Your disk quota is used up.");
    case EROFS: return QStringLiteral("The file system is read-only.");
    case EFBIG: return QStringLiteral("The file would be larger than the file size limit set for this program.");
    case ENOENT:
      return writing ? QStringLiteral("The folder does not exist.")
                     : QStringLiteral("The file does not exist, or its folder does not.");
    case ENOTDIR: return QStringLiteral("A part of the path is not a folder.");
    case EISDIR: return QStringLiteral("The name is that of a folder.");
    case EACCES:
      return writing ? QStringLiteral("Permission denied: you may not write this file or into its folder.")
                     : QStringLiteral("Permission denied: you may not read this file.");
    case EPERM:
      return QStringLiteral("The operation is not permitted: the file or its folder is immutable or append-only.");
    case ETXTBSY: return QStringLiteral("The file is a program that is running.");
    case ENAMETOOLONG: return QStringLiteral("The file name is too long.");
    case ELOOP: return QStringLiteral("The path has too many symbolic links, or they form a loop.");
    case EMFILE:
    case ENFILE: return QStringLiteral("Too many files are open.");
    case EIO: return QStringLiteral("The disk reported an input/output error.");
    case NotARegularFile: return QStringLiteral("It is not an ordinary file: a device, a pipe or a socket.");
    case ChangedMeanwhile:
      return writing ? QStringLiteral("The file was replaced by another program while it was being saved.")
                     : QStringLiteral("The file changed while it was being read.");
    case TooLarge: return QStringLiteral("The file is too large to open.");
    case DanglingLink:
      return QStringLiteral(
          "The name is a symbolic link to a file that does not exist; nothing is written through it.");
    case OtherUsersFile:
      return QStringLiteral("The file belongs to another user, in a folder that everyone may write (such as /tmp).");
    case FolderTakesNoFiles: return QStringLiteral("The folder does not take new files.");
    case ChangedOnDisk: return QStringLiteral("Another program changed the file since it was read.");
    case SystemFile: return QStringLiteral("It is a file the system makes for a running program, not a text file.");
    default: return QStringLiteral("%1 (error %2).").arg(QString::fromLocal8Bit(std::strerror(error))).arg(error);
  }
}

QString SaveFailureText(const SaveResult &result) {
  QString cause = FileErrorCause(result.error, FileAccess::Writing);
  if (result.noBackup)
    return QStringLiteral("No backup of the old text could be made beside the file, so it was left as it was: ") +
           cause;
  if (!result.backup.isEmpty()) return cause + QStringLiteral("\nThe old text is kept in ") + result.backup + u'.';
  return cause;
}

}  // namespace quillora
