// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/FileCommands.h"

#include "common/Prompts.h"
#include "documents/DiskWatch.h"
#include "documents/DocumentWindow.h"
#include "documents/Documents.h"
#include "documents/FileDialog.h"
#include "documents/TextCodec.h"
#include "documents/TextFile.h"
#include "editing/EditControl.h"
#include "editing/EditHost.h"
#include "settings/RecentFiles.h"

#include <QAction>
#include <QGuiApplication>

namespace quillora {

namespace {

// The hourglass while a file is read or written.
class WaitCursor {
 public:
  WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor &) = delete;
  WaitCursor &operator=(const WaitCursor &) = delete;
};

}  // namespace

namespace {

ReadResult readFile(const QString &name, qint64 limit) {
  WaitCursor wait;
  return ReadWholeFile(name, limit);
}

// The whole file is read before any window exists: a file that cannot be
// read in full leaves no window behind.
DocumentWindow *showDocumentFile(Documents &documents, const QString &name, const ReadResult &file) {
  if (file.error) {
    MsgBox(documents.host().hostWindow(),
           QString::fromLatin1(text::CantOpenFile) + name + u'\n' + FileErrorCause(file.error, FileAccess::Reading));
    return nullptr;
  }
  WaitCursor wait;
  DecodedText decoded = DecodeText(file.bytes);
  const int i = documents.AcquireDocumentSlot();
  DocumentWindow *window = documents.create(i, name.toUpper());
  window->setPath(name);
  window->format() = decoded.format;
  window->Text1()->setLineBreak(decoded.lineBreak);
  // Shown at its size before the text arrives: a change of width makes a
  // layout object for every block of the text, while a text that arrives
  // later is laid out only where it is seen.
  documents.show(window);
  window->Text1()->setText(decoded.text);
  window->setChanged(false);
  window->setDiskVersion(file.version);
  documents.diskWatch().follow();
  return window;
}

}  // namespace

void OpenDocumentCommand(Documents &documents) {
  FileDialog &dialog = documents.fileDialog();
  dialog.FileName.clear();
  if (!dialog.ShowOpen()) return;
  const QString name = dialog.FileName;
  // The limit holds for the file actually read, whatever its name led to before.
  const ReadResult file = readFile(name, OpenSizeLimit);
  if (file.error == TooLarge) {
    MsgBox(documents.host().hostWindow(), QString::fromLatin1(text::FileTooLarge));
    return;
  }
  showDocumentFile(documents, name, file);
  UpdateRecentFiles(name, RecentEntryCaptions());
  documents.openAttempted();
}

bool AskToSaveEveryDocument(Documents &documents) {
  for (DocumentWindow *window : documents.windows())
    if (!QueryClose(*window)) return false;
  return true;
}

DocumentWindow *LoadDocumentFile(Documents &documents, const QString &name) {
  return showDocumentFile(documents, name, readFile(name, LoadSizeLimit));
}

QString AskSaveFileName(Documents &documents, const QString &proposed) {
  FileDialog &dialog = documents.fileDialog();
  dialog.FileName = proposed;
  return dialog.ShowSave() ? dialog.FileName : QString();
}

namespace {

SaveResult writeFile(const QString &name, const QByteArray &bytes, const FileVersion *asRead, Links links) {
  WaitCursor wait;
  return WriteWholeFile(name, bytes, asRead, links);
}

}  // namespace

bool WriteDocumentFile(DocumentWindow &window, const QString &name) {
  TextFormat format = window.format();
  const EditControl &text = *window.Text1();
  const QByteArray bytes = EncodeText(text.text(), text.lineBreak(), format);
  QWidget *frame = window.host().hostWindow();
  // Over the file the text came from, another program's change since is
  // not written over unasked.
  const FileVersion &read = window.diskVersion();
  const bool sameFile = name == window.path() && read.known();
  SaveResult saved = writeFile(name, bytes, sameFile ? &read : nullptr, Links::Follow);
  if (saved.error == ChangedOnDisk) {
    const QString question = QStringLiteral("The file [") + name +
                             QStringLiteral("] was changed by another program since it was read. Save over it?");
    if (MsgBox(frame, question, msg::YesNo + msg::Exclamation + msg::DefaultButton2) != msg::Yes) return false;
    // A link that now leads elsewhere is replaced, never written through.
    const FileVersion now = StatusAt(name);
    const bool otherLink = now.link && (now.device != read.device || now.inode != read.inode);
    saved = writeFile(name, bytes, nullptr, otherLink ? Links::Replace : Links::Follow);
  }
  if (saved.error) {
    MsgBox(frame, QString::fromLatin1(text::CantSaveFile) + name + u'\n' + SaveFailureText(saved), msg::Exclamation);
    return false;
  }
  window.format() = format;
  window.setPath(name);
  window.setCaption(name.toUpper());
  window.setChanged(false);
  window.setDiskVersion(saved.written);
  window.documents().diskWatch().follow();
  return true;
}

void SaveCommand(DocumentWindow &window) {
  // A titled document is written to the exact path it came from; the
  // caption only shows that path in capitals.
  const QString name = window.isUntitled() ? AskSaveFileName(window.documents(), QString()) : window.path();
  if (!name.isEmpty()) WriteDocumentFile(window, name);
}

void SaveAskingNameCommand(Documents &documents) {
  DocumentWindow *active = documents.active();
  if (!active) return;
  const QString name = AskSaveFileName(documents, QString());
  if (!name.isEmpty()) WriteDocumentFile(*active, name);
}

void SaveAsCommand(DocumentWindow &window) {
  const QString proposed = window.isUntitled() ? QString::fromLatin1(text::SaveAsProposal) : window.path();
  const QString name = AskSaveFileName(window.documents(), proposed);
  if (name.isEmpty()) return;
  WriteDocumentFile(window, name);
  UpdateRecentFiles(name, RecentEntryCaptions());
}

bool QueryClose(DocumentWindow &window) {
  if (!window.changed()) return true;
  Documents &documents = window.documents();
  QWidget *frame = documents.host().hostWindow();
  // The question's two lines are parted by LF CR, in that order, as the
  // program has always written it.
  const QString question = QString::fromLatin1(text::TextChangedBefore) + window.caption() +
                           QString::fromLatin1(text::TextChangedAfter) + QStringLiteral("\n\r") +
                           QString::fromLatin1(text::SaveChangesQuestion);
  switch (MsgBox(frame, question, msg::YesNoCancel + msg::Exclamation, frame->windowTitle())) {
    case msg::Yes: {
      // A save that does not happen keeps the window open: nothing is lost.
      const QString name = window.isUntitled()
                               ? AskSaveFileName(documents, QString::fromLatin1(text::SaveQuestionProposal))
                               : window.path();
      return !name.isEmpty() && WriteDocumentFile(window, name);
    }
    case msg::No: return true;
    default: return false;
  }
}

}  // namespace quillora
