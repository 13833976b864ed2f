// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/FileVersion.h"

#include <QCryptographicHash>
#include <QFile>

#include <sys/stat.h>

namespace quillora {

namespace {

qint64 nanoseconds(const timespec &t) { return qint64(t.tv_sec) * 1000000000 + t.tv_nsec; }

void takeStatus(FileVersion &version, const struct stat &status) {
  version.kind = S_ISREG(status.st_mode) ? FileVersion::Kind::Regular : FileVersion::Kind::Other;
  version.device = status.st_dev;
  version.inode = status.st_ino;
  version.size = status.st_size;
  version.modified = nanoseconds(status.st_mtim);
  version.changed = nanoseconds(status.st_ctim);
}

}  // namespace

bool FileVersion::sameStatus(const FileVersion &other) const {
  return kind == other.kind && link == other.link && device == other.device && inode == other.inode &&
         size == other.size && modified == other.modified && changed == other.changed;
}

bool FileVersion::sameText(const FileVersion &other) const {
  if (kind != other.kind || link != other.link) return false;
  if (kind != Kind::Regular) return kind == Kind::Missing;
  return size == other.size && !hash.isEmpty() && hash == other.hash;
}

QByteArray HashOfBytes(const QByteArray &bytes) { return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1); }

FileVersion StatusAt(const QString &path) {
  FileVersion version;
  const QByteArray name = QFile::encodeName(path);
  struct stat status {};
  if (::lstat(name.constData(), &status) != 0) {
    version.kind = FileVersion::Kind::Missing;
    return version;
  }
  if (S_ISLNK(status.st_mode)) {
    version.link = true;
    if (::stat(name.constData(), &status) != 0) {
      version.kind = FileVersion::Kind::Other;  // a link to nothing
      return version;
    }
  }
  takeStatus(version, status);
  return version;
}

FileVersion StatusOf(const struct stat &status, bool link) {
  FileVersion version;
  takeStatus(version, status);
  version.link = link;
  return version;
}

FileVersion VersionOf(const struct stat &status, bool link, const QByteArray &bytes) {
  FileVersion version = StatusOf(status, link);
  version.hash = HashOfBytes(bytes);
  return version;
}

}  // namespace quillora
