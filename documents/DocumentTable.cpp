#include "documents/DocumentTable.h"

#include "documents/DocumentWindow.h"

namespace quillora {

void DocumentTable::initialise() {
  DocumentWindows.assign(2, nullptr);
  DocumentStates.assign(2, DocumentState{});
}

int DocumentTable::AcquireDocumentSlot() {
  const int n = upperBound();
  for (int i = 1; i <= n; ++i) {
    if (state(i).Closed) {
      state(i).Closed = false;
      return i;
    }
  }
  DocumentWindows.emplace_back(nullptr);
  DocumentStates.emplace_back();
  return n + 1;
}

DocumentWindow *DocumentTable::window(int number) const { return DocumentWindows.at(std::size_t(number)); }

bool DocumentTable::AnyDocumentOpen() const {
  for (int i = 1; i <= upperBound(); ++i)
    if (!state(i).Closed) return true;
  return false;
}

}  // namespace quillora
