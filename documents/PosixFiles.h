// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file system's vocabulary for the save path: folders open for the *at
// calls, copies that share extents where they can, the checks a save makes
// of what stands at a name, and the attributes a new file takes over.

#include "documents/Descriptor.h"
#include "documents/FileErrors.h"
#include "documents/TextFile.h"

#include <QByteArray>

#include <fcntl.h>
#include <sys/stat.h>

namespace quillora {

// The mark a temporary file of a save carries while it has a name: the
// number of the process saving. Only a file with the mark is ever taken
// for a leftover, and only once that process is gone.
inline constexpr char TemporaryMark[] = "user.quillora.save";

// Tells the tests' observer of a step of a save.
void ObserveSave(SaveStep step, int fd);

// The name through which the kernel reaches the file of a descriptor.
QByteArray DescriptorPath(int fd);

// The whole of one file as the start of another: shared with it where the
// file system copies on write (a backup then takes no room, and the old
// text can come back where no room is left), else copied.
int CloneOrCopy(int from, int to, qint64 size);

inline bool SameFile(const struct stat &a, const struct stat &b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The file behind a descriptor still holds the bytes of the version that
// was read. A file this user may write but not read is judged by its status.
bool StillAsRead(int fd, const struct stat &status, const FileVersion &asRead);

// The path the kernel reached for an open descriptor, links resolved.
QByteArray ReachedPath(int fd, const QByteArray &path);

// A folder open for the *at calls, its path, and a file's name in it.
struct Place {
  Descriptor folder;
  QByteArray folderPath;
  QByteArray name;
  // The folder open for reading, for its flags, its listing and its sync:
  // opened once, when first needed, or -1.
  int readable() const {
    if (!m_readable.valid()) m_readable = Descriptor(::openat(folder.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return m_readable.get();
  }

 private:
  mutable Descriptor m_readable;
};

int OpenPlace(const QByteArray &path, Place &place);

// A folder everyone may write that keeps each user's files to that user,
// such as /tmp: the kernel's protected_regular rule refuses to open there,
// for creating, a file of a third user; a save does not replace one either.
bool IsOtherUsersFileInSharedFolder(const struct stat &file, const struct stat &folder);
// More bytes than this process may put into a file.
bool PastFileSizeLimit(qint64 size);
// A folder in which files may be made but none removed or renamed.
bool IsAppendOnly(const Place &place);

// Gives the new file the old one's access list and user attributes; a new
// file that the folder's default list gave one the old file had not loses
// it. False when one of them cannot be kept.
bool CopyAttributes(int old, int made);

// What one way of writing the text did: the save's result, what a way
// through a temporary file found instead, and the status of what then
// stands at the name.
struct WriteAttempt {
  enum class Next { Done, WriteInPlace, NameTaken };
  SaveResult result;
  Next next = Next::Done;
  struct stat status {};
};

}  // namespace quillora
