// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a file was when this program last read or wrote it, so that a change
// made by another program (an editor, a checkout, a sync) is seen before it
// could be overwritten: the kind of thing at the path, whether the path is a
// link, the file's identity and status, and a hash of its bytes, which sees
// a change that left the status as it was.

#include <QByteArray>
#include <QString>

#include <sys/types.h>

struct stat;

namespace quillora {

struct FileVersion {
  enum class Kind { Unknown, Missing, Regular, Other };
  Kind kind = Kind::Unknown;  // Unknown: never read or written (an untitled document)
  bool link = false;          // the path itself is a symbolic link
  dev_t device = 0;
  ino_t inode = 0;
  qint64 size = -1;
  qint64 modified = 0;  // nanoseconds since the epoch
  qint64 changed = 0;   // the status change, likewise
  QByteArray hash;      // of the bytes, for a regular file read or written whole

  bool known() const { return kind != Kind::Unknown; }
  // Nothing of the status differs: the bytes are taken to be the same
  // without reading them again.
  bool sameStatus(const FileVersion &other) const;
  // The path leads to the same text: the same kind of thing, a link where
  // there was one, the same bytes.
  bool sameText(const FileVersion &other) const;
};

// The hash a version keeps of a file's bytes.
QByteArray HashOfBytes(const QByteArray &bytes);

// The version of what stands at the path now, without its hash: the status
// of the file the path reaches, and whether the path is a link.
FileVersion StatusAt(const QString &path);
// The version of a file by its status, without a hash.
FileVersion StatusOf(const struct stat &status, bool link);
// The version of a file, with the hash of the bytes it holds.
FileVersion VersionOf(const struct stat &status, bool link, const QByteArray &bytes);

}  // namespace quillora
