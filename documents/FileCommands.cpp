#include "documents/FileCommands.h"

#include "common/Prompts.h"
#include "documents/DocumentHost.h"
#include "documents/DocumentTable.h"
#include "documents/DocumentWindow.h"
#include "documents/FileDialog.h"
#include "documents/TextCodec.h"
#include "documents/TextFile.h"
#include "editing/EditControl.h"
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

QStringList recentEntryCaptions(DocumentHost &host) {
  QStringList captions;
  for (QAction *entry : host.menus().items(English, Command::RecentFile)) captions.append(entry->text());
  return captions;
}

}  // namespace

namespace {

ReadResult readFile(const QString &name, qint64 limit) {
  WaitCursor wait;
  return ReadWholeFile(name, limit);
}

// The whole file is read before any window exists: a file that cannot be
// read in full leaves no window behind.
DocumentWindow *showDocumentFile(DocumentHost &host, const QString &name, const ReadResult &file) {
  if (file.error) {
    MsgBox(host.hostWindow(),
           QString::fromLatin1(text::CantOpenFile) + name + u'\n' + FileErrorCause(file.error, FileAccess::Reading));
    return nullptr;
  }
  WaitCursor wait;
  DecodedText decoded = DecodeText(file.bytes);
  const int i = host.documents().AcquireDocumentSlot();
  DocumentWindow *window = CreateDocumentWindow(host, i, name.toUpper());
  window->setPath(name);
  window->format() = decoded.format;
  window->Text1()->setLineBreak(decoded.format.lineBreak);
  // Shown at its size before the text arrives: a change of width makes a
  // layout object for every block of the text, while a text that arrives
  // later is laid out only where it is seen.
  host.showDocumentWindow(window);
  window->Text1()->setText(decoded.text);
  window->setChanged(false);
  return window;
}

}  // namespace

void OpenDocumentCommand(DocumentHost &host) {
  FileDialog &dialog = host.fileDialog();
  dialog.FileName.clear();
  if (!dialog.ShowOpen()) return;
  const QString name = dialog.FileName;
  // The limit holds for the file actually read, whatever its name led to before.
  const ReadResult file = readFile(name, OpenSizeLimit);
  if (file.error == TooLarge) {
    MsgBox(host.hostWindow(), QString::fromLatin1(text::FileTooLarge));
    return;
  }
  showDocumentFile(host, name, file);
  UpdateRecentFiles(name, recentEntryCaptions(host));
  DocumentTable &documents = host.documents();
  if (documents.NoDocumentsOpen && documents.AnyDocumentOpen()) {
    host.showDocumentButtons();
    documents.NoDocumentsOpen = false;
  }
}

DocumentWindow *LoadDocumentFile(DocumentHost &host, const QString &name) {
  return showDocumentFile(host, name, readFile(name, LoadSizeLimit));
}

QString AskSaveFileName(DocumentHost &host, const QString &proposed) {
  FileDialog &dialog = host.fileDialog();
  dialog.FileName = proposed;
  return dialog.ShowSave() ? dialog.FileName : QString();
}

bool WriteDocumentFile(DocumentWindow &window, const QString &name) {
  TextFormat format = window.format();
  SaveResult saved;
  {
    WaitCursor wait;
    saved = WriteWholeFile(name, EncodeText(window.Text1()->text(), format));
  }
  if (saved.error) {
    MsgBox(window.host().hostWindow(), QString::fromLatin1(text::CantSaveFile) + name + u'\n' + SaveFailureText(saved),
           msg::Exclamation);
    return false;
  }
  window.format() = format;
  window.setPath(name);
  window.setCaption(name.toUpper());
  window.setChanged(false);
  return true;
}

void SaveCommand(DocumentWindow &window) {
  // A titled document is written to the exact path it came from; the
  // caption only shows that path in capitals.
  const QString name = window.isUntitled() ? AskSaveFileName(window.host(), QString()) : window.path();
  if (!name.isEmpty()) WriteDocumentFile(window, name);
}

void ToolbarSaveCommand(DocumentHost &host, DocumentWindow *active) {
  if (!active) return;
  const QString name = AskSaveFileName(host, QString());
  if (!name.isEmpty()) WriteDocumentFile(*active, name);
}

void SaveAsCommand(DocumentWindow &window) {
  const QString proposed = window.isUntitled() ? QString::fromLatin1(text::SaveAsProposal) : window.path();
  const QString name = AskSaveFileName(window.host(), proposed);
  if (name.isEmpty()) return;
  WriteDocumentFile(window, name);
  UpdateRecentFiles(name, recentEntryCaptions(window.host()));
}

bool QueryClose(DocumentWindow &window) {
  if (!window.changed()) return true;
  DocumentHost &host = window.host();
  // The question's two lines are parted by LF CR, in that order, as the
  // program has always written it.
  const QString question = QString::fromLatin1(text::TextChangedBefore) + window.caption() +
                           QString::fromLatin1(text::TextChangedAfter) + QStringLiteral("\n\r") +
                           QString::fromLatin1(text::SaveChangesQuestion);
  switch (MsgBox(host.hostWindow(), question, msg::YesNoCancel + msg::Exclamation, host.hostWindow()->windowTitle())) {
    case msg::Yes: {
      // A save that does not happen keeps the window open: nothing is lost.
      const QString name =
          window.isUntitled() ? AskSaveFileName(host, QString::fromLatin1(text::SaveQuestionProposal)) : window.path();
      return !name.isEmpty() && WriteDocumentFile(window, name);
    }
    case msg::No: return true;
    default: return false;
  }
}

}  // namespace quillora
