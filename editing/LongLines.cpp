// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/LongLines.h"

#include "editing/EditStep.h"

#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <numeric>

namespace quillora {

namespace {

// The mark on the break character before a piece. Qt gives a break the user
// types the format of the character before the caret, so only a caret in an
// emptied piece could pass the mark on: the edit control clears it from the
// typing format before every key, and emptied pieces are joined after it.
constexpr int PieceBreakProperty = QTextFormat::UserProperty + 0x51;

int textLengthOf(const QTextBlock &block) { return block.length() - 1; }

// The last place at or before `at`, and after `after`, where the text may be
// parted without parting what the user sees as one character: a letter and
// its accents, a surrogate pair, a flag, emoji joined into one, a Hangul
// syllable written in jamo. Only the neighbourhood is looked at.
int graphemeBoundaryAtOrBefore(QStringView text, int at, int after) {
  const int from = qMax(after, at - 256);
  const QStringView near = text.mid(from, qMin<qsizetype>(text.size(), at + 64) - from);
  QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, near);
  finder.setPosition(at - from);
  if (finder.isAtBoundary()) return at;
  const qsizetype before = finder.toPreviousBoundary();
  return before > 0 ? from + int(before) : at;
}

// Where a long block is cut into pieces of about `pieceLength`: after a blank
// near each piece's end, otherwise anywhere between two characters the user
// sees as two.
QList<int> pieceCuts(QStringView text, int pieceLength) {
  const int count = int((text.size() + pieceLength - 1) / pieceLength);
  const int lookBack = qMin(256, pieceLength / 4);
  QList<int> cuts;
  int previous = 0;
  for (int i = 1; i < count; ++i) {
    const int target = int(qint64(text.size()) * i / count);
    int cut = target;
    for (int back = 0; back < lookBack && target - back - 1 > previous; ++back) {
      if (text[target - back - 1].isSpace()) {
        cut = target - back;
        break;
      }
    }
    cut = graphemeBoundaryAtOrBefore(text, cut, previous);
    cuts.append(cut);
    previous = cut;
  }
  return cuts;
}

std::vector<QTextBlock> blocksOf(const LongLines::Line &line) {
  std::vector<QTextBlock> blocks{line.first};
  while (blocks.back() != line.last) blocks.push_back(blocks.back().next());
  return blocks;
}

std::vector<int> lengthsOf(const std::vector<QTextBlock> &blocks) {
  std::vector<int> lengths;
  lengths.reserve(blocks.size());
  for (const QTextBlock &block : blocks) lengths.push_back(textLengthOf(block));
  return lengths;
}

// Removes the cut before a piece, so that it joins the block before it.
void joinToPrevious(QTextCursor &cursor, const QTextBlock &piece) {
  cursor.setPosition(piece.position() - 1);
  cursor.setPosition(piece.position(), QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
}

}  // namespace

LongLines::LongLines(QTextDocument *document, int pieceLength)
    : m_document(document), m_pieceLength(pieceLength), m_blockCount(document->blockCount()) {
  m_pieceStarts = scanPieceStarts(document->firstBlock(), document->blockCount() - 1);
  // Reported once an edit step ends: the index follows every change, the
  // program's own, Qt's editing, Undo and Redo alike.
  m_watch = QObject::connect(document, &QTextDocument::contentsChange, document,
                             [this](int position, int, int added) { documentChanged(position, added); });
}

LongLines::~LongLines() { QObject::disconnect(m_watch); }

bool LongLines::startsPiece(const QTextBlock &block) {
  return block.isValid() && block.position() > 0 && block.charFormat().boolProperty(PieceBreakProperty);
}

LongLines::Line LongLines::lineOf(const QTextBlock &block) {
  Line line{block, block};
  while (startsPiece(line.first)) line.first = line.first.previous();
  while (startsPiece(line.last.next())) line.last = line.last.next();
  return line;
}

QTextCharFormat LongLines::unmarked(QTextCharFormat format) {
  format.clearProperty(PieceBreakProperty);
  return format;
}

bool LongLines::isMarked(const QTextCharFormat &format) { return format.hasProperty(PieceBreakProperty); }

std::optional<LongLines::Step> LongLines::nextStep(std::span<const int> pieces) const {
  const int count = int(pieces.size());
  const qint64 total = std::accumulate(pieces.begin(), pieces.end(), qint64(0));
  if (count > 1 && total <= longestWholeLine()) return Step{Step::JoinLine, 0};
  for (int i = count - 1; i >= 0; --i)
    if (pieces[i] > longestWholeLine()) return Step{Step::Cut, i};
  for (int i = count - 1; i >= 1; --i)
    if (pieces[i] == 0 || pieces[i - 1] == 0 || pieces[i - 1] + pieces[i] <= m_pieceLength) return Step{Step::Join, i};
  return std::nullopt;
}

bool LongLines::editUnbalances(int from, int to, QStringView inserted) const {
  const QTextBlock start = m_document->findBlock(from);
  const QTextBlock end = m_document->findBlock(to);
  if (!start.isValid() || !end.isValid()) return false;
  // An edit beside a cut may make the characters on its two sides one.
  if (isAtCut(from) || isAtCut(to)) return true;
  // The line that holds the edit's start, up to the edit; the inserted text,
  // as many lines as it has breaks; the line that holds its end, after it.
  std::vector<int> line;
  for (QTextBlock b = lineOf(start).first; b != start; b = b.next()) line.push_back(textLengthOf(b));
  int open = from - start.position();
  bool firstSegment = true;
  for (const QStringView segment : inserted.tokenize(u'\n')) {
    if (!firstSegment) {  // a line break ends the line before it
      line.push_back(open);
      if (nextStep(line)) return true;
      line.clear();
      open = 0;
    }
    firstSegment = false;
    open += int(segment.size());
  }
  line.push_back(open + end.position() + textLengthOf(end) - to);
  const QTextBlock last = lineOf(end).last;
  for (QTextBlock b = end; b != last;) {
    b = b.next();
    line.push_back(textLengthOf(b));
  }
  return nextStep(line).has_value();
}

bool LongLines::cutBetween(int from, int to) const {
  if (!hasPieces() || from >= to) return false;
  return pieceStartsThrough(m_document->findBlock(to).blockNumber()) >
         pieceStartsThrough(m_document->findBlock(from).blockNumber());
}

bool LongLines::isAtCut(int position) const {
  const QTextBlock block = m_document->findBlock(position);
  return (position == block.position() && startsPiece(block)) ||
         (position == block.position() + textLengthOf(block) && startsPiece(block.next()));
}

bool LongLines::partsCharacter(const QTextBlock &piece) const {
  // The characters on both sides of the cut, a few of each.
  constexpr int Near = 16;
  const int cut = piece.position() - 1;
  QString near;
  for (int p = qMax(piece.previous().position(), cut - Near); p < cut; ++p) near += m_document->characterAt(p);
  const int at = int(near.size());
  for (int p = cut + 1; p <= qMin(cut + Near, piece.position() + textLengthOf(piece) - 1); ++p)
    near += m_document->characterAt(p);
  if (at == 0 || at == near.size()) return false;
  QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, near);
  finder.setPosition(at);
  return !finder.isAtBoundary();
}

bool LongLines::balance(int from, int to, EditStep &step) {
  const int last = m_document->characterCount() - 1;
  bool changed = false;
  // A cut that an edit beside it left inside one character goes: the rule
  // below cuts the line again where it needs to.
  QTextCursor cursor(m_document);
  for (QTextBlock b = m_document->findBlock(qBound(0, to + 2, last)); b.isValid() && b.position() >= from;
       b = b.previous()) {
    if (!startsPiece(b) || !partsCharacter(b)) continue;
    step.aboutToChange();
    changed = true;
    const int before = b.position() - 1;
    joinToPrevious(cursor, b);
    b = m_document->findBlock(before).next();
  }
  const QTextBlock end = m_document->findBlock(qBound(0, to, last));
  // The first block of each line in the range, then each line from the last
  // back, so that the lines still to do keep their numbers. Blocks are found
  // again by number or position after every change: when a block joins the
  // one before it, Qt may let go of the node that a QTextBlock of either
  // names, and an old one would point into another line.
  std::vector<int> firsts;
  for (QTextBlock b = lineOf(m_document->findBlock(qBound(0, from, last))).first; b.isValid();) {
    firsts.push_back(b.blockNumber());
    const QTextBlock lineEnd = lineOf(b).last;
    if (lineEnd.blockNumber() >= end.blockNumber()) break;
    b = lineEnd.next();
  }
  for (auto first = firsts.crbegin(); first != firsts.crend(); ++first)
    if (balanceLine(*first, step)) changed = true;
  return changed;
}

bool LongLines::balanceLine(int firstNumber, EditStep &step) {
  QTextCursor cursor(m_document);
  bool changed = false;
  for (;;) {
    const std::vector<QTextBlock> blocks = blocksOf(lineOf(m_document->findBlockByNumber(firstNumber)));
    const std::optional<Step> next = nextStep(lengthsOf(blocks));
    if (!next) return changed;
    step.aboutToChange();
    changed = true;
    switch (next->kind) {
      case Step::JoinLine:
        for (std::size_t joined = 1; joined < blocks.size(); ++joined)
          joinToPrevious(cursor, m_document->findBlockByNumber(firstNumber + 1));
        break;
      case Step::Join: joinToPrevious(cursor, blocks.at(std::size_t(next->piece))); break;
      case Step::Cut: {
        const QTextBlock &block = blocks.at(std::size_t(next->piece));
        const int start = block.position();
        const QList<int> cuts = pieceCuts(block.text(), m_pieceLength);
        for (auto cut = cuts.crbegin(); cut != cuts.crend(); ++cut) {
          cursor.setPosition(start + *cut);
          QTextCharFormat mark = cursor.charFormat();
          mark.setProperty(PieceBreakProperty, true);
          cursor.insertBlock(cursor.blockFormat(), mark);
        }
        break;
      }
    }
  }
}

void LongLines::documentChanged(int position, int added) {
  // The blocks from the one holding the change's start to the one holding
  // its end are scanned again; the numbers after them move by the count of
  // blocks the change made or took.
  const int count = m_document->blockCount();
  const int delta = count - m_blockCount;
  m_blockCount = count;
  const int last = m_document->characterCount() - 1;
  const QTextBlock firstBlock = m_document->findBlock(qBound(0, position, last));
  const int first = firstBlock.blockNumber();
  const int newLast = m_document->findBlock(qBound(0, position + added, last)).blockNumber();
  const int oldLast = newLast - delta;
  if (first < 0 || newLast < first || oldLast < first) {
    m_pieceStarts = scanPieceStarts(m_document->firstBlock(), count - 1);
    return;
  }
  const auto from = std::upper_bound(m_pieceStarts.begin(), m_pieceStarts.end(), first);
  const auto to = std::upper_bound(from, m_pieceStarts.end(), oldLast);
  for (auto later = to; later != m_pieceStarts.end(); ++later) *later += delta;
  const std::vector<int> scanned = scanPieceStarts(firstBlock.next(), newLast);
  const auto at = m_pieceStarts.erase(from, to);
  m_pieceStarts.insert(at, scanned.begin(), scanned.end());
}

std::vector<int> LongLines::scanPieceStarts(QTextBlock from, int lastNumber) const {
  std::vector<int> starts;
  for (int number = from.blockNumber(); from.isValid() && number <= lastNumber; from = from.next(), ++number)
    if (startsPiece(from)) starts.push_back(number);
  return starts;
}

bool LongLines::indexIsCurrent() const {
  return m_pieceStarts == scanPieceStarts(m_document->firstBlock(), m_document->blockCount() - 1);
}

int LongLines::pieceStartsThrough(int blockNumber) const {
  return int(std::upper_bound(m_pieceStarts.begin(), m_pieceStarts.end(), blockNumber) - m_pieceStarts.begin());
}

qint64 LongLines::startOffset(const QTextBlock &block, int number, int extraPerBreak) const {
  const int pieces = pieceStartsThrough(number);
  return block.position() - pieces + qint64(extraPerBreak) * (number - pieces);
}

qint64 LongLines::toOffset(int position, int extraPerBreak) const {
  if (extraPerBreak == 0 && !hasPieces()) return position;
  position = qBound(0, position, m_document->characterCount() - 1);
  const QTextBlock block = m_document->findBlock(position);
  return startOffset(block, block.blockNumber(), extraPerBreak) + (position - block.position());
}

int LongLines::fromOffset(qint64 offset, int extraPerBreak) const {
  const int last = m_document->characterCount() - 1;
  if (offset <= 0) return 0;
  if (extraPerBreak == 0 && !hasPieces()) return int(qMin<qint64>(offset, last));
  // The last block whose start, as an offset, is not after the offset: at a
  // cut, the later piece.
  int lo = 0, hi = m_document->blockCount() - 1;
  while (lo < hi) {
    const int mid = (lo + hi + 1) / 2;
    if (startOffset(m_document->findBlockByNumber(mid), mid, extraPerBreak) <= offset)
      lo = mid;
    else
      hi = mid - 1;
  }
  const QTextBlock block = m_document->findBlockByNumber(lo);
  const qint64 inBlock = offset - startOffset(block, lo, extraPerBreak);
  if (inBlock <= textLengthOf(block)) return block.position() + int(inBlock);
  return qMin(last, block.position() + textLengthOf(block) + 1);
}

QString LongLines::text(int from, int to, QStringView lineBreak) const {
  QString out;
  out.reserve(to - from);
  for (QTextBlock block = m_document->findBlock(from); block.isValid() && block.position() <= to;
       block = block.next()) {
    const int start = qMax(from, block.position());
    const int end = qMin(to, block.position() + textLengthOf(block));
    out += QStringView(block.text()).mid(start - block.position(), end - start);
    if (end < to && !startsPiece(block.next())) out += lineBreak;
  }
  return out;
}

}  // namespace quillora
