#include "documents/TextFile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace quillora {

namespace {

// Bytes 0x80 to 0x9F of Windows-1252; the five it leaves undefined map to the
// control characters of the same value, so that every byte comes back.
constexpr char16_t Cp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                     0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

const QByteArray Utf8Bom("\xEF\xBB\xBF", 3);

// The UTF-8 text, when decoding and encoding again gives the same bytes.
std::optional<QString> decodeUtf8Exactly(const QByteArray &bytes) {
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  QString text = decoder.decode(bytes);
  if (decoder.hasError()) return std::nullopt;
  if (text.toUtf8() != bytes) return std::nullopt;
  return text;
}

}  // namespace

QString DecodeWindows1252(const QByteArray &bytes) {
  QString text(bytes.size(), Qt::Uninitialized);
  QChar *out = text.data();
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    *out++ = (b >= 0x80 && b < 0xA0) ? QChar(Cp1252High[b - 0x80]) : QChar(b);
  }
  return text;
}

std::optional<QByteArray> EncodeWindows1252(const QString &text) {
  QByteArray bytes(text.size(), Qt::Uninitialized);
  char *out = bytes.data();
  for (const QChar ch : text) {
    const char16_t u = ch.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      *out++ = char(u);
      continue;
    }
    int found = -1;
    for (int i = 0; i < 32; ++i)
      if (Cp1252High[i] == u) found = i;
    if (found < 0) return std::nullopt;
    *out++ = char(0x80 + found);
  }
  return bytes;
}

DecodedText DecodeText(const QByteArray &bytes) {
  DecodedText result;
  const bool bom = bytes.startsWith(Utf8Bom);
  const QByteArray body = bom ? bytes.mid(3) : bytes;
  if (auto utf8 = decodeUtf8Exactly(body)) {
    result.text = std::move(*utf8);
    result.format.encoding = Encoding::Utf8;
    result.format.byteOrderMark = bom;
  } else {
    result.text = DecodeWindows1252(bytes);
    result.format.encoding = Encoding::Windows1252;
  }
  result.format.lineBreak = FirstLineBreak(result.text);
  result.text = ToQtBreaks(result.text);
  return result;
}

QByteArray EncodeText(const QString &text, TextFormat &format) {
  const QString whole = text + LineBreakText(format.lineBreak);
  if (format.encoding == Encoding::Windows1252) {
    if (auto bytes = EncodeWindows1252(whole)) return *bytes;
    format.encoding = Encoding::Utf8;  // keeps what the user typed
  }
  QByteArray bytes = whole.toUtf8();
  if (format.byteOrderMark) bytes.prepend(Utf8Bom);
  return bytes;
}

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
  // Closes now; the error of close itself counts (a network file system
  // may report a failed write only here).
  int close() {
    const int result = ::close(std::exchange(m_fd, -1));
    return result == 0 ? 0 : errno;
  }

 private:
  int m_fd;
};

int writeAll(int fd, const char *data, qint64 size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size_t(size));
    if (written < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data += written;
    size -= written;
  }
  return 0;
}

bool sameFile(const struct stat &a, const struct stat &b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// The path the kernel reached for an open descriptor, links resolved.
QByteArray reachedPath(int fd, const QByteArray &path) {
  QByteArray reached(PATH_MAX, Qt::Uninitialized);
  const ssize_t length = ::readlink(QByteArray("/proc/self/fd/" + QByteArray::number(fd)).constData(), reached.data(),
                                    size_t(reached.size()));
  if (length > 0 && length < reached.size() && reached.startsWith('/')) return reached.left(length);
  // Without /proc: resolved here, and checked against the descriptor by the caller.
  char *resolved = ::realpath(path.constData(), nullptr);
  if (!resolved) return path;
  reached = resolved;
  ::free(resolved);
  return reached;
}

// A folder open for the *at calls, and a file's name in it.
struct Place {
  Descriptor folder;
  QByteArray name;
};

int openPlace(const QByteArray &path, Place &place) {
  const qsizetype slash = path.lastIndexOf('/');
  place.name = path.mid(slash + 1);
  if (place.name.isEmpty() || place.name == "." || place.name == "..") return EISDIR;
  const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
  place.folder = Descriptor(::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  return place.folder.valid() ? 0 : errno;
}

// A folder everyone may write that keeps each user's files to that user,
// such as /tmp: the kernel's protected_regular rule refuses to open there,
// for creating, a file of a third user; a save does not replace one either.
bool isOtherUsersFileInSharedFolder(const struct stat &file, const struct stat &folder) {
  const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
  return shared && file.st_uid != ::geteuid() && file.st_uid != folder.st_uid;
}

// The permissions a new file gets: those the user's umask leaves of 0666.
mode_t newFileMode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// A fresh temporary file in the folder, readable by its owner alone: a
// short name of fixed length, so any name the file system admits can be saved.
int createTemporary(const Place &place, QByteArray &name) {
  static constexpr char Letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = ".quillora-";
    for (int i = 0; i < 6; ++i) name += Letters[QRandomGenerator::global()->bounded(36)];
    const int fd = ::openat(place.folder.get(), name.constData(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Writes into the existing file itself: for a folder that only lets its
// files be changed, a file with several names (hard links), and a file whose
// owner or group a new file could not keep. The space is reserved first, so
// a full disk or a size limit is met before the old bytes are touched.
int writeInPlace(int existing, const struct stat &old, const QByteArray &reached, const QByteArray &bytes) {
  const int flags = O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
  Descriptor file(::open(QByteArray("/proc/self/fd/" + QByteArray::number(existing)).constData(), flags));
  if (!file.valid() && errno != EACCES) file = Descriptor(::open(reached.constData(), flags | O_NOFOLLOW));
  if (!file.valid()) return errno;
  struct stat now {};
  if (::fstat(file.get(), &now) != 0) return errno;
  if (!sameFile(now, old)) return ChangedMeanwhile;
  if (!bytes.isEmpty()) {
    const int reserved = ::posix_fallocate(file.get(), 0, off_t(bytes.size()));
    if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL) return reserved;
  }
  if (const int error = writeAll(file.get(), bytes.constData(), bytes.size())) return error;
  if (::ftruncate(file.get(), off_t(bytes.size())) != 0 || ::fsync(file.get()) != 0) return errno;
  return file.close();
}

std::function<void(SaveStep, int)> &saveObserver() {
  static std::function<void(SaveStep, int)> observer;
  return observer;
}

void observe(SaveStep step, int fd) {
  if (saveObserver()) saveObserver()(step, fd);
}

enum class Outcome { Written, WriteInPlace, NameTaken };

// Writes a new file in the place's folder and renames it to the place's name:
// over the file `old` describes, which must still be there, or, with no old
// file, only while the name is free.
int replaceThroughTemporary(const Place &place, const struct stat *old, const QByteArray &bytes, Outcome &outcome) {
  outcome = Outcome::Written;
  QByteArray temporaryName;
  Descriptor temporary(createTemporary(place, temporaryName));
  if (!temporary.valid()) {
    if (errno == EACCES && old) outcome = Outcome::WriteInPlace;
    return errno == ENOENT ? FolderTakesNoFiles : errno;
  }
  observe(SaveStep::TemporaryMade, temporary.get());
  const auto drop = [&](int error) {
    ::unlinkat(place.folder.get(), temporaryName.constData(), 0);
    return error;
  };
  if (old) {
    // Owner and group first, which any user may set to their own and to a
    // group of theirs (and which clears set-id bits), then the permissions.
    // A new file that cannot keep them is dropped: the old one is written in place.
    if (::fchown(temporary.get(), old->st_uid, old->st_gid) != 0) {
      struct stat kept {};
      if (::fstat(temporary.get(), &kept) != 0 || kept.st_uid != old->st_uid || kept.st_gid != old->st_gid) {
        outcome = Outcome::WriteInPlace;
        return drop(0);
      }
    }
    // A file system without permissions keeps the new file's; that is no failure.
    [[maybe_unused]] const int kept = ::fchmod(temporary.get(), old->st_mode & 07777);
  } else if (::fchmod(temporary.get(), newFileMode()) != 0) {
    return drop(errno);
  }
  observe(SaveStep::TextWritten, temporary.get());
  int error = writeAll(temporary.get(), bytes.constData(), bytes.size());
  if (!error && ::fsync(temporary.get()) != 0) error = errno;
  if (const int closed = temporary.close(); !error) error = closed;
  if (error) return drop(error);
  const int folder = place.folder.get();
  if (old) {
    struct stat now {};
    if (::fstatat(folder, place.name.constData(), &now, AT_SYMLINK_NOFOLLOW) != 0 || !sameFile(now, *old))
      return drop(ChangedMeanwhile);
    if (::renameat(folder, temporaryName.constData(), folder, place.name.constData()) != 0) return drop(errno);
  } else if (::renameat2(folder, temporaryName.constData(), folder, place.name.constData(), RENAME_NOREPLACE) != 0) {
    if (errno == EEXIST) outcome = Outcome::NameTaken;
    if (errno != EINVAL || ::renameat(folder, temporaryName.constData(), folder, place.name.constData()) != 0)
      return drop(errno);
  }
  // The rename itself reaches the disk with the folder.
  if (Descriptor dir(::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)); dir.valid()) ::fsync(dir.get());
  return 0;
}

}  // namespace

ReadResult ReadWholeFile(const QString &path, qint64 limit) {
  ReadResult result;
  // Non-blocking, so that a named pipe cannot hang the program at open.
  Descriptor file(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  struct stat status {};
  if (!file.valid() || ::fstat(file.get(), &status) != 0) {
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
  // The length is taken from the descriptor read, but not trusted: files of
  // the kernel's own file systems announce 0 or a page, and a file may grow.
  // At most one byte past the limit is read, which shows a file too large.
  struct statfs system {};
  const bool announced = status.st_size > 0 && ::fstatfs(file.get(), &system) == 0 && system.f_type != SYSFS_MAGIC;
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
      result.error = errno;
      break;
    }
    if (got == 0) break;
    filled += got;
  }
  if (!result.error && filled > limit)
    result.error = TooLarge;
  else if (!result.error && announced && filled != qsizetype(status.st_size))
    result.error = ChangedMeanwhile;
  if (result.error)
    result.bytes.clear();
  else
    result.bytes.truncate(filled);
  return result;
}

void SetSaveObserver(std::function<void(SaveStep, int)> observer) { saveObserver() = std::move(observer); }

int WriteWholeFile(const QString &path, const QByteArray &bytes) {
  const QByteArray name = QFile::encodeName(path);
  for (int attempt = 0; attempt < 2; ++attempt) {
    // The kernel follows the links, with its protections for folders that
    // users share; O_PATH opens no device or pipe, and so never blocks.
    Descriptor existing(::open(name.constData(), O_PATH | O_CLOEXEC));
    Outcome outcome = Outcome::Written;
    if (!existing.valid()) {
      if (errno != ENOENT) return errno;
      struct stat link {};
      if (::lstat(name.constData(), &link) == 0 && S_ISLNK(link.st_mode)) return DanglingLink;
      Place place;
      if (const int error = openPlace(name, place)) return error;
      const int error = replaceThroughTemporary(place, nullptr, bytes, outcome);
      if (outcome == Outcome::NameTaken) continue;  // made meanwhile: saved over as an existing file
      return error;
    }
    struct stat old {};
    if (::fstat(existing.get(), &old) != 0) return errno;
    if (S_ISDIR(old.st_mode)) return EISDIR;
    if (!S_ISREG(old.st_mode)) return NotARegularFile;
    // The new file goes beside the file the kernel reached, in its real folder.
    const QByteArray reached = reachedPath(existing.get(), name);
    Place place;
    if (const int error = openPlace(reached, place)) return error;
    struct stat there {
    }, folder{};
    if (::fstatat(place.folder.get(), place.name.constData(), &there, AT_SYMLINK_NOFOLLOW) != 0 ||
        !sameFile(there, old))
      return ChangedMeanwhile;
    if (::fstat(place.folder.get(), &folder) != 0) return errno;
    if (isOtherUsersFileInSharedFolder(old, folder)) return OtherUsersFile;
    // Several names share the file: they all keep it.
    if (old.st_nlink > 1) return writeInPlace(existing.get(), old, reached, bytes);
    const int error = replaceThroughTemporary(place, &old, bytes, outcome);
    if (outcome == Outcome::WriteInPlace) return writeInPlace(existing.get(), old, reached, bytes);
    return error;
  }
  return EEXIST;
}

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
    default: return QStringLiteral("%1 (error %2).").arg(QString::fromLocal8Bit(std::strerror(error))).arg(error);
  }
}

}  // namespace quillora
