// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/SaveThroughTemporary.h"

#include "documents/RescueFolder.h"

#include <QFile>
#include <QRandomGenerator>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <ctime>

namespace quillora {

namespace {

constexpr char TemporaryPrefix[] = ".quillora-";
constexpr int TemporaryNameLength = 16;
// A leftover younger than this may still be in another program's save.
constexpr int LeftoverAgeSeconds = 60;

// The process whose save a temporary file is, from its mark; 0 for a file
// of anyone else's.
pid_t markOf(int fd) {
  char value[16] = {};
  const ssize_t length = ::fgetxattr(fd, TemporaryMark, value, sizeof value - 1);
  if (length <= 0) return 0;
  bool ok = false;
  const pid_t pid = QByteArray(value, length).toInt(&ok);
  return ok && pid > 0 ? pid : 0;
}

// Temporary files in the folder that a save of this program made and never
// finished, its process gone: an empty one goes, one holding text moves to
// the rescue folder (the text may be the only copy of what was saved).
void rescueLeftoverTemporaries(const Place &place) {
  // The listing takes a descriptor of its own, from the start of the folder.
  Descriptor listed(place.readable() >= 0 ? ::fcntl(place.readable(), F_DUPFD_CLOEXEC, 0) : -1);
  DIR *folder = listed.valid() ? ::fdopendir(listed.get()) : nullptr;
  if (!folder) return;
  listed.release();
  ::rewinddir(folder);
  const time_t now = ::time(nullptr);
  while (const dirent *entry = ::readdir(folder)) {
    if (std::strlen(entry->d_name) != TemporaryNameLength ||
        std::strncmp(entry->d_name, TemporaryPrefix, sizeof TemporaryPrefix - 1) != 0)
      continue;
    const Descriptor file(
        ::openat(place.folder.get(), entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat s {};
    if (!file.valid() || ::fstat(file.get(), &s) != 0 || !S_ISREG(s.st_mode) || s.st_uid != ::geteuid() ||
        s.st_nlink != 1 || now - s.st_mtim.tv_sec < LeftoverAgeSeconds)
      continue;
    const pid_t saver = markOf(file.get());
    if (saver == 0 || ::kill(saver, 0) == 0 || errno != ESRCH) continue;
    if (s.st_size > 0) {
      QFile leftover;
      std::optional<RescueFolder> rescue = RescueFolder::open();
      if (!rescue || !leftover.open(file.get(), QIODevice::ReadOnly) ||
          !rescue->keep(leftover.readAll(), QStringLiteral("the text of a save that did not end"),
                        QFile::decodeName(place.folderPath)))
        continue;
    }
    ::unlinkat(place.folder.get(), entry->d_name, 0);
  }
  ::closedir(folder);
}

// Whether a file made without a name can be given one later (through /proc).
bool canNameLater() {
  static const bool can = ::access("/proc/self/fd", X_OK) == 0;
  return can;
}

// Gives a temporary file made without a name its name.
int nameTemporary(const Place &place, int fd, QByteArray &name) {
  static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = TemporaryPrefix;
    while (name.size() < TemporaryNameLength) name += Letters[QRandomGenerator::global()->bounded(36)];
    if (::linkat(AT_FDCWD, DescriptorPath(fd).constData(), place.folder.get(), name.constData(), AT_SYMLINK_FOLLOW) ==
        0)
      return 0;
    if (errno != EEXIST) break;
  }
  const int error = errno;
  name.clear();
  return error;
}

// A fresh temporary file in the folder, marked as this process's. Where the
// file system allows, it has no name until its text is on disk
// (`name` stays empty): a save cut short leaves nothing behind then.
int createTemporary(const Place &place, QByteArray &name, mode_t mode) {
  name.clear();
  int fd = canNameLater() ? ::openat(place.folder.get(), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode) : -1;
  if (fd < 0) {
    static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
      name = TemporaryPrefix;
      while (name.size() < TemporaryNameLength) name += Letters[QRandomGenerator::global()->bounded(36)];
      fd = ::openat(place.folder.get(), name.constData(),
                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, mode);
      if (fd < 0 && errno != EEXIST) return -1;
    }
  }
  if (fd < 0) return -1;
  const QByteArray pid = QByteArray::number(::getpid());
  ::fsetxattr(fd, TemporaryMark, pid.constData(), size_t(pid.size()), 0);  // without it, nothing is ever cleaned
  return fd;
}

}  // namespace

WriteAttempt ReplaceThroughTemporary(const Place &place, const struct stat *old, int existing, const QByteArray &bytes,
                                     const FileVersion *asRead, bool overLink) {
  WriteAttempt attempt;
  rescueLeftoverTemporaries(place);
  QByteArray temporaryName;
  // Private until it has the old file's owner and permissions; a new name
  // gets what the umask or the folder's default access list gives it.
  Descriptor temporary(createTemporary(place, temporaryName, old ? 0600 : 0666));
  if (!temporary.valid()) {
    if (errno == EACCES && old) attempt.next = WriteAttempt::Next::WriteInPlace;
    attempt.result = {errno == ENOENT ? FolderTakesNoFiles : errno};
    return attempt;
  }
  ObserveSave(SaveStep::TemporaryMade, temporary.get());
  const auto drop = [&](int error) {
    if (!temporaryName.isEmpty()) ::unlinkat(place.folder.get(), temporaryName.constData(), 0);
    attempt.result = {error};
    return attempt;
  };
  const auto inPlace = [&] {
    attempt.next = WriteAttempt::Next::WriteInPlace;
    return drop(0);
  };
  if (old) {
    // Owner and group first, which any user may set to their own and to a
    // group of theirs (and which clears set-id bits), then the access list
    // and the user attributes, then the permissions. A new file that cannot
    // keep them is dropped: the old one is written in place.
    if (::fchown(temporary.get(), old->st_uid, old->st_gid) != 0) {
      struct stat kept {};
      if (::fstat(temporary.get(), &kept) != 0 || kept.st_uid != old->st_uid || kept.st_gid != old->st_gid)
        return inPlace();
    }
    if (!CopyAttributes(existing, temporary.get())) return inPlace();
    // A file system without permissions keeps the new file's; that is no failure.
    [[maybe_unused]] const int kept = ::fchmod(temporary.get(), old->st_mode & 07777);
  }
  ObserveSave(SaveStep::TextWritten, temporary.get());
  int error = WriteAll(temporary.get(), bytes.constData(), bytes.size(), 0);
  if (!error && ::fsync(temporary.get()) != 0) error = errno;
  struct stat made {};
  if (!error && ::fstat(temporary.get(), &made) != 0) error = errno;
  if (!error && temporaryName.isEmpty()) error = nameTemporary(place, temporary.get(), temporaryName);
  if (!error) ObserveSave(SaveStep::Named, temporary.get());
  if (const int closed = temporary.close(); !error) error = closed;
  if (error) return drop(error);
  const int folder = place.folder.get();
  if (old) {
    struct stat now {};
    if (::fstatat(folder, place.name.constData(), &now, AT_SYMLINK_NOFOLLOW) != 0 || !SameFile(now, *old))
      return drop(ChangedMeanwhile);
    // The last look at the old file before it is replaced.
    if (asRead && !StillAsRead(existing, now, *asRead)) return drop(ChangedOnDisk);
    if (::renameat(folder, temporaryName.constData(), folder, place.name.constData()) != 0) {
      // A file mounted onto its name cannot be replaced: it is written in place.
      if (errno == EBUSY || errno == EXDEV) return inPlace();
      return drop(errno);
    }
  } else if (overLink) {
    struct stat now {};
    if (::fstatat(folder, place.name.constData(), &now, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISLNK(now.st_mode))
      return drop(ChangedMeanwhile);
    if (::renameat(folder, temporaryName.constData(), folder, place.name.constData()) != 0) return drop(errno);
  } else if (::renameat2(folder, temporaryName.constData(), folder, place.name.constData(), RENAME_NOREPLACE) != 0) {
    if (errno == EEXIST) attempt.next = WriteAttempt::Next::NameTaken;
    if (errno != EINVAL || ::renameat(folder, temporaryName.constData(), folder, place.name.constData()) != 0)
      return drop(errno);
  }
  // The rename itself reaches the disk with the folder.
  if (place.readable() >= 0) ::fsync(place.readable());
  ::lremovexattr((DescriptorPath(folder) + '/' + place.name).constData(), TemporaryMark);
  // What now stands at the name (a rename may touch the status change).
  if (::fstatat(folder, place.name.constData(), &attempt.status, AT_SYMLINK_NOFOLLOW) != 0 ||
      !SameFile(attempt.status, made))
    attempt.status = made;
  return attempt;
}

}  // namespace quillora
