// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps each open document in step with its file while other programs
// change it: an unedited document shows the file's new text, an edited one
// asks once whether to take it, and one whose file is gone is marked
// changed, so that closing it asks before its last copy goes.
//
// The files and their folders are watched (editors and checkouts replace a
// file by renaming another over it); the notices of one write come as one
// check, and a document is checked again when its window becomes active,
// with a single look at the file's status when nothing changed.

#include <QElapsedTimer>
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

namespace quillora {

class DocumentWindow;
class Documents;
struct ReadResult;

class DiskWatch : public QObject {
  Q_OBJECT
 public:
  explicit DiskWatch(Documents &documents);

  // Watches the files of the open documents, and no others.
  void follow();
  // Compares the document's file with what was read or written last.
  void check(DocumentWindow &window);

 private:
  void noticed();
  void checkEvery();
  // Replaces the window's text with the file's, read as `file`.
  void reload(DocumentWindow &window, const ReadResult &file);

  Documents &m_documents;
  QFileSystemWatcher m_watcher;
  QTimer m_settle;
  QElapsedTimer m_firstNotice;
  bool m_checking = false;
};

}  // namespace quillora
