#include "documents/TextFile.h"

#include <QFile>
#include <QRandomGenerator>

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <linux/magic.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <utility>

namespace quillora {

namespace {

// A file descriptor, closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : m_fd(fd) {}
  ~Descriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Descriptor(const Descriptor &) = delete;
  Descriptor &operator=(const Descriptor &) = delete;
  Descriptor &operator=(Descriptor &&other) noexcept {
    std::swap(m_fd, other.m_fd);
    return *this;
  }
  int get() const { return m_fd; }
  bool valid() const { return m_fd >= 0; }
  int release() { return std::exchange(m_fd, -1); }
  // Closes now; the error of close itself counts (a network file system
  // may report a failed write only here).
  int close() {
    const int result = ::close(std::exchange(m_fd, -1));
    return result == 0 ? 0 : errno;
  }

 private:
  int m_fd;
};

// When the program started: a temporary file of its own older than that is
// left over from a save that never ended.
const timespec ProgramStart = [] {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return now;
}();

constexpr char TemporaryPrefix[] = ".quillora-";
constexpr int TemporaryNameLength = 16;
// The access list of a file, as the kernel keeps it.
constexpr char AccessList[] = "system.posix_acl_access";

std::function<void(SaveStep, int)> &saveObserver() {
  static std::function<void(SaveStep, int)> observer;
  return observer;
}

void observe(SaveStep step, int fd) {
  if (saveObserver()) saveObserver()(step, fd);
}

// The name through which the kernel reaches the file of a descriptor.
QByteArray descriptorPath(int fd) { return "/proc/self/fd/" + QByteArray::number(fd); }

int writeAll(int fd, const char *data, qint64 size, off_t offset) {
  while (size > 0) {
    const ssize_t written = ::pwrite(fd, data, size_t(size), offset);
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data += written;
    size -= written;
    offset += written;
  }
  return 0;
}

// Copies the first `size` bytes of one file over the start of another.
int copyBytes(int from, int to, qint64 size) {
  QByteArray buffer(qsizetype(qMin<qint64>(size, 1 << 16)), Qt::Uninitialized);
  for (off_t done = 0; done < size;) {
    const ssize_t got = ::pread(from, buffer.data(), size_t(qMin<qint64>(buffer.size(), size - done)), done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return errno;
    if (got == 0) return ChangedMeanwhile;
    if (const int error = writeAll(to, buffer.constData(), got, done)) return error;
    done += got;
  }
  return 0;
}

// The whole of one file as the start of another: shared with it where the
// file system copies on write (a backup then takes no room, and the old
// text can come back where no room is left), else copied.
int cloneOrCopy(int from, int to, qint64 size) {
  if (::ioctl(to, FICLONE, from) == 0) return 0;
  return copyBytes(from, to, size);
}

bool sameFile(const struct stat &a, const struct stat &b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// The file behind a descriptor still holds the bytes of the version that
// was read. A file this user may write but not read is judged by its status.
bool stillAsRead(int fd, const struct stat &status, const FileVersion &asRead) {
  if (qint64(status.st_size) != asRead.size) return false;
  Descriptor readable(::open(descriptorPath(fd).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
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

// The path the kernel reached for an open descriptor, links resolved.
QByteArray reachedPath(int fd, const QByteArray &path) {
  QByteArray reached(PATH_MAX, Qt::Uninitialized);
  const ssize_t length = ::readlink(descriptorPath(fd).constData(), reached.data(), size_t(reached.size()));
  if (length > 0 && length < reached.size() && reached.startsWith('/')) return reached.left(length);
  // Without /proc: resolved here, and checked against the descriptor by the caller.
  char *resolved = ::realpath(path.constData(), nullptr);
  if (!resolved) return path;
  reached = resolved;
  ::free(resolved);
  return reached;
}

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

int openPlace(const QByteArray &path, Place &place) {
  const qsizetype slash = path.lastIndexOf('/');
  place.name = path.mid(slash + 1);
  if (place.name.isEmpty() || place.name == "." || place.name == "..") return EISDIR;
  place.folderPath = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
  place.folder = Descriptor(::open(place.folderPath.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  return place.folder.valid() ? 0 : errno;
}

// A folder everyone may write that keeps each user's files to that user,
// such as /tmp: the kernel's protected_regular rule refuses to open there,
// for creating, a file of a third user; a save does not replace one either.
bool isOtherUsersFileInSharedFolder(const struct stat &file, const struct stat &folder) {
  const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
  return shared && file.st_uid != ::geteuid() && file.st_uid != folder.st_uid;
}

// More bytes than this process may put into a file.
bool pastFileSizeLimit(qint64 size) {
  rlimit limit{};
  return ::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && rlim_t(size) > limit.rlim_cur;
}

// A folder in which files may be made but none removed or renamed.
bool isAppendOnly(const Place &place) {
  int flags = 0;
  return place.readable() >= 0 && ::ioctl(place.readable(), FS_IOC_GETFLAGS, &flags) == 0 && (flags & FS_APPEND_FL);
}

// Temporary files of this user in the folder that a save ended before this
// program started left behind.
void removeLeftoverTemporaries(const Place &place) {
  // The listing takes a descriptor of its own, from the start of the folder.
  Descriptor listed(place.readable() >= 0 ? ::fcntl(place.readable(), F_DUPFD_CLOEXEC, 0) : -1);
  DIR *folder = listed.valid() ? ::fdopendir(listed.get()) : nullptr;
  if (!folder) return;
  listed.release();
  ::rewinddir(folder);
  while (const dirent *entry = ::readdir(folder)) {
    if (std::strlen(entry->d_name) != TemporaryNameLength ||
        std::strncmp(entry->d_name, TemporaryPrefix, sizeof TemporaryPrefix - 1) != 0)
      continue;
    struct stat s {};
    if (::fstatat(place.folder.get(), entry->d_name, &s, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(s.st_mode) ||
        s.st_uid != ::geteuid() || s.st_nlink != 1)
      continue;
    const bool older = s.st_mtim.tv_sec < ProgramStart.tv_sec ||
                       (s.st_mtim.tv_sec == ProgramStart.tv_sec && s.st_mtim.tv_nsec < ProgramStart.tv_nsec);
    if (older) ::unlinkat(place.folder.get(), entry->d_name, 0);
  }
  ::closedir(folder);
}

// A fresh temporary file in the folder: a short name of fixed length, so any
// name the file system admits can be saved.
int createTemporary(const Place &place, QByteArray &name, mode_t mode) {
  static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = TemporaryPrefix;
    while (name.size() < TemporaryNameLength) name += Letters[QRandomGenerator::global()->bounded(36)];
    const int fd = ::openat(place.folder.get(), name.constData(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Gives the new file the old one's access list and user attributes; a new
// file that the folder's default list gave one the old file had not loses
// it. False when one of them cannot be kept.
bool copyAttributes(int old, int made) {
  const QByteArray from = descriptorPath(old);
  QByteArray names(1024, Qt::Uninitialized);
  ssize_t length = ::listxattr(from.constData(), names.data(), size_t(names.size()));
  if (length < 0 && errno == ERANGE) {
    names.resize(qsizetype(::listxattr(from.constData(), nullptr, 0)) + 1);
    length = ::listxattr(from.constData(), names.data(), size_t(names.size()));
  }
  if (length < 0) return errno == ENOTSUP;
  bool hasList = false;
  for (const QByteArray &name : names.left(length).split('\0')) {
    if (name != AccessList && !name.startsWith("user.")) continue;
    QByteArray value(qsizetype(qMax<ssize_t>(0, ::getxattr(from.constData(), name.constData(), nullptr, 0))),
                     Qt::Uninitialized);
    const ssize_t size = ::getxattr(from.constData(), name.constData(), value.data(), size_t(value.size()));
    if (size < 0 || ::fsetxattr(made, name.constData(), value.constData(), size_t(size), 0) != 0) return false;
    hasList = hasList || name == AccessList;
  }
  if (!hasList && ::fremovexattr(made, AccessList) != 0 && errno != ENODATA && errno != ENOTSUP) return false;
  return true;
}

// The old text, copied beside the file before the file is written in place.
struct Backup {
  Descriptor file;
  QByteArray name;
};

// Makes the backup: "name~", or "name.~1~" … where that name is taken; an
// empty backup of the user's own, which a folder that keeps its files left
// after an earlier save, is used again. On disk, name and all, before the
// file is touched.
int makeBackup(const Place &place, int file, qint64 size, Backup &backup) {
  const int folder = place.folder.get();
  for (int n = 0; n < 10; ++n) {
    const QByteArray name = place.name + (n == 0 ? QByteArray("~") : ".~" + QByteArray::number(n) + '~');
    const int flags = O_RDWR | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY;
    Descriptor made(::openat(folder, name.constData(), flags | O_CREAT | O_EXCL, 0600));
    if (!made.valid() && errno == EEXIST) {
      Descriptor earlier(::openat(folder, name.constData(), flags | O_NONBLOCK));
      struct stat s {};
      if (earlier.valid() && ::fstat(earlier.get(), &s) == 0 && S_ISREG(s.st_mode) && s.st_uid == ::geteuid() &&
          s.st_nlink == 1 && s.st_size == 0)
        made = std::move(earlier);
      else
        continue;
    }
    if (!made.valid()) return errno;
    int error = cloneOrCopy(file, made.get(), size);
    if (!error && ::fsync(made.get()) != 0) error = errno;
    if (error) {
      ::unlinkat(folder, name.constData(), 0);
      return error;
    }
    if (place.readable() >= 0) ::fsync(place.readable());
    backup.file = std::move(made);
    backup.name = name;
    return 0;
  }
  return EEXIST;
}

// Once the new text is whole on disk. A folder that keeps its files keeps
// the backup too, emptied.
void dropBackup(const Place &place, Backup &backup) {
  if (::unlinkat(place.folder.get(), backup.name.constData(), 0) == 0) return;
  [[maybe_unused]] const int emptied = ::ftruncate(backup.file.get(), 0);
}

// Writes into the existing file itself, after its old text is in a backup:
// a failed write puts the old text back from the backup, and where that
// fails too, the backup stays and says where the old text is.
SaveResult writeInPlace(const Place &place, int existing, const struct stat &old, const QByteArray &bytes,
                        const FileVersion *asRead, struct stat &written) {
  const int flags = O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
  Descriptor file(::open(descriptorPath(existing).constData(), flags));
  if (!file.valid() && errno != EACCES)
    file = Descriptor(::openat(place.folder.get(), place.name.constData(), flags | O_NOFOLLOW));
  if (!file.valid()) return {errno};
  struct stat now {};
  if (::fstat(file.get(), &now) != 0) return {errno};
  if (!sameFile(now, old)) return {ChangedMeanwhile};
  if (asRead && !stillAsRead(file.get(), now, *asRead)) return {ChangedOnDisk};
  Backup backup;
  if (const int error = makeBackup(place, file.get(), now.st_size, backup)) return {error, true};
  observe(SaveStep::BackupMade, backup.file.get());
  const auto failed = [&](int error) -> SaveResult {
    if (cloneOrCopy(backup.file.get(), file.get(), now.st_size) == 0 && ::ftruncate(file.get(), now.st_size) == 0 &&
        ::fsync(file.get()) == 0) {
      dropBackup(place, backup);
      return {error};
    }
    return {error, false, QFile::decodeName(place.folderPath + '/' + backup.name)};
  };
  // A full disk is met before the old bytes are touched, where the file
  // system reserves space; one that copies what it writes reserves nothing.
  if (bytes.size() > now.st_size) {
    const int reserved = ::posix_fallocate(file.get(), 0, off_t(bytes.size()));
    if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL) return failed(reserved);
  }
  if (const int error = writeAll(file.get(), bytes.constData(), bytes.size(), 0)) return failed(error);
  observe(SaveStep::WrittenInPlace, file.get());
  if (::ftruncate(file.get(), off_t(bytes.size())) != 0) return failed(errno);
  observe(SaveStep::CutToLength, file.get());
  if (::fsync(file.get()) != 0) return failed(errno);
  observe(SaveStep::SyncedInPlace, file.get());
  ::fstat(file.get(), &written);
  if (const int error = file.close()) return {error, false, QFile::decodeName(place.folderPath + '/' + backup.name)};
  dropBackup(place, backup);
  return {};
}

enum class Outcome { Written, WriteInPlace, NameTaken };

// Writes a new file in the place's folder and renames it to the place's name:
// over the file `old` describes (reached through `existing`), which must
// still be there, or, with no old file, only while the name is free.
// With `overLink`, no old file: the name is a link, which the new file replaces.
int replaceThroughTemporary(const Place &place, const struct stat *old, int existing, const QByteArray &bytes,
                            Outcome &outcome, const FileVersion *asRead, struct stat &written, bool overLink = false) {
  outcome = Outcome::Written;
  removeLeftoverTemporaries(place);
  QByteArray temporaryName;
  // Private until it has the old file's owner and permissions; a new name
  // gets what the umask or the folder's default access list gives it.
  Descriptor temporary(createTemporary(place, temporaryName, old ? 0600 : 0666));
  if (!temporary.valid()) {
    if (errno == EACCES && old) outcome = Outcome::WriteInPlace;
    return errno == ENOENT ? FolderTakesNoFiles : errno;
  }
  observe(SaveStep::TemporaryMade, temporary.get());
  const auto drop = [&](int error) {
    ::unlinkat(place.folder.get(), temporaryName.constData(), 0);
    return error;
  };
  const auto inPlace = [&] {
    outcome = Outcome::WriteInPlace;
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
    if (!copyAttributes(existing, temporary.get())) return inPlace();
    // A file system without permissions keeps the new file's; that is no failure.
    [[maybe_unused]] const int kept = ::fchmod(temporary.get(), old->st_mode & 07777);
  }
  observe(SaveStep::TextWritten, temporary.get());
  int error = writeAll(temporary.get(), bytes.constData(), bytes.size(), 0);
  if (!error && ::fsync(temporary.get()) != 0) error = errno;
  struct stat made {};
  if (!error && ::fstat(temporary.get(), &made) != 0) error = errno;
  if (const int closed = temporary.close(); !error) error = closed;
  if (error) return drop(error);
  const int folder = place.folder.get();
  if (old) {
    struct stat now {};
    if (::fstatat(folder, place.name.constData(), &now, AT_SYMLINK_NOFOLLOW) != 0 || !sameFile(now, *old))
      return drop(ChangedMeanwhile);
    // The last look at the old file before it is replaced.
    if (asRead && !stillAsRead(existing, now, *asRead)) return drop(ChangedOnDisk);
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
    if (errno == EEXIST) outcome = Outcome::NameTaken;
    if (errno != EINVAL || ::renameat(folder, temporaryName.constData(), folder, place.name.constData()) != 0)
      return drop(errno);
  }
  // The rename itself reaches the disk with the folder.
  if (place.readable() >= 0) ::fsync(place.readable());
  // What now stands at the name (a rename may touch the status change).
  if (::fstatat(folder, place.name.constData(), &written, AT_SYMLINK_NOFOLLOW) != 0 || !sameFile(written, made))
    written = made;
  return 0;
}

// A new name in a folder that removes and renames nothing: written directly,
// since a temporary could never go.
int writeNewFileDirectly(const Place &place, const QByteArray &bytes, Outcome &outcome, struct stat &written) {
  outcome = Outcome::Written;
  Descriptor file(::openat(place.folder.get(), place.name.constData(),
                           O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0666));
  if (!file.valid()) {
    if (errno == EEXIST) outcome = Outcome::NameTaken;
    return errno;
  }
  int error = writeAll(file.get(), bytes.constData(), bytes.size(), 0);
  if (!error && ::fsync(file.get()) != 0) error = errno;
  if (!error && ::fstat(file.get(), &written) != 0) error = errno;
  if (const int closed = file.close(); !error) error = closed;
  return error;
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
  Descriptor file(::open(descriptorPath(reached.get()).constData(), flags));
  if (!file.valid() && errno == ENOENT) file = Descriptor(::open(name.constData(), flags));  // without /proc
  struct stat opened {};
  if (!file.valid() || ::fstat(file.get(), &opened) != 0) {
    result.error = errno;
    return result;
  }
  if (!sameFile(opened, status)) {
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

void SetSaveObserver(std::function<void(SaveStep, int)> observer) { saveObserver() = std::move(observer); }

SaveResult WriteWholeFile(const QString &path, const QByteArray &bytes, const FileVersion *asRead, Links links) {
  if (pastFileSizeLimit(bytes.size())) return {EFBIG};
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
  struct stat written {};
  const auto done = [&](SaveResult result) {
    if (!result.error) result.written = VersionOf(written, before.link && links == Links::Follow, bytes);
    return result;
  };
  if (links == Links::Replace && before.link) {
    Place place;
    if (const int error = openPlace(name, place)) return {error};
    Outcome outcome = Outcome::Written;
    return done({replaceThroughTemporary(place, nullptr, -1, bytes, outcome, nullptr, written, true)});
  }
  for (int attempt = 0; attempt < 2; ++attempt) {
    // The kernel follows the links, with its protections for folders that
    // users share; O_PATH opens no device or pipe, and so never blocks.
    const Descriptor existing(::open(name.constData(), O_PATH | O_CLOEXEC));
    Outcome outcome = Outcome::Written;
    if (!existing.valid()) {
      if (errno != ENOENT) return {errno};
      struct stat link {};
      if (::lstat(name.constData(), &link) == 0 && S_ISLNK(link.st_mode)) return {DanglingLink};
      Place place;
      if (const int error = openPlace(name, place)) return {error};
      const int error = isAppendOnly(place)
                            ? writeNewFileDirectly(place, bytes, outcome, written)
                            : replaceThroughTemporary(place, nullptr, -1, bytes, outcome, nullptr, written);
      if (outcome == Outcome::NameTaken) continue;  // made meanwhile: saved over as an existing file
      return done({error});
    }
    struct stat old {};
    if (::fstat(existing.get(), &old) != 0) return {errno};
    if (S_ISDIR(old.st_mode)) return {EISDIR};
    if (!S_ISREG(old.st_mode)) return {NotARegularFile};
    // The new file goes beside the file the kernel reached, in its real folder.
    const QByteArray reached = reachedPath(existing.get(), name);
    Place place;
    if (const int error = openPlace(reached, place)) return {error};
    struct stat there {
    }, folder{};
    if (::fstatat(place.folder.get(), place.name.constData(), &there, AT_SYMLINK_NOFOLLOW) != 0 ||
        !sameFile(there, old))
      return {ChangedMeanwhile};
    if (::fstat(place.folder.get(), &folder) != 0) return {errno};
    if (isOtherUsersFileInSharedFolder(old, folder)) return {OtherUsersFile};
    // Several names share the file: they all keep it.
    if (old.st_nlink > 1 || isAppendOnly(place))
      return done(writeInPlace(place, existing.get(), old, bytes, asRead, written));
    const int error = replaceThroughTemporary(place, &old, existing.get(), bytes, outcome, asRead, written);
    if (outcome == Outcome::WriteInPlace) return done(writeInPlace(place, existing.get(), old, bytes, asRead, written));
    return done({error});
  }
  return {EEXIST};
}

}  // namespace quillora
