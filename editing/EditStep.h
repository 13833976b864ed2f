// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One step of the document's undo history, held for as long as this object
// lives. A new step is begun at once where a cursor stands, so that Undo puts
// the caret back there; a joining step opens only when something changes,
// and then joins the step before it, so that the cutting and joining of long
// lines after Qt's own edit is undone with that edit.

#include <QTextCursor>

namespace quillora {

class EditStep {
 public:
  explicit EditStep(const QTextCursor &at) : m_cursor(at), m_open(true) { m_cursor.beginEditBlock(); }
  struct JoinPrevious {};
  EditStep(QTextDocument *document, JoinPrevious) : m_cursor(document) {}
  ~EditStep() {
    if (m_open) m_cursor.endEditBlock();
  }
  EditStep(const EditStep &) = delete;
  EditStep &operator=(const EditStep &) = delete;

  // Called before each change made within the step.
  void aboutToChange() {
    if (m_open) return;
    m_cursor.joinPreviousEditBlock();
    m_open = true;
  }

 private:
  QTextCursor m_cursor;
  bool m_open = false;
};

}  // namespace quillora
