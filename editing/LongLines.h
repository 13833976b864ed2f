// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The pieces of a document's long lines. Qt lays a block out whole at every
// change, so a line of 65,000 characters would cost ten milliseconds per key
// and one of megabytes seconds: a line longer than four pieces is held as
// pieces, each piece after the first a block whose break carries a mark and
// belongs to no text.
//
// This class owns that shape and holds no widget and no cursor: the one rule
// that says whether a line must be cut or joined, the balancing that applies
// it, the walk from a piece to its whole line, and an index of the blocks
// that start a piece, kept as the document changes, so that offsets in the
// text and the document's positions map in logarithmic time. Moving across
// the cuts is CutNavigation's.

#include <QMetaObject>
#include <QString>
#include <QTextBlock>
#include <QTextCursor>
#include <optional>
#include <span>
#include <utility>
#include <vector>

class QTextDocument;

namespace quillora {

class EditStep;

class LongLines {
 public:
  // Qt lays out a block of 2,048 characters in about the time a short line
  // takes to echo a key, so no key waits on more.
  static constexpr int DefaultPieceLength = 512;

  LongLines(QTextDocument *document, int pieceLength);
  ~LongLines();
  LongLines(const LongLines &) = delete;
  LongLines &operator=(const LongLines &) = delete;

  int pieceLength() const { return m_pieceLength; }
  // The longest line held whole, in one block.
  int longestWholeLine() const { return 4 * m_pieceLength; }

  // ---- the shape ----
  // The block's break is a cut between pieces of one line.
  static bool startsPiece(const QTextBlock &block);
  struct Line {
    QTextBlock first, last;
  };
  // The blocks of the line that a block belongs to.
  static Line lineOf(const QTextBlock &block);
  // A character format without the mark of a cut: what typed text and line
  // breaks are given.
  static QTextCharFormat unmarked(QTextCharFormat format);
  static bool isMarked(const QTextCharFormat &format);

  // ---- the rule ----
  // What a line of these piece lengths needs next: nothing when it is
  // balanced; all its pieces joined when it fits in one block; a piece longer
  // than a whole line cut; a piece joined to the one before when either is
  // empty or both together are no longer than one piece.
  struct Step {
    enum Kind { JoinLine, Cut, Join } kind;
    int piece;
  };
  std::optional<Step> nextStep(std::span<const int> pieces) const;

  // Whether replacing the text between two of the document's positions with
  // `inserted` (line breaks as LF) would leave a line that needs a step.
  bool editUnbalances(int from, int to, QStringView inserted) const;
  // Some cut lies between two of the document's positions.
  bool cutBetween(int from, int to) const;
  // Takes the steps the lines holding positions `from` to `to` need, until
  // each is balanced, within the edit step. True when anything changed.
  bool balance(int from, int to, EditStep &step);

  // ---- offsets and text ----
  // True while some line is held in pieces.
  bool hasPieces() const { return !m_pieceStarts.empty(); }
  int pieceBreakCount() const { return int(m_pieceStarts.size()); }
  // Offsets in the text, where a line break counts 1 + extraPerBreak
  // characters and a cut none, from the document's positions and back. An
  // offset at a cut goes to the start of the later piece; one inside a line
  // break to the start of the next line.
  qint64 toOffset(int position, int extraPerBreak) const;
  int fromOffset(qint64 offset, int extraPerBreak) const;
  // The text between two positions, cuts left out, line breaks as given.
  QString text(int from, int to, QStringView lineBreak) const;

  // The index agrees with the marks in the document (for tests).
  bool indexIsCurrent() const;

 private:
  // The position is at a cut, on either side of it.
  bool isAtCut(int position) const;
  // The cut before a piece parts what the user sees as one character.
  bool partsCharacter(const QTextBlock &piece) const;
  void documentChanged(int position, int added);
  // The numbers of the blocks from `from` to number `lastNumber` that start a piece.
  std::vector<int> scanPieceStarts(QTextBlock from, int lastNumber) const;
  int pieceStartsThrough(int blockNumber) const;
  qint64 startOffset(const QTextBlock &block, int number, int extraPerBreak) const;
  bool balanceLine(int firstNumber, EditStep &step);

  QTextDocument *m_document;
  const int m_pieceLength;
  std::vector<int> m_pieceStarts;  // the numbers of the blocks that start a piece, in order
  int m_blockCount = 1;
  QMetaObject::Connection m_watch;
};

}  // namespace quillora
