// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a key does to a document's text, told before Qt's editing does it.
// The text box makes an edit itself when it cuts or joins a long line, or
// when Qt's own key, seeing one piece of a line, would do otherwise; every
// other key is Qt's. These routines look at the key, the cursor and the
// document, and change nothing.

#include <QString>
#include <QTextCursor>
#include <optional>

class QKeyEvent;

namespace quillora {

// The text between two positions replaced (line breaks as LF), the replaced
// text first copied for a Cut. `own`: Qt's key, seeing one piece, would do
// otherwise.
struct KeyEdit {
  int from;
  int to;
  QString text;
  bool copyFirst = false;
  bool own = false;
  bool operator==(const KeyEdit &) const = default;
};

// The edit an editing key makes at the cursor, in the order Qt's editing
// looks at keys; none for a key that edits nothing.
std::optional<KeyEdit> EditOfKey(const QKeyEvent *event, const QTextCursor &cursor, bool readOnly);

// Which side of the caret a deleting key takes from.
enum class DeleteSide { None, Behind, Ahead };
DeleteSide DeleteSideOfKey(const QKeyEvent *event);

// The move by one character or one line, or by a word, that a key makes,
// as Qt makes it; a selecting key keeps the anchor.
struct CursorMove {
  QTextCursor::MoveOperation operation;
  QTextCursor::MoveMode mode;
};
std::optional<CursorMove> CursorMoveOfKey(const QKeyEvent *event);
std::optional<CursorMove> WordMoveOfKey(const QKeyEvent *event);

}  // namespace quillora
