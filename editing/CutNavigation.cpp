// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/CutNavigation.h"

#include "editing/LongLines.h"

#include <QTextDocument>

namespace quillora {

namespace {

// The kinds of character that Qt's moves by words tell apart: blanks, the
// punctuation that makes words of its own, and the rest.
enum class WordClass { Blank, Separator, Letter };

WordClass wordClassOf(QChar c) {
  static constexpr QStringView Separators = u".,?!@#$:;-<>[](){}=/+%&^*'\"`~|\\";
  if (c.isSpace()) return WordClass::Blank;
  return Separators.contains(c) ? WordClass::Separator : WordClass::Letter;
}

}  // namespace

bool AtCutAhead(const QTextCursor &c) { return c.atBlockEnd() && LongLines::startsPiece(c.block().next()); }
bool AtCutBehind(const QTextCursor &c) { return c.atBlockStart() && LongLines::startsPiece(c.block()); }

void ContinueWordMove(QTextCursor &c, bool forward, QTextCursor::MoveMode mode) {
  const QTextCursor::MoveOperation word = forward ? QTextCursor::NextWord : QTextCursor::PreviousWord;
  while (forward ? AtCutAhead(c) : AtCutBehind(c)) {
    const QTextBlock later = forward ? c.block().next() : c.block();
    const QString before = later.previous().text(), after = later.text();
    if (before.isEmpty() || after.isEmpty()) return;
    const WordClass a = wordClassOf(before.back()), b = wordClassOf(after.front());
    if (b != WordClass::Blank && a != b) return;
    c.movePosition(forward ? QTextCursor::NextCharacter : QTextCursor::PreviousCharacter, mode);
    c.movePosition(word, mode);
  }
}

std::pair<int, int> WordThroughCuts(const QTextDocument *document, int start, int end) {
  const int last = document->characterCount() - 1;
  const auto isCut = [document](int breakAt) {
    return document->characterAt(breakAt) == QChar::ParagraphSeparator &&
           LongLines::startsPiece(document->findBlock(breakAt + 1));
  };
  // Through cuts, while the characters are of the word's kind.
  const WordClass kind = wordClassOf(document->characterAt(start));
  if (kind == WordClass::Blank) return {start, end};
  int p = end;
  while (p < last && (isCut(p) || wordClassOf(document->characterAt(p)) == kind)) ++p;
  while (p > end && isCut(p - 1)) --p;
  const int widenedEnd = p;
  p = start;
  while (p > 0 && (isCut(p - 1) || wordClassOf(document->characterAt(p - 1)) == kind)) --p;
  while (p < start && isCut(p)) ++p;
  return {p, widenedEnd};
}

QTextCursor LineThroughCuts(const QTextCursor &selection) {
  const LongLines::Line line = LongLines::lineOf(selection.document()->findBlock(selection.selectionStart()));
  if (line.first == line.last) return selection;
  QTextCursor c = selection;
  const QTextBlock after = line.last.next();
  c.setPosition(line.first.position());
  c.setPosition(after.isValid() ? after.position() : line.last.position() + line.last.length() - 1,
                QTextCursor::KeepAnchor);
  return c;
}

}  // namespace quillora
