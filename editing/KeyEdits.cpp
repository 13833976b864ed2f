// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/KeyEdits.h"

#include "editing/CutNavigation.h"
#include "editing/LongLines.h"

#include <QKeyEvent>
#include <QTextDocument>

namespace quillora {

namespace {

// What Qt's editing accepts as typed text.
bool isTypedText(const QKeyEvent *event) {
  const QString text = event->text();
  if (text.isEmpty()) return false;
  const QChar c = text.at(0);
  if (c.category() == QChar::Other_Format) return true;
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  if (modifiers == Qt::ControlModifier || modifiers == (Qt::ShiftModifier | Qt::ControlModifier)) return false;
  return c.isPrint() || c == u'\t' || c.category() == QChar::Other_PrivateUse ||
         (c.isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate());
}

// Deleting a word: to the end of the word Qt's move would reach, on through
// the cuts that part it.
KeyEdit wordDeletion(const QTextCursor &c, bool forward) {
  QTextCursor probe = c;
  probe.movePosition(forward ? QTextCursor::NextWord : QTextCursor::PreviousWord, QTextCursor::KeepAnchor);
  const int qtEnd = probe.position();
  ContinueWordMove(probe, forward, QTextCursor::KeepAnchor);
  // Qt's own key would stop at the cut.
  return {probe.selectionStart(), probe.selectionEnd(), {}, false, probe.position() != qtEnd};
}

// To the end of the whole line, or the last character before it; the anchor
// of a selection stays.
KeyEdit lineEndDeletion(const QTextCursor &c) {
  const LongLines::Line line = LongLines::lineOf(c.block());
  const int lineEnd = line.last.position() + line.last.length() - 1;
  QTextCursor probe = c;
  if (c.position() + 1 == lineEnd)
    probe.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
  else
    probe.setPosition(lineEnd, QTextCursor::KeepAnchor);
  return {probe.selectionStart(), probe.selectionEnd(), {}, false, line.first != line.last};
}

}  // namespace

std::optional<KeyEdit> EditOfKey(const QKeyEvent *event, const QTextCursor &c, bool readOnly) {
  if (readOnly || event->matches(QKeySequence::SelectAll) || event->matches(QKeySequence::Copy) ||
      event->matches(QKeySequence::Paste))
    return std::nullopt;
  const int from = c.selectionStart(), to = c.selectionEnd(), at = c.position();
  const bool selected = c.hasSelection();
  const QTextDocument *doc = c.document();
  if ((event->key() == Qt::Key_Backspace && !(event->modifiers() & ~Qt::ShiftModifier)) ||
      event->matches(QKeySequence::Backspace)) {
    if (selected) return KeyEdit{from, to, {}};
    if (at == 0) return std::nullopt;
    const bool pair = at > 1 && doc->characterAt(at - 1).isLowSurrogate() && doc->characterAt(at - 2).isHighSurrogate();
    return KeyEdit{at - (pair ? 2 : 1), at, {}};
  }
  if (event->matches(QKeySequence::InsertParagraphSeparator)) return KeyEdit{from, to, QStringLiteral("\n")};
  if (event->matches(QKeySequence::InsertLineSeparator)) return KeyEdit{from, to, QString(QChar::LineSeparator)};
  if (event->matches(QKeySequence::Cut)) {
    if (!selected) return std::nullopt;
    return KeyEdit{from, to, {}, true};
  }
  if (event->matches(QKeySequence::Delete)) {
    if (selected) return KeyEdit{from, to, {}};
    QTextCursor probe = c;
    if (!probe.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor)) return std::nullopt;
    return KeyEdit{at, probe.position(), {}};
  }
  const bool endOfWord = event->matches(QKeySequence::DeleteEndOfWord);
  if (endOfWord || event->matches(QKeySequence::DeleteStartOfWord)) {
    if (selected) return KeyEdit{from, to, {}};
    return wordDeletion(c, endOfWord);
  }
  if (event->matches(QKeySequence::DeleteEndOfLine)) return lineEndDeletion(c);
  if (isTypedText(event)) return KeyEdit{from, to, event->text()};
  return std::nullopt;
}

DeleteSide DeleteSideOfKey(const QKeyEvent *e) {
  if (e->key() == Qt::Key_Backspace || e->matches(QKeySequence::DeleteStartOfWord)) return DeleteSide::Behind;
  if (e->matches(QKeySequence::Delete) || e->matches(QKeySequence::DeleteEndOfWord) ||
      e->matches(QKeySequence::DeleteEndOfLine))
    return DeleteSide::Ahead;
  return DeleteSide::None;
}

namespace {

struct MoveRow {
  QKeySequence::StandardKey key;
  QTextCursor::MoveOperation operation;
  QTextCursor::MoveMode mode;
};

template <std::size_t N>
std::optional<CursorMove> moveOf(const QKeyEvent *e, const MoveRow (&rows)[N]) {
  for (const MoveRow &row : rows)
    if (e->matches(row.key)) return CursorMove{row.operation, row.mode};
  return std::nullopt;
}

}  // namespace

std::optional<CursorMove> WordMoveOfKey(const QKeyEvent *e) {
  static constexpr MoveRow Moves[] = {
      {QKeySequence::MoveToNextWord, QTextCursor::NextWord, QTextCursor::MoveAnchor},
      {QKeySequence::MoveToPreviousWord, QTextCursor::PreviousWord, QTextCursor::MoveAnchor},
      {QKeySequence::SelectNextWord, QTextCursor::NextWord, QTextCursor::KeepAnchor},
      {QKeySequence::SelectPreviousWord, QTextCursor::PreviousWord, QTextCursor::KeepAnchor},
  };
  return moveOf(e, Moves);
}

std::optional<CursorMove> CursorMoveOfKey(const QKeyEvent *e) {
  static constexpr MoveRow Moves[] = {
      {QKeySequence::MoveToNextChar, QTextCursor::Right, QTextCursor::MoveAnchor},
      {QKeySequence::MoveToPreviousChar, QTextCursor::Left, QTextCursor::MoveAnchor},
      {QKeySequence::SelectNextChar, QTextCursor::Right, QTextCursor::KeepAnchor},
      {QKeySequence::SelectPreviousChar, QTextCursor::Left, QTextCursor::KeepAnchor},
      {QKeySequence::MoveToNextLine, QTextCursor::Down, QTextCursor::MoveAnchor},
      {QKeySequence::MoveToPreviousLine, QTextCursor::Up, QTextCursor::MoveAnchor},
      {QKeySequence::SelectNextLine, QTextCursor::Down, QTextCursor::KeepAnchor},
      {QKeySequence::SelectPreviousLine, QTextCursor::Up, QTextCursor::KeepAnchor},
  };
  return moveOf(e, Moves);
}

}  // namespace quillora
