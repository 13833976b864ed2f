#pragma once
// The table of document windows and their states, indexed by document number.
// Slot 0 is never used; a closed slot is handed out again.

#include <QPointer>
#include <vector>

namespace quillora {

class DocumentWindow;

struct DocumentState {
  bool Closed = false;   // the slot's window has been closed; the slot is free
  bool Changed = false;  // the text differs from what was last loaded or saved
};

class DocumentTable {
 public:
  // Both tables get the bounds 0 to 1.
  void initialise();
  // The lowest closed slot, or a new one at the end; its Closed flag is cleared.
  int AcquireDocumentSlot();
  // True while at least one slot from 1 up is not closed.
  bool AnyDocumentOpen() const;

  int upperBound() const { return int(DocumentStates.size()) - 1; }
  DocumentState &state(int number) { return DocumentStates.at(std::size_t(number)); }
  const DocumentState &state(int number) const { return DocumentStates.at(std::size_t(number)); }
  DocumentWindow *window(int number) const;

  std::vector<QPointer<DocumentWindow>> DocumentWindows;
  std::vector<DocumentState> DocumentStates;
  // Set when the last document window closed (the document buttons were hidden).
  bool NoDocumentsOpen = false;
};

}  // namespace quillora
