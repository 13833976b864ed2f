// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Documents subsystem, for the whole run: the table of document states
// by document number, the flag NoDocumentsOpen, the file dialog CMDialog1
// and the one print job, and the document windows in the frame's MDI area.
// What happens to the documents goes up as signals, which the frame connects.

#include "languages/Catalogue.h"

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class QMdiArea;

namespace quillora {

class DiskWatch;
class DocumentHost;
class DocumentWindow;
class FileDialog;
class MenuTrees;
class PrintJob;

struct DocumentState {
  bool Closed = false;   // the slot's window has been closed; the slot is free
  bool Changed = false;  // the text differs from what was last loaded or saved
};

class Documents : public QObject {
  Q_OBJECT
 public:
  // The windows live in `area`, which the frame keeps.
  Documents(DocumentHost &host, QMdiArea *area);
  ~Documents() override;

  DocumentHost &host() const { return m_host; }
  QMdiArea *mdiArea() const { return m_area; }
  FileDialog &fileDialog() const { return *m_fileDialog; }
  PrintJob &printJob() const { return *m_printJob; }
  DiskWatch &diskWatch() const { return *m_diskWatch; }

  // ---- the table, indexed by document number; slot 0 is never used ----
  // Both tables get the bounds 0 to 1.
  void initialise();
  // The lowest closed slot, or a new one at the end; its Closed flag is cleared.
  int AcquireDocumentSlot();
  // True while at least one slot from 1 up is not closed.
  bool AnyDocumentOpen() const;
  int upperBound() const { return int(DocumentStates.size()) - 1; }
  DocumentState &state(int number) { return DocumentStates.at(std::size_t(number)); }
  const DocumentState &state(int number) const { return DocumentStates.at(std::size_t(number)); }
  // The open window of a slot, or nullptr.
  DocumentWindow *window(int number) const;

  std::vector<DocumentState> DocumentStates;
  // Set when the last document window closed (the document buttons were hidden).
  bool NoDocumentsOpen = false;

  // ---- the windows ----
  // The open windows, in the order they were made.
  QList<DocumentWindow *> windows() const;
  // The frame's active document window: the current child, even while
  // another top-level window such as the Find dialog is active.
  DocumentWindow *active() const;
  // Some open document's text differs from its file.
  bool anyChanged() const;

  // Makes the window of a slot inside the area, not yet shown.
  DocumentWindow *create(int number, const QString &caption);
  // Shows a window as the active one.
  void show(DocumentWindow *window);
  // A window has closed: its slot is free.
  void closed(DocumentWindow &window);

 signals:
  // A window became the active one: its menus go into the menu bar.
  void windowShown(quillora::DocumentWindow *window);
  // A window closed; `last`: no document is open any more.
  void windowClosed(quillora::DocumentWindow *window, bool last);
  // New, and Open after the last document closed, bring the document buttons back.
  void documentButtonsWanted();
  // A new window shows its English tree: the flags show that language alone.
  void flagWanted(int language);
  void anyChangedChanged(bool changed);
  // The text of a document changed, by the user or from its file.
  void documentEdited();
  // An item of a window's trees that acts on the frame or on every document.
  void frameCommand(quillora::MenuTrees &trees, quillora::Command command, int index, int language);
  // A window's menu holding a Toolbar item opens.
  void optionsShown(quillora::MenuTrees &trees);

 private:
  DocumentHost &m_host;
  QMdiArea *m_area;
  FileDialog *m_fileDialog;
  std::unique_ptr<PrintJob> m_printJob;
  DiskWatch *m_diskWatch;
};

// New: a new untitled document in the lowest free slot.
void NewDocument(Documents &documents);

}  // namespace quillora
