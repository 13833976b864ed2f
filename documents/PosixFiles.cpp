// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/PosixFiles.h"

#include <QList>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <functional>
#include <utility>

namespace quillora {

namespace {

// The access list of a file, as the kernel keeps it.
constexpr char AccessList[] = "system.posix_acl_access";

std::function<void(SaveStep, int)> &saveObserver() {
  static std::function<void(SaveStep, int)> observer;
  return observer;
}

// Copies the first `size` bytes of one file over the start of another.
int copyBytes(int from, int to, qint64 size) {
  QByteArray buffer(qsizetype(qMin<qint64>(size, 1 << 16)), Qt::Uninitialized);
  for (off_t done = 0; done < size;) {
    const ssize_t got = ::pread(from, buffer.data(), size_t(qMin<qint64>(buffer.size(), size - done)), done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return errno;
    if (got == 0) return ChangedMeanwhile;
    if (const int error = WriteAll(to, buffer.constData(), got, done)) return error;
    done += got;
  }
  return 0;
}

}  // namespace

void SetSaveObserver(std::function<void(SaveStep, int)> observer) { saveObserver() = std::move(observer); }

void ObserveSave(SaveStep step, int fd) {
  if (saveObserver()) saveObserver()(step, fd);
}

QByteArray DescriptorPath(int fd) { return "/proc/self/fd/" + QByteArray::number(fd); }

int CloneOrCopy(int from, int to, qint64 size) {
  if (::ioctl(to, FICLONE, from) == 0) return 0;
  return copyBytes(from, to, size);
}

bool StillAsRead(int fd, const struct stat &status, const FileVersion &asRead) {
  if (qint64(status.st_size) != asRead.size) return false;
  Descriptor readable(::open(DescriptorPath(fd).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
  if (!readable.valid()) return StatusOf(status, asRead.link).sameStatus(asRead);
  QByteArray bytes(qsizetype(asRead.size + 1), Qt::Uninitialized);
  qsizetype filled = 0;
  while (filled < bytes.size()) {
    const ssize_t got = ::pread(readable.get(), bytes.data() + filled, size_t(bytes.size() - filled), filled);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    filled += got;
  }
  return filled == asRead.size && HashOfBytes(bytes.left(filled)) == asRead.hash;
}

QByteArray ReachedPath(int fd, const QByteArray &path) {
  QByteArray reached(PATH_MAX, Qt::Uninitialized);
  const ssize_t length = ::readlink(DescriptorPath(fd).constData(), reached.data(), size_t(reached.size()));
  if (length > 0 && length < reached.size() && reached.startsWith('/')) return reached.left(length);
  // Without /proc: resolved here, and checked against the descriptor by the caller.
  char *resolved = ::realpath(path.constData(), nullptr);
  if (!resolved) return path;
  reached = resolved;
  ::free(resolved);
  return reached;
}

int OpenPlace(const QByteArray &path, Place &place) {
  const qsizetype slash = path.lastIndexOf('/');
  place.name = path.mid(slash + 1);
  if (place.name.isEmpty() || place.name == "." || place.name == "..") return EISDIR;
  place.folderPath = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
  place.folder = Descriptor(::open(place.folderPath.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  return place.folder.valid() ? 0 : errno;
}

bool IsOtherUsersFileInSharedFolder(const struct stat &file, const struct stat &folder) {
  const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
  return shared && file.st_uid != ::geteuid() && file.st_uid != folder.st_uid;
}

bool PastFileSizeLimit(qint64 size) {
  rlimit limit{};
  return ::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && rlim_t(size) > limit.rlim_cur;
}

bool IsAppendOnly(const Place &place) {
  int flags = 0;
  return place.readable() >= 0 && ::ioctl(place.readable(), FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_APPEND_FL);
}

bool CopyAttributes(int old, int made) {
  const QByteArray from = DescriptorPath(old);
  QByteArray names(1024, Qt::Uninitialized);
  ssize_t length = ::listxattr(from.constData(), names.data(), size_t(names.size()));
  if (length < 0 && errno == ERANGE) {
    names.resize(qsizetype(::listxattr(from.constData(), nullptr, 0)) + 1);
    length = ::listxattr(from.constData(), names.data(), size_t(names.size()));
  }
  if (length < 0) return errno == ENOTSUP;
  bool hasList = false;
  for (const QByteArray &name : names.left(length).split('\0')) {
    if ((name != AccessList && !name.startsWith("user.")) || name == TemporaryMark) continue;
    QByteArray value(qsizetype(qMax<ssize_t>(0, ::getxattr(from.constData(), name.constData(), nullptr, 0))),
                     Qt::Uninitialized);
    const ssize_t size = ::getxattr(from.constData(), name.constData(), value.data(), size_t(value.size()));
    if (size < 0 || ::fsetxattr(made, name.constData(), value.constData(), size_t(size), 0) != 0) return false;
    hasList = hasList || name == AccessList;
  }
  if (!hasList && ::fremovexattr(made, AccessList) != 0 && errno != ENODATA && errno != ENOTSUP) return false;
  return true;
}

}  // namespace quillora
