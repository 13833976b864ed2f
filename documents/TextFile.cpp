#include "documents/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QStringEncoder>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
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

LineBreak firstLineBreak(const QString &text) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text.at(i) == u'\n') return LineBreak::Lf;
    if (text.at(i) == u'\r') return (i + 1 < text.size() && text.at(i + 1) == u'\n') ? LineBreak::CrLf : LineBreak::Cr;
  }
  return LineBreak::CrLf;
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
  result.format.lineBreak = firstLineBreak(result.text);
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
  explicit Descriptor(int fd) : m_fd(fd) {}
  ~Descriptor() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Descriptor(const Descriptor &) = delete;
  Descriptor &operator=(const Descriptor &) = delete;
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

// The file a save must replace: a symbolic link is followed to its target,
// even a target that does not exist yet.
QByteArray resolvedTarget(const QString &path) {
  const QFileInfo info(path);
  if (info.isSymLink()) {
    const QString canonical = info.canonicalFilePath();
    return QFile::encodeName(canonical.isEmpty() ? info.symLinkTarget() : canonical);
  }
  return QFile::encodeName(info.absoluteFilePath());
}

// A fresh temporary file beside the target, created with the default
// permissions that the user's umask leaves; -1 and errno when none can be.
int createTemporary(const QByteArray &target, QByteArray &name) {
  const qsizetype slash = target.lastIndexOf('/');
  const QByteArray stem = target.left(slash + 1) + '.' + target.mid(slash + 1) + ".save-";
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = stem + QByteArray::number(QRandomGenerator::global()->generate(), 36);
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Writes into the existing file itself, for a folder that only lets its
// files be changed. The space is reserved first, so a full disk or a size
// limit is met before the old bytes are touched.
int writeInPlace(const QByteArray &target, const QByteArray &bytes) {
  Descriptor file(::open(target.constData(), O_WRONLY | O_CLOEXEC));
  if (!file.valid()) return errno;
  if (!bytes.isEmpty()) {
    const int reserved = ::posix_fallocate(file.get(), 0, off_t(bytes.size()));
    if (reserved != 0 && reserved != EOPNOTSUPP && reserved != EINVAL) return reserved;
  }
  if (const int error = writeAll(file.get(), bytes.constData(), bytes.size())) return error;
  if (::ftruncate(file.get(), off_t(bytes.size())) != 0 || ::fsync(file.get()) != 0) return errno;
  return file.close();
}

}  // namespace

ReadResult ReadWholeFile(const QString &path) {
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
  if (result.error) return result;
  // One byte more than the length announced shows a file that grew.
  result.bytes.resize(qsizetype(status.st_size) + 1);
  qsizetype filled = 0;
  while (filled < result.bytes.size()) {
    const ssize_t got = ::read(file.get(), result.bytes.data() + filled, size_t(result.bytes.size() - filled));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      result.error = errno;
      break;
    }
    if (got == 0) break;
    filled += got;
  }
  if (!result.error && filled != qsizetype(status.st_size)) result.error = ChangedWhileRead;
  if (result.error)
    result.bytes.clear();
  else
    result.bytes.truncate(filled);
  return result;
}

int WriteWholeFile(const QString &path, const QByteArray &bytes) {
  const QByteArray target = resolvedTarget(path);
  struct stat old {};
  const bool exists = ::stat(target.constData(), &old) == 0;
  if (exists && S_ISDIR(old.st_mode)) return EISDIR;

  QByteArray temporaryName;
  Descriptor temporary(createTemporary(target, temporaryName));
  if (!temporary.valid()) return (errno == EACCES && exists) ? writeInPlace(target, bytes) : errno;
  int error = 0;
  if (exists) {
    // The new file takes the old one's permissions and, where allowed, owner.
    if (::fchmod(temporary.get(), old.st_mode & 07777) != 0) error = errno;
    if (::geteuid() == 0) {
      // A file system without owners keeps the new file's; that is no failure.
      [[maybe_unused]] const int owned = ::fchown(temporary.get(), old.st_uid, old.st_gid);
    }
  }
  if (!error) error = writeAll(temporary.get(), bytes.constData(), bytes.size());
  if (!error && ::fsync(temporary.get()) != 0) error = errno;
  if (const int closed = temporary.close(); !error) error = closed;
  if (!error && ::rename(temporaryName.constData(), target.constData()) != 0) error = errno;
  if (error) {
    ::unlink(temporaryName.constData());
    return error;
  }
  // The rename itself reaches the disk with the folder.
  const QByteArray folder = target.left(target.lastIndexOf('/') + 1);
  if (Descriptor dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)); dir.valid()) ::fsync(dir.get());
  return 0;
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
    case ELOOP: return QStringLiteral("The path has too many symbolic links.");
    case EMFILE:
    case ENFILE: return QStringLiteral("Too many files are open.");
    case EIO: return QStringLiteral("The disk reported an input/output error.");
    case NotARegularFile: return QStringLiteral("It is not an ordinary file: a device, a pipe or a socket.");
    case ChangedWhileRead: return QStringLiteral("The file changed while it was being read.");
    default: return QStringLiteral("%1 (error %2).").arg(QString::fromLocal8Bit(std::strerror(error))).arg(error);
  }
}

}  // namespace quillora
