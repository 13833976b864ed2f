// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/TextFile.h"

#include "documents/PosixFiles.h"
#include "documents/SaveInPlace.h"
#include "documents/SaveThroughTemporary.h"

#include <QFile>

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>
#include <cerrno>

namespace quillora {

namespace {

// A new name in a folder that removes and renames nothing: written directly,
// since a temporary could never go.
WriteAttempt writeNewFileDirectly(const Place &place, const QByteArray &bytes) {
  WriteAttempt attempt;
  Descriptor file(::openat(place.folder.get(), place.name.constData(),
                           O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666));
  if (!file.valid()) {
    if (errno == EEXIST) attempt.next = WriteAttempt::Next::NameTaken;
    attempt.result = {errno};
    return attempt;
  }
  int error = WriteAll(file.get(), bytes.constData(), bytes.size(), 0);
  if (!error && ::fsync(file.get()) != 0) error = errno;
  if (!error && ::fstat(file.get(), &attempt.status) != 0) error = errno;
  if (const int closed = file.close(); !error) error = closed;
  attempt.result = {error};
  return attempt;
}

}  // namespace

ReadResult ReadWholeFile(const QString &path, qint64 limit) {
  ReadResult result;
  // Reached first without opening, so that no device or pipe is opened: a
  // driver's open may act (a serial port resets the board behind it).
  const QByteArray name = QFile::encodeName(path);
  const Descriptor reached(::open(name.constData(), O_PATH | O_CLOEXEC));
  struct stat status {};
  if (!reached.valid() || ::fstat(reached.get(), &status) != 0) {
    result.error = errno;
    return result;
  }
  if (S_ISDIR(status.st_mode))
    result.error = EISDIR;
  else if (!S_ISREG(status.st_mode))
    result.error = NotARegularFile;
  else if (status.st_size > limit)
    result.error = TooLarge;
  if (result.error) return result;
  const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
  Descriptor file(::open(DescriptorPath(reached.get()).constData(), flags));
  if (!file.valid() && errno == ENOENT) file = Descriptor(::open(name.constData(), flags));  // without /proc
  struct stat opened {};
  if (!file.valid() || ::fstat(file.get(), &opened) != 0) {
    result.error = errno;
    return result;
  }
  if (!SameFile(opened, status)) {
    result.error = ChangedMeanwhile;
    return result;
  }
  // The length is taken from the descriptor read, but not trusted: files of
  // the kernel's own file systems announce 0 or a page, and a file may grow.
  // At most one byte past the limit is read, which shows a file too large.
  struct statfs system {};
  const bool known = ::fstatfs(file.get(), &system) == 0;
  const bool announced = status.st_size > 0 && known && system.f_type != SYSFS_MAGIC;
  result.bytes.resize(qsizetype(announced ? status.st_size + 1 : qMin<qint64>(limit + 1, 4096)));
  qsizetype filled = 0;
  for (;;) {
    if (filled == result.bytes.size()) {
      if (filled > limit) break;
      result.bytes.resize(qsizetype(qMin<qint64>(limit + 1, qint64(filled) * 2)));
    }
    const ssize_t got = ::read(file.get(), result.bytes.data() + filled, size_t(result.bytes.size() - filled));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      // A process's memory or the like in /proc is no text to read.
      result.error = errno == EIO && known && system.f_type == PROC_SUPER_MAGIC ? SystemFile : errno;
      break;
    }
    if (got == 0) break;
    filled += got;
  }
  if (!result.error && filled > limit)
    result.error = TooLarge;
  else if (!result.error && announced && filled != qsizetype(status.st_size))
    result.error = ChangedMeanwhile;
  if (result.error) {
    result.bytes.clear();
    return result;
  }
  result.bytes.truncate(filled);
  struct stat link {};
  result.version = VersionOf(opened, ::lstat(name.constData(), &link) == 0 && S_ISLNK(link.st_mode), result.bytes);
  return result;
}

SaveResult WriteWholeFile(const QString &path, const QByteArray &bytes, const FileVersion *asRead, Links links) {
  if (PastFileSizeLimit(bytes.size())) return {EFBIG};
  const QByteArray name = QFile::encodeName(path);
  const FileVersion before = StatusAt(path);
  if (asRead && asRead->known()) {
    // A file that is gone is saved anew; anything else at the path but the
    // kind of thing that was read there is a change.
    if (before.kind == FileVersion::Kind::Missing)
      asRead = nullptr;
    else if (before.link != asRead->link || before.kind != FileVersion::Kind::Regular)
      return {ChangedOnDisk};
  } else {
    asRead = nullptr;
  }
  const auto done = [&](WriteAttempt attempt) {
    SaveResult &result = attempt.result;
    if (!result.error) result.written = VersionOf(attempt.status, before.link && links == Links::Follow, bytes);
    return result;
  };
  if (links == Links::Replace && before.link) {
    Place place;
    if (const int error = OpenPlace(name, place)) return {error};
    return done(ReplaceThroughTemporary(place, nullptr, -1, bytes, nullptr, true));
  }
  for (int attempt = 0; attempt < 2; ++attempt) {
    // The kernel follows the links, with its protections for folders that
    // users share; O_PATH opens no device or pipe, and so never blocks.
    const Descriptor existing(::open(name.constData(), O_PATH | O_CLOEXEC));
    if (!existing.valid()) {
      if (errno != ENOENT) return {errno};
      struct stat link {};
      if (::lstat(name.constData(), &link) == 0 && S_ISLNK(link.st_mode)) return {DanglingLink};
      Place place;
      if (const int error = OpenPlace(name, place)) return {error};
      WriteAttempt made = IsAppendOnly(place) ? writeNewFileDirectly(place, bytes)
                                              : ReplaceThroughTemporary(place, nullptr, -1, bytes, nullptr);
      if (made.next == WriteAttempt::Next::NameTaken) continue;  // made meanwhile: saved over as an existing file
      return done(made);
    }
    struct stat old {};
    if (::fstat(existing.get(), &old) != 0) return {errno};
    if (S_ISDIR(old.st_mode)) return {EISDIR};
    if (!S_ISREG(old.st_mode)) return {NotARegularFile};
    // The new file goes beside the file the kernel reached, in its real folder.
    const QByteArray reached = ReachedPath(existing.get(), name);
    Place place;
    if (const int error = OpenPlace(reached, place)) return {error};
    struct stat there {
    }, folder{};
    if (::fstatat(place.folder.get(), place.name.constData(), &there, AT_SYMLINK_NOFOLLOW) != 0 ||
        !SameFile(there, old))
      return {ChangedMeanwhile};
    if (::fstat(place.folder.get(), &folder) != 0) return {errno};
    if (IsOtherUsersFileInSharedFolder(old, folder)) return {OtherUsersFile};
    // Several names share the file: they all keep it.
    if (old.st_nlink > 1 || IsAppendOnly(place)) return done(WriteInPlace(place, existing.get(), old, bytes, asRead));
    WriteAttempt replaced = ReplaceThroughTemporary(place, &old, existing.get(), bytes, asRead);
    if (replaced.next == WriteAttempt::Next::WriteInPlace)
      return done(WriteInPlace(place, existing.get(), old, bytes, asRead));
    return done(replaced);
  }
  return {EEXIST};
}

}  // namespace quillora
