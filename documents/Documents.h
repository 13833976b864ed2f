// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Documents subsystem, for the whole run: the table of document states
// by document number, the flag NoDocumentsOpen, the file dialog CMDialog1
// and the one print job, and the document windows in the frame's MDI area.
// What happens to the documents goes up as signals, which the frame
// connects; the frame connects each window it makes as it is made.

#include "languages/Catalogue.h"

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class QMdiArea;

namespace quillora {

class DiskWatch;
class DocumentWindow;
class EditHost;
class FileDialog;
class Finder;
class MenuTrees;
class PrintJob;

struct DocumentState {
  bool Closed = false;   // the slot's window has been closed; the slot is free
  bool Changed = false;  // the text differs from what was last loaded or saved
};

class Documents : public QObject {
  Q_OBJECT
 public:
  // The windows live in `area`, which the frame keeps; `finder` is the one
  // search of the run, which the Find items use.
  Documents(EditHost &host, Finder &finder, QMdiArea *area);
  ~Documents() override;

  EditHost &host() const { return m_host; }
  Finder &finder() const { return m_finder; }
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
  // Set when the last document window closed (the document buttons were
  // hidden); New leaves it set, Open clears it once a document is open.
  bool noDocumentsOpen() const { return NoDocumentsOpen; }
  void openAttempted();

  // ---- the windows ----
  // The open windows, in the order they were made.
  QList<DocumentWindow *> windows() const;
  // The frame's active document window: the current child, even while
  // another top-level window such as the Find dialog is active.
  DocumentWindow *active() const;
  // Some open document's text differs from its file.
  bool anyChanged() const;

  // Makes the window of a slot inside the area, not yet shown; windowCreated tells.
  DocumentWindow *create(int number, const QString &caption);
  // Shows a window as the active one.
  void show(DocumentWindow *window);
  // A window has closed: its slot is free.
  void closed(DocumentWindow &window);

 signals:
  // A window was made, before it is shown.
  void windowCreated(quillora::DocumentWindow *window);
  // A window became the active one: its menus go into the menu bar.
  void windowShown(quillora::DocumentWindow *window);
  void windowClosed(quillora::DocumentWindow *window);
  // The first document opened, or the last one closed.
  void anyOpenChanged(bool anyOpen);
  void anyChangedChanged(bool changed);

 private:
  EditHost &m_host;
  Finder &m_finder;
  QMdiArea *m_area;
  FileDialog *m_fileDialog;
  std::unique_ptr<PrintJob> m_printJob;
  DiskWatch *m_diskWatch;
  bool NoDocumentsOpen = false;
  bool m_anyOpen = false;  // as last told by anyOpenChanged
};

// New: a new untitled document in the lowest free slot.
void NewDocument(Documents &documents);

}  // namespace quillora
