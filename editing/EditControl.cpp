#include "editing/EditControl.h"

#include "editing/EditControlAccessible.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <optional>

namespace quillora {

QString LineBreakText(LineBreak style) {
  switch (style) {
    case LineBreak::CrLf: return QStringLiteral("\r\n");
    case LineBreak::Lf: return QStringLiteral("\n");
    case LineBreak::Cr: return QStringLiteral("\r");
  }
  return QStringLiteral("\r\n");
}

QString ToQtBreaks(const QString &text) {
  if (!text.contains(u'\r')) return text;
  QString out = text;
  out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  out.replace(u'\r', u'\n');
  return out;
}

namespace {
// A line longer than this is held in pieces of about PieceLength characters;
// neighbouring pieces shorter than that together are joined again.
constexpr int LongestWholeBlock = 65536;
constexpr int PieceLength = 16384;
// The mark on the break character before a piece. Qt gives a break the user
// types the format of the character before the caret, so only a caret in an
// emptied piece could pass the mark on; the typing format is cleared of it
// before every key, and emptied pieces are joined after it.
constexpr int PieceBreakProperty = QTextFormat::UserProperty + 0x51;

int textLengthOf(const QTextBlock &block) { return block.length() - 1; }

bool startsPiece(const QTextBlock &block) {
  return block.position() > 0 && block.charFormat().boolProperty(PieceBreakProperty);
}

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

// Where a long line is cut: after a blank near each piece's end, otherwise
// anywhere between two characters the user sees as two.
QList<int> PieceCuts(QStringView text) {
  const int count = int((text.size() + PieceLength - 1) / PieceLength);
  QList<int> cuts;
  int previous = 0;
  for (int i = 1; i < count; ++i) {
    const int target = int(qint64(text.size()) * i / count);
    int cut = target;
    for (int back = 0; back < 256 && target - back - 1 > previous; ++back) {
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

bool needsReshaping(const QTextBlock &block) {
  if (textLengthOf(block) > LongestWholeBlock) return true;
  return startsPiece(block) &&
         (textLengthOf(block) == 0 || textLengthOf(block.previous()) + textLengthOf(block) <= PieceLength);
}
}  // namespace

EditControl::EditControl(QWidget *parent) : QPlainTextEdit(parent) {
  static const bool readable = (QAccessible::installFactory(AccessibleEditControl), true);
  Q_UNUSED(readable);
  setObjectName(QStringLiteral("Text1"));
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setFrameShape(QFrame::NoFrame);
  // The selection stays highlighted while another window has the focus.
  QPalette p = palette();
  p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
  p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::HighlightedText));
  setPalette(p);
  // Watch every change for an unbroken run too long to wrap at word
  // boundaries, and remember where it was for reshaping the pieces.
  connect(document(), &QTextDocument::contentsChange, this, [this](int position, int removed, int added) {
    watchLongWords(position, added);
    if (m_editedFrom < 0) {
      m_editedFrom = position;
      m_editedTo = position + added;
      return;
    }
    if (position <= m_editedTo) m_editedTo = qMax(position, m_editedTo + added - removed);
    m_editedFrom = qMin(m_editedFrom, position);
    m_editedTo = qMax(m_editedTo, position + added);
  });
}

namespace {
// Longer runs without a blank are broken anywhere: Qt's search for a word
// boundary grows with the square of such a run (a 65,000-character run takes
// more than half a second to lay out, at every keystroke).
constexpr int LongestWordWrappedAtBoundary = 4096;

bool hasLongWord(QStringView text) {
  int run = 0;
  for (const QChar ch : text) {
    run = ch.isSpace() ? 0 : run + 1;
    if (run > LongestWordWrappedAtBoundary) return true;
  }
  return false;
}
}  // namespace

void EditControl::watchLongWords(int position, int added) {
  if (wordWrapMode() == QTextOption::WrapAnywhere) return;
  const QTextDocument *doc = document();
  for (QTextBlock block = doc->findBlock(position); block.isValid() && block.position() <= position + added;
       block = block.next()) {
    if (block.length() > LongestWordWrappedAtBoundary && hasLongWord(block.text())) {
      setWordWrapMode(QTextOption::WrapAnywhere);
      return;
    }
  }
}

namespace {
// The first and last block numbers of the line held in pieces that `block`
// belongs to, when the whole line fits in one block again; nothing otherwise.
std::optional<std::pair<int, int>> piecesOfAShortLine(const QTextBlock &block) {
  if (!startsPiece(block) && !startsPiece(block.next())) return std::nullopt;
  qint64 length = textLengthOf(block);
  QTextBlock first = block, last = block;
  for (; startsPiece(first) && length <= LongestWholeBlock; length += textLengthOf(first)) first = first.previous();
  while (startsPiece(last.next()) && length <= LongestWholeBlock) {
    last = last.next();
    length += textLengthOf(last);
  }
  if (length > LongestWholeBlock) return std::nullopt;
  return std::pair{first.blockNumber(), last.blockNumber()};
}
}  // namespace

void EditControl::reshapePieces(int from, int to, EditStep step) {
  QTextDocument *doc = document();
  const int last = doc->characterCount() - 1;
  const int firstNumber = qMax(0, doc->findBlock(qBound(0, from, last)).blockNumber() - 1);
  const int endNumber = qMin(doc->blockCount() - 1, doc->findBlock(qBound(0, to, last)).blockNumber() + 1);
  QTextCursor cursor(doc);
  bool editing = false;
  const auto edit = [&] {
    if (editing) return;
    editing = true;
    if (step == EditStep::JoinPrevious)
      cursor.joinPreviousEditBlock();
    else
      cursor.beginEditBlock();
  };
  const auto joinWithPrevious = [&](const QTextBlock &block) {
    cursor.setPosition(block.position() - 1);
    cursor.setPosition(block.position(), QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
  };
  // From the last block back, so that the blocks still to do keep their numbers.
  for (int number = endNumber; number >= firstNumber; --number) {
    const QTextBlock block = doc->findBlockByNumber(number);
    // A line that fits whole again is one block again, out of the edited range too.
    if (const auto line = piecesOfAShortLine(block)) {
      edit();
      for (int piece = line->second; piece > line->first; --piece) joinWithPrevious(doc->findBlockByNumber(piece));
      number = qMin(number, line->first);
      continue;
    }
    if (!needsReshaping(block)) continue;
    edit();
    if (textLengthOf(block) > LongestWholeBlock) {
      const int start = block.position();
      const QList<int> cuts = PieceCuts(block.text());
      for (auto cut = cuts.crbegin(); cut != cuts.crend(); ++cut) {
        cursor.setPosition(start + *cut);
        QTextCharFormat mark = cursor.charFormat();
        mark.setProperty(PieceBreakProperty, true);
        cursor.insertBlock(cursor.blockFormat(), mark);
      }
      m_hasPieces = true;
    }
    if (needsReshaping(block)) joinWithPrevious(block);  // a piece emptied or grown small joins the one before
  }
  if (editing) cursor.endEditBlock();
  m_editedFrom = -1;
}

void EditControl::reshapeEdited() {
  if (m_editedFrom >= 0) reshapePieces(m_editedFrom, m_editedTo, EditStep::JoinPrevious);
}

void EditControl::insertQtText(QTextCursor &cursor, const QString &text) {
  const int start = cursor.selectionStart();
  QTextCharFormat format = cursor.charFormat();
  format.clearProperty(PieceBreakProperty);
  cursor.beginEditBlock();
  cursor.insertText(text, format);
  // Cut before the edit block ends, so that Qt never lays out the long line whole.
  reshapePieces(start, cursor.position(), EditStep::Own);
  cursor.endEditBlock();
  m_editedFrom = -1;
}

QString EditControl::rangeText(int from, int to, QStringView lineBreak) const {
  QString out;
  out.reserve(to - from);
  for (QTextBlock block = document()->findBlock(from); block.isValid() && block.position() <= to;
       block = block.next()) {
    const int start = qMax(from, block.position());
    const int end = qMin(to, block.position() + textLengthOf(block));
    out += QStringView(block.text()).mid(start - block.position(), end - start);
    if (end < to && !startsPiece(block.next())) out += lineBreak;
  }
  return out;
}

QString EditControl::text() const {
  if (m_hasPieces) return rangeText(0, document()->characterCount() - 1, LineBreakText(m_lineBreak));
  QString raw = document()->toRawText();
  if (m_lineBreak == LineBreak::Lf) return raw.replace(QChar::ParagraphSeparator, u'\n');
  if (m_lineBreak == LineBreak::Cr) return raw.replace(QChar::ParagraphSeparator, u'\r');
  return raw.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
}

void EditControl::setText(const QString &text) {
  m_hasPieces = false;
  setPlainText(ToQtBreaks(text));
  m_editedFrom = -1;
  if (text.size() <= LongestWholeBlock) return;
  // Cut before anything is laid out; no undo step.
  QTextDocument *doc = document();
  const bool undo = doc->isUndoRedoEnabled();
  doc->setUndoRedoEnabled(false);
  reshapePieces(0, doc->characterCount() - 1, EditStep::Own);
  doc->setUndoRedoEnabled(undo);
  doc->setModified(false);
}

qint64 EditControl::textLength() const {
  const QTextDocument *doc = document();
  int pieceBreaks = 0;
  if (m_hasPieces)
    for (QTextBlock block = doc->firstBlock(); block.isValid(); block = block.next()) pieceBreaks += startsPiece(block);
  const int lineBreaks = doc->blockCount() - 1 - pieceBreaks;
  return (doc->characterCount() - 1 - pieceBreaks) + qint64(extraPerBreak()) * lineBreaks;
}

qint64 EditControl::toOffset(int qtPosition, int extraPerBreak) const {
  const QTextDocument *doc = document();
  if (!m_hasPieces) {
    if (extraPerBreak == 0) return qtPosition;
    return qtPosition + qint64(extraPerBreak) * doc->findBlock(qtPosition).blockNumber();
  }
  qtPosition = qBound(0, qtPosition, doc->characterCount() - 1);
  const int blockStart = doc->findBlock(qtPosition).position();
  int pieceBreaks = 0, lineBreaks = 0;
  for (QTextBlock block = doc->firstBlock().next(); block.isValid() && block.position() <= blockStart;
       block = block.next())
    ++(startsPiece(block) ? pieceBreaks : lineBreaks);
  return qtPosition - pieceBreaks + qint64(extraPerBreak) * lineBreaks;
}

int EditControl::fromOffset(qint64 offset, int extraPerBreak) const {
  const QTextDocument *doc = document();
  const int last = doc->characterCount() - 1;
  if (offset <= 0) return 0;
  if (m_hasPieces) {
    // A position at a break between pieces goes to the start of the later piece.
    qint64 start = 0;  // the block's start as an offset
    for (QTextBlock block = doc->firstBlock();;) {
      const int length = textLengthOf(block);
      const QTextBlock next = block.next();
      if (!next.isValid()) return block.position() + int(qMin<qint64>(offset - start, length));
      const bool piece = startsPiece(next);
      if (offset < start + length || (offset == start + length && !piece))
        return block.position() + int(offset - start);
      const qint64 nextStart = start + length + (piece ? 0 : 1 + extraPerBreak);
      if (offset < nextStart) return next.position();
      start = nextStart;
      block = next;
    }
  }
  if (extraPerBreak == 0) return int(qMin<qint64>(offset, last));
  // The block whose start, as an offset, is the last one not after the offset.
  int lo = 0, hi = doc->blockCount() - 1;
  while (lo < hi) {
    const int mid = (lo + hi + 1) / 2;
    if (doc->findBlockByNumber(mid).position() + qint64(mid) * extraPerBreak <= offset)
      lo = mid;
    else
      hi = mid - 1;
  }
  const QTextBlock block = doc->findBlockByNumber(lo);
  const qint64 inBlock = offset - (block.position() + qint64(lo) * extraPerBreak);
  const int textLength = block.length() - 1;
  if (inBlock <= textLength) return block.position() + int(inBlock);
  return qMin(last, block.position() + textLength + 1);
}

void EditControl::replaceRange(int from, int to, const QString &text) {
  QTextCursor c(document());
  c.setPosition(from);
  c.setPosition(to, QTextCursor::KeepAnchor);
  insertQtText(c, ToQtBreaks(text));
}

qint64 EditControl::selStart() const { return toSpec(textCursor().selectionStart()); }

qint64 EditControl::selLength() const {
  const QTextCursor c = textCursor();
  return toSpec(c.selectionEnd()) - toSpec(c.selectionStart());
}

QString EditControl::selText() const {
  const QTextCursor c = textCursor();
  if (m_hasPieces) return rangeText(c.selectionStart(), c.selectionEnd(), LineBreakText(m_lineBreak));
  QString selected = c.selectedText();
  return selected.replace(QChar::ParagraphSeparator, LineBreakText(m_lineBreak));
}

void EditControl::setSelStart(qint64 position) {
  QTextCursor c = textCursor();
  c.setPosition(toQt(position));
  setTextCursor(c);
}

void EditControl::setSelLength(qint64 length) {
  QTextCursor c = textCursor();
  const int start = c.selectionStart();
  const qint64 end = toSpec(start) + qMax<qint64>(0, length);
  c.setPosition(start);
  c.setPosition(toQt(end), QTextCursor::KeepAnchor);
  setTextCursor(c);
}

void EditControl::setSelText(const QString &text) {
  QTextCursor c = textCursor();
  insertQtText(c, ToQtBreaks(text));
  setTextCursor(c);
}

QMimeData *EditControl::createMimeDataFromSelection() const {
  if (!m_hasPieces) return QPlainTextEdit::createMimeDataFromSelection();
  const QTextCursor c = textCursor();
  auto *data = new QMimeData;
  data->setText(rangeText(c.selectionStart(), c.selectionEnd(), u"\n"));
  return data;
}

void EditControl::insertFromMimeData(const QMimeData *source) {
  if (isReadOnly() || !source || !source->hasText()) return;
  QTextCursor c = textCursor();
  insertQtText(c, ToQtBreaks(source->text()));
  setTextCursor(c);
  ensureCursorVisible();
}

void EditControl::unmarkTypingFormat() {
  if (textCursor().hasSelection()) return;
  QTextCharFormat format = currentCharFormat();
  if (!format.hasProperty(PieceBreakProperty)) return;
  format.clearProperty(PieceBreakProperty);
  setCurrentCharFormat(format);
}

void EditControl::stepOverPieceBreakToDelete(const QKeyEvent *event) {
  QTextCursor c = textCursor();
  if (c.hasSelection()) return;
  const bool backward = event->key() == Qt::Key_Backspace || event->matches(QKeySequence::DeleteStartOfWord);
  const bool forward = event->matches(QKeySequence::Delete) || event->matches(QKeySequence::DeleteEndOfWord);
  const QTextBlock block = c.block();
  if (backward && c.atBlockStart() && startsPiece(block))
    c.movePosition(QTextCursor::PreviousCharacter);
  else if (forward && c.atBlockEnd() && startsPiece(block.next()))
    c.movePosition(QTextCursor::NextCharacter);
  else
    return;
  setTextCursor(c);
}

bool EditControl::movedOnlyOverPieceBreak(int before, int revision, int length) const {
  const int after = textCursor().position();
  // Within an edit step the revision stays until the step ends; the length tells.
  if (document()->revision() != revision || document()->characterCount() != length || qAbs(after - before) != 1)
    return false;
  const QTextBlock later = document()->findBlock(qMax(before, after));
  return later.position() == qMax(before, after) && startsPiece(later);
}

bool EditControl::mayReshape(int added, bool drastic) const {
  const QTextCursor c = textCursor();
  const QTextBlock block = document()->findBlock(c.selectionStart());
  if (block != document()->findBlock(c.selectionEnd())) return true;  // blocks join
  const bool inPieces = startsPiece(block) || startsPiece(block.next());
  if (drastic && inPieces) return true;
  constexpr int Margin = 8;  // a character made of several, taken or given whole
  const int length = textLengthOf(block);
  // The line grows past the limit, or joins the line before or after past it.
  const int grown = length + added + Margin;
  if (grown > LongestWholeBlock || grown + textLengthOf(block.previous()) > LongestWholeBlock ||
      grown + textLengthOf(block.next()) > LongestWholeBlock)
    return true;
  if (!inPieces) return false;
  // A piece emptied or grown small joins its neighbour; a line that fits
  // whole again loses its pieces.
  const int shrunk = length - (c.selectionEnd() - c.selectionStart()) - 1 - Margin;
  if (shrunk <= 0) return true;
  if (startsPiece(block) && textLengthOf(block.previous()) + shrunk <= PieceLength) return true;
  if (startsPiece(block.next()) && shrunk + textLengthOf(block.next()) <= PieceLength) return true;
  qint64 line = shrunk;
  for (QTextBlock b = block; startsPiece(b) && line <= LongestWholeBlock;) {
    b = b.previous();
    line += textLengthOf(b);
  }
  for (QTextBlock b = block.next(); startsPiece(b) && line <= LongestWholeBlock; b = b.next()) line += textLengthOf(b);
  return line <= LongestWholeBlock;
}

// Qt's editing by a key or an input method, with what it makes necessary:
// where the edit may reshape a line, both are one undo step of their own;
// elsewhere Qt's step is left alone, so that typed letters still undo together.
class EditControl::EditStepAround {
 public:
  EditStepAround(EditControl *control, int added, bool drastic) : m_control(control), m_step(control->document()) {
    const QTextCursor c = control->textCursor();
    m_from = c.selectionStart();
    m_to = c.selectionEnd();
    m_own = control->mayReshape(added, drastic);
    if (m_own) m_step.beginEditBlock();
  }
  ~EditStepAround() {
    if (m_own) m_step.endEditBlock();
  }
  EditStepAround(const EditStepAround &) = delete;
  EditStepAround &operator=(const EditStepAround &) = delete;
  void reshape() {
    if (!m_own) {
      m_control->reshapeEdited();
      return;
    }
    // Qt reports the changes only when the step ends: the caret tells where they were.
    const int caret = m_control->textCursor().position();
    m_control->reshapePieces(qMin(m_from, caret), qMax(m_to, caret), EditStep::Own);
    m_step.endEditBlock();
    m_own = false;
    m_control->m_editedFrom = -1;
  }

 private:
  EditControl *m_control;
  QTextCursor m_step;
  int m_from, m_to;
  bool m_own;
};

void EditControl::keyPressEvent(QKeyEvent *event) {
  if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
    // The text comes back as it was held, pieces and all: nothing to reshape,
    // and a reshape would end the redo history.
    QPlainTextEdit::keyPressEvent(event);
    m_editedFrom = -1;
    return;
  }
  if (m_hasPieces) {
    unmarkTypingFormat();
    stepOverPieceBreakToDelete(event);
  }
  // A key that makes a line long enough to be cut, or lets its pieces join,
  // is one undo step with that reshaping: Qt cannot join a typed key's own
  // step afterwards.
  // Enter splits a line, and the word and line deletions take an unknown part of it.
  const bool drastic = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
                       event->matches(QKeySequence::DeleteStartOfWord) ||
                       event->matches(QKeySequence::DeleteEndOfWord) || event->matches(QKeySequence::DeleteEndOfLine) ||
                       event->matches(QKeySequence::DeleteCompleteLine);
  EditStepAround step(this, int(event->text().size()), drastic);
  const int before = textCursor().position();
  const int revision = document()->revision();
  const int length = document()->characterCount();
  QPlainTextEdit::keyPressEvent(event);
  // One key, one character: a move that only crossed a break between pieces goes on.
  if (m_hasPieces && movedOnlyOverPieceBreak(before, revision, length)) QPlainTextEdit::keyPressEvent(event);
  step.reshape();
}

void EditControl::inputMethodEvent(QInputMethodEvent *event) {
  if (m_hasPieces) unmarkTypingFormat();
  EditStepAround step(this, int(event->commitString().size()), true);
  QPlainTextEdit::inputMethodEvent(event);
  step.reshape();
}

bool EditControl::event(QEvent *event) {
  if (event->type() == QEvent::ShortcutOverride && m_ownedByMenu) {
    auto *key = static_cast<QKeyEvent *>(event);
    const QKeySequence sequence(QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
    if (m_ownedByMenu(sequence)) {
      event->ignore();  // not claimed: the menu's shortcut runs
      return true;
    }
  }
  return QPlainTextEdit::event(event);
}

void EditControl::mouseDoubleClickEvent(QMouseEvent *event) {
  QPlainTextEdit::mouseDoubleClickEvent(event);
  m_doubleClick.start();
  m_doubleClickAt = event->position().toPoint();
}

void EditControl::mousePressEvent(QMouseEvent *event) {
  const bool tripleClick =
      m_doubleClick.isValid() && !m_doubleClick.hasExpired(QApplication::doubleClickInterval()) &&
      (event->position().toPoint() - m_doubleClickAt).manhattanLength() < QApplication::startDragDistance();
  QPlainTextEdit::mousePressEvent(event);
  if (!tripleClick || !m_hasPieces) return;
  // Qt selects the block clicked; the line is all of its pieces.
  QTextCursor c = textCursor();
  QTextBlock first = document()->findBlock(c.selectionStart());
  QTextBlock last = document()->findBlock(c.selectionEnd());
  while (startsPiece(first)) first = first.previous();
  while (startsPiece(last.next())) last = last.next();
  c.setPosition(first.position());
  c.setPosition(last.position() + textLengthOf(last), QTextCursor::KeepAnchor);
  setTextCursor(c);
}

void EditControl::focusInEvent(QFocusEvent *event) {
  QPlainTextEdit::focusInEvent(event);
  emit focusGained();
}

}  // namespace quillora
