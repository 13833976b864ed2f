// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/DiskWatch.h"

#include "common/Prompts.h"
#include "documents/DocumentWindow.h"
#include "documents/Documents.h"
#include "documents/FileCommands.h"
#include "documents/TextFile.h"
#include "editing/EditControl.h"
#include "editing/EditHost.h"

#include <QApplication>
#include <QFileInfo>
#include <QScopedValueRollback>
#include <QScrollBar>

namespace quillora {

namespace {
// The notices of one write come within this time of each other; a file
// written on and on is still checked once in the longest wait.
constexpr int SettleMs = 200;
constexpr int LongestWaitMs = 1000;
}  // namespace

DiskWatch::DiskWatch(Documents &documents) : QObject(&documents), m_documents(documents) {
  m_settle.setSingleShot(true);
  m_settle.setInterval(SettleMs);
  connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &DiskWatch::noticed);
  connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &DiskWatch::noticed);
  connect(&m_settle, &QTimer::timeout, this, &DiskWatch::checkEvery);
}

void DiskWatch::follow() {
  QStringList wanted;
  for (DocumentWindow *window : m_documents.windows()) {
    if (!window->diskVersion().known()) continue;
    wanted << window->path() << QFileInfo(window->path()).absolutePath();
  }
  const QStringList watched = m_watcher.files() + m_watcher.directories();
  QStringList gone;
  for (const QString &path : watched)
    if (!wanted.contains(path)) gone << path;
  if (!gone.isEmpty()) m_watcher.removePaths(gone);
  QStringList added;
  // A file's watch ends when the file is removed or renamed over: it is
  // watched again once something stands at its name.
  for (const QString &path : std::as_const(wanted))
    if (!watched.contains(path) && !added.contains(path) && QFileInfo::exists(path)) added << path;
  if (!added.isEmpty()) m_watcher.addPaths(added);
}

void DiskWatch::noticed() {
  if (!m_settle.isActive())
    m_firstNotice.start();
  else if (m_firstNotice.elapsed() >= LongestWaitMs)
    return;  // the check comes now, whatever still follows
  m_settle.start();
}

void DiskWatch::checkEvery() {
  // Never while a dialog waits for the user (a question may be open about
  // this very file): the check comes once it is answered.
  if (m_checking || QApplication::activeModalWidget()) {
    m_settle.start();
    return;
  }
  for (DocumentWindow *window : m_documents.windows()) check(*window);
  follow();
}

void DiskWatch::check(DocumentWindow &window) {
  const FileVersion &read = window.diskVersion();
  if (m_checking || !read.known()) return;
  FileVersion now = StatusAt(window.path());
  if (now.sameStatus(read) || now.sameStatus(window.toldVersion())) return;
  const QScopedValueRollback<bool> checking(m_checking, true);
  ReadResult file;
  if (now.kind == FileVersion::Kind::Regular) {
    file = ReadWholeFile(window.path(), LoadSizeLimit);
    if (!file.error) now = file.version;
  }
  const bool readable = now.kind == FileVersion::Kind::Regular && !file.error;
  if (readable && now.sameText(read)) {
    // Touched, or the same bytes written again: nothing to tell.
    window.setDiskVersion(now);
    if (window.changedOnlyByDisk()) window.setChanged(false);
    return;
  }
  window.setToldVersion(now);
  // The text can be shown only from a file reached as it was before: a link
  // that now stands in its place may lead anywhere.
  const bool showable = readable && now.link == read.link;
  const bool edited = window.changed() && !window.changedOnlyByDisk();
  if (!edited) {
    // Nothing of the user's is lost by showing the new text; a file that is
    // gone, or no longer a file read through the same kind of path, leaves
    // the window's text as the one copy, which closing it must not lose.
    if (showable) {
      reload(window, file);
    } else if (!window.changed()) {
      window.markChangedByDisk();
    }
    return;
  }
  if (!showable) return;  // gone or replaced by something else: Save asks before writing
  const QString question = QStringLiteral("The file [") + window.path() +
                           QStringLiteral(
                               "] was changed by another program.\n\n"
                               "Do you want to reload it? The text in the window is then replaced by the "
                               "file's, and your changes are lost. No keeps the text in the window as it is.");
  if (MsgBox(m_documents.host().hostWindow(), question, msg::YesNo + msg::Exclamation + msg::DefaultButton2) ==
      msg::Yes)
    reload(window, file);
}

void DiskWatch::reload(DocumentWindow &window, const ReadResult &file) {
  const DecodedText decoded = DecodeText(file.bytes);
  EditControl *text = window.Text1();
  // The caret and the view stay near where they were.
  const qint64 caret = text->selStart();
  const int scrolled = text->verticalScrollBar()->value();
  window.format() = decoded.format;
  text->setLineBreak(decoded.lineBreak);
  text->setText(decoded.text);
  text->setSelStart(qMin(caret, text->textLength()));
  text->verticalScrollBar()->setValue(scrolled);
  window.setDiskVersion(file.version);
  window.setChanged(false);
}

}  // namespace quillora
