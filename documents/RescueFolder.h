// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The folder where texts go that cannot be kept where they belong: the
// copies of changed documents when the session ends without questions, the
// backup of a file whose own folder has no room for one, and what a save
// that was killed left behind. Every text there is a new file of its own,
// 0600, under a unique name; an index beside them says what each one is.
// Nothing there is ever replaced or removed by the program, but the backup
// of a save that went well.
//
// The folder is the effective user's own, 0700, and reached without
// following links below its base: $XDG_STATE_HOME/quillora when that is an
// absolute path, else ~/.local/state/quillora; where that cannot be had,
// $XDG_RUNTIME_DIR/quillora, then a private folder in /tmp.

#include "documents/Descriptor.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace quillora {

class RescueFolder {
 public:
  // The folder, made where it is missing; nothing when no place will do.
  static std::optional<RescueFolder> open();
  // The folder where it already is, for reading what it holds.
  static std::optional<RescueFolder> existing();

  QString path() const { return m_path; }

  // A new empty file open for writing, 0600, under a unique name; the index
  // says it holds `what` (a caption) of `origin` (a path, or empty).
  struct NewFile {
    Descriptor file;
    QByteArray name;
    QString path;
  };
  std::optional<NewFile> create(const QString &what, const QString &origin);
  // A new file holding the bytes, on disk, name and all. False when it could not be made whole.
  bool keep(const QByteArray &bytes, const QString &what, const QString &origin);
  // Removes a backup this program made here once the save is whole.
  void remove(const QByteArray &name);

  // How many of the texts here the user has not been told of; from now on
  // they count as told.
  int takeUntold();

 private:
  RescueFolder(Descriptor folder, QString path) : m_folder(std::move(folder)), m_path(std::move(path)) {}
  void note(const QByteArray &line);

  Descriptor m_folder;
  QString m_path;
};

}  // namespace quillora
