// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Moving and selecting across the cuts between the pieces of a long line, so
// that the caret, words and lines go on as they would in one block. Qt's own
// moves stop at the end of a block; these take the cursor on from there.

#include <QTextCursor>
#include <utility>

namespace quillora {

// The cursor stands at a cut, the text going on in the next piece, or coming
// from the one before.
bool AtCutAhead(const QTextCursor &cursor);
bool AtCutBehind(const QTextCursor &cursor);

// After Qt's move by a word: at a cut the move goes on as it would in one
// block, through the rest of a word or of the blanks after it.
void ContinueWordMove(QTextCursor &cursor, bool forward, QTextCursor::MoveMode mode);

// A word between two positions, widened through the cuts that part it.
std::pair<int, int> WordThroughCuts(const QTextDocument *document, int start, int end);

// The whole line of the selection's start with its break, all its pieces;
// the selection as it is when the line is one block.
QTextCursor LineThroughCuts(const QTextCursor &selection);

}  // namespace quillora
