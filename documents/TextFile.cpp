#include "documents/TextFile.h"

#include "documents/Descriptor.h"
#include "documents/RescueFolder.h"

#include <QFile>
#include <QRandomGenerator>

#include <dirent.h>
#include <fcntl.h>
#include <linux/fs.h>
#include <linux/magic.h>
#include <signal.h>
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

constexpr char TemporaryPrefix[] = ".quillora-";
constexpr int TemporaryNameLength = 16;
// The mark a temporary file of a save carries while it has a name: the
// number of the process saving. Only a file with the mark is ever taken
// for a leftover, and only once that process is gone.
constexpr char TemporaryMark[] = "user.quillora.save";
// A leftover younger than this may still be in another program's save.
constexpr int LeftoverAgeSeconds = 60;
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
    if (::linkat(AT_FDCWD, descriptorPath(fd).constData(), place.folder.get(), name.constData(), AT_SYMLINK_FOLLOW) ==
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

// The old text, copied before the file is written in place: beside it, or
// in the rescue folder where the file's own folder takes no backup.
struct Backup {
  Descriptor file;
  QByteArray name;
  QString path;
  std::optional<RescueFolder> rescue;  // where it is, when not beside the file
};

// The whole of the old text into a new backup, on disk.
int fillBackup(int file, int made, qint64 size) {
  const int error = cloneOrCopy(file, made, size);
  return error ? error : ::fsync(made) == 0 ? 0 : errno;
}

// Makes the backup: "name~", or "name.~1~" … where that name is taken; an
// empty backup of the user's own, which a folder that keeps its files left
// after an earlier save, is used again. Where none can be made beside the
// file (a folder the user may not write, a name too long, every name
// taken), it goes into the rescue folder. On disk, name and all, before the
// file is touched.
int makeBackup(const Place &place, int file, qint64 size, Backup &backup) {
  const int folder = place.folder.get();
  int beside = EEXIST;
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
    if (!made.valid()) {
      beside = errno;
      break;
    }
    if (const int error = fillBackup(file, made.get(), size)) {
      ::unlinkat(folder, name.constData(), 0);
      return error;
    }
    if (place.readable() >= 0) ::fsync(place.readable());
    backup.file = std::move(made);
    backup.name = name;
    backup.path = QFile::decodeName(place.folderPath + '/' + name);
    return 0;
  }
  backup.rescue = RescueFolder::open();
  std::optional<RescueFolder::NewFile> made =
      backup.rescue ? backup.rescue->create(QStringLiteral("the old text, while it is saved"),
                                            QFile::decodeName(place.folderPath + '/' + place.name))
                    : std::nullopt;
  if (!made) return beside;
  // Opened for writing only: the text is read back through the descriptor's name.
  Descriptor writable(::open(descriptorPath(made->file.get()).constData(), O_RDWR | O_CLOEXEC | O_NOCTTY));
  if (!writable.valid()) writable = std::move(made->file);
  if (const int error = fillBackup(file, writable.get(), size)) {
    backup.rescue->remove(made->name);
    return error;
  }
  backup.file = std::move(writable);
  backup.name = made->name;
  backup.path = made->path;
  return 0;
}

// Once the new text is whole on disk. A folder that keeps its files keeps
// the backup too, emptied.
void dropBackup(const Place &place, Backup &backup) {
  if (backup.rescue) {
    backup.rescue->remove(backup.name);
    return;
  }
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
    return {error, false, backup.path};
  };
  // A full disk is met before the old bytes are touched, where the file
  // system reserves space; one that copies what it writes reserves nothing.
  if (bytes.size() > now.st_size) {
    const int reserved = ::posix_fallocate(file.get(), 0, off_t(bytes.size()));
    if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL) return failed(reserved);
  }
  if (const int error = WriteAll(file.get(), bytes.constData(), bytes.size(), 0)) return failed(error);
  observe(SaveStep::WrittenInPlace, file.get());
  if (::ftruncate(file.get(), off_t(bytes.size())) != 0) return failed(errno);
  observe(SaveStep::CutToLength, file.get());
  if (::fsync(file.get()) != 0) return failed(errno);
  observe(SaveStep::SyncedInPlace, file.get());
  ::fstat(file.get(), &written);
  if (const int error = file.close()) return {error, false, backup.path};
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
  rescueLeftoverTemporaries(place);
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
    if (!temporaryName.isEmpty()) ::unlinkat(place.folder.get(), temporaryName.constData(), 0);
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
  int error = WriteAll(temporary.get(), bytes.constData(), bytes.size(), 0);
  if (!error && ::fsync(temporary.get()) != 0) error = errno;
  struct stat made {};
  if (!error && ::fstat(temporary.get(), &made) != 0) error = errno;
  if (!error && temporaryName.isEmpty()) error = nameTemporary(place, temporary.get(), temporaryName);
  if (!error) observe(SaveStep::Named, temporary.get());
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
  ::lremovexattr((descriptorPath(folder) + '/' + place.name).constData(), TemporaryMark);
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
  int error = WriteAll(file.get(), bytes.constData(), bytes.size(), 0);
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
