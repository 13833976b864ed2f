// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/EditControl.h"

#include "editing/CutNavigation.h"
#include "editing/EditControlAccessible.h"
#include "languages/MenuTrees.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

namespace quillora {

EditControl::EditControl(QWidget *parent, int pieceLength)
    : QPlainTextEdit(parent), m_document(new TextDocument(this, pieceLength)) {
  setDocument(m_document);
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
}

void EditControl::setText(const QString &text) {
  setPlainText(ToQtBreaks(text));
  m_document->textSet();
}

void EditControl::replaceRange(int from, int to, const QString &text) {
  QTextCursor c(m_document);
  c.setPosition(from);
  c.setPosition(to, QTextCursor::KeepAnchor);
  m_document->insert(c, text);
}

qint64 EditControl::selStart() const { return offsetOf(textCursor().selectionStart()); }

qint64 EditControl::selLength() const {
  const QTextCursor c = textCursor();
  return offsetOf(c.selectionEnd()) - offsetOf(c.selectionStart());
}

QString EditControl::selText() const {
  const QTextCursor c = textCursor();
  return m_document->text(c.selectionStart(), c.selectionEnd());
}

void EditControl::setSelStart(qint64 offset) {
  QTextCursor c = textCursor();
  c.setPosition(positionOf(offset));
  setTextCursor(c);
}

void EditControl::setSelLength(qint64 length) {
  QTextCursor c = textCursor();
  const int start = c.selectionStart();
  const qint64 end = offsetOf(start) + qMax<qint64>(0, length);
  c.setPosition(start);
  c.setPosition(positionOf(end), QTextCursor::KeepAnchor);
  setTextCursor(c);
}

void EditControl::setSelText(const QString &text) {
  QTextCursor c = textCursor();
  m_document->insert(c, text);
  setTextCursor(c);
}

QMimeData *EditControl::createMimeDataFromSelection() const {
  if (!hasPieces()) return QPlainTextEdit::createMimeDataFromSelection();
  const QTextCursor c = textCursor();
  auto *data = new QMimeData;
  data->setText(m_document->plainText(c.selectionStart(), c.selectionEnd()));
  return data;
}

void EditControl::insertFromMimeData(const QMimeData *source) {
  if (isReadOnly() || !source || !source->hasText()) return;
  QTextCursor c = textCursor();
  m_document->insert(c, source->text());
  setTextCursor(c);
  ensureCursorVisible();
}

void EditControl::unmarkTypingFormat() {
  if (textCursor().hasSelection() || !LongLines::isMarked(currentCharFormat())) return;
  setCurrentCharFormat(LongLines::unmarked(currentCharFormat()));
}

void EditControl::stepOverCutToDelete(const QKeyEvent *event) {
  QTextCursor c = textCursor();
  if (c.hasSelection()) return;
  const DeleteSide side = DeleteSideOfKey(event);
  if (side == DeleteSide::Behind && AtCutBehind(c))
    c.movePosition(QTextCursor::PreviousCharacter);
  else if (side == DeleteSide::Ahead && AtCutAhead(c))
    c.movePosition(QTextCursor::NextCharacter);
  else
    return;
  setTextCursor(c);
}

void EditControl::continueMoveOverCuts(const QKeyEvent *event, int before, int revision, int length) {
  QTextCursor c = textCursor();
  const int after = c.position();
  const std::optional<CursorMove> word = WordMoveOfKey(event);
  // One key, one character: a move that only crossed a cut goes on. (Within
  // an edit step the revision stays until the step ends; the length tells.)
  const QTextBlock later = m_document->findBlock(qMax(before, after));
  const bool onlyCrossedACut = m_document->revision() == revision && m_document->characterCount() == length &&
                               qAbs(after - before) == 1 && later.position() == qMax(before, after) &&
                               LongLines::startsPiece(later);
  if (word) {
    // A selecting key keeps the anchor even where its move came back to it.
    if (onlyCrossedACut) c.movePosition(word->operation, word->mode);
    ContinueWordMove(c, word->operation == QTextCursor::NextWord, word->mode);
  } else if (const std::optional<CursorMove> move = CursorMoveOfKey(event); move && onlyCrossedACut) {
    c.movePosition(move->operation, move->mode);
  }
  if (c.position() != after) setTextCursor(c);
}

void EditControl::makeOwnEdit(const KeyEdit &edit) {
  if (edit.copyFirst) QApplication::clipboard()->setMimeData(createMimeDataFromSelection());
  QTextCursor c = textCursor();
  m_document->replace(c, edit.from, edit.to, edit.text);
  setTextCursor(c);
  ensureCursorVisible();
}

void EditControl::keyPressEvent(QKeyEvent *event) {
  if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
    // The text comes back as it was held, pieces and all: nothing to cut or
    // join, and a change would end the redo history.
    QPlainTextEdit::keyPressEvent(event);
    m_document->forgetEdited();
    return;
  }
  if (hasPieces()) {
    unmarkTypingFormat();
    stepOverCutToDelete(event);
  }
  // A key that makes a line long enough to be cut, or lets pieces join, is
  // one step with that cutting or joining, and made here: Qt's editing would
  // end its own step first, and lay the long line out whole. So is one that
  // replaces text across a cut: Undo of Qt's Enter there brings the cut back
  // as a line break.
  if (const std::optional<KeyEdit> edit = EditOfKey(event, textCursor(), isReadOnly());
      edit && (edit->own || longLines().cutBetween(edit->from, edit->to) ||
               longLines().editUnbalances(edit->from, edit->to, edit->text))) {
    makeOwnEdit(*edit);
    event->accept();
    return;
  }
  const int before = textCursor().position();
  const int revision = document()->revision();
  const int length = document()->characterCount();
  QPlainTextEdit::keyPressEvent(event);
  if (hasPieces()) continueMoveOverCuts(event, before, revision, length);
  m_document->balanceEdited();
}

void EditControl::inputMethodEvent(QInputMethodEvent *event) {
  if (hasPieces()) unmarkTypingFormat();
  // A plain commit, with nothing being composed, is typed text.
  const QTextCursor c = textCursor();
  const QTextLayout *layout = c.block().layout();
  const QString commit = ToQtBreaks(event->commitString());
  if (!isReadOnly() && !commit.isEmpty() && event->preeditString().isEmpty() && event->replacementLength() == 0 &&
      (!layout || layout->preeditAreaText().isEmpty()) &&
      longLines().editUnbalances(c.selectionStart(), c.selectionEnd(), commit)) {
    makeOwnEdit({c.selectionStart(), c.selectionEnd(), commit});
    event->accept();
    return;
  }
  QPlainTextEdit::inputMethodEvent(event);
  m_document->balanceEdited();
}

bool EditControl::event(QEvent *event) {
  if (event->type() == QEvent::ShortcutOverride && m_menus) {
    auto *key = static_cast<QKeyEvent *>(event);
    const QKeySequence sequence(QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
    if (m_menus->shownTreeOwnsKey(sequence)) {
      event->ignore();  // not claimed: the menu's shortcut runs
      return true;
    }
  }
  return QPlainTextEdit::event(event);
}

void EditControl::selectWhereClicked(const QTextCursor &selection) {
  // As Qt's own selection by the mouse, the view stays where it was clicked.
  const int scrolled = verticalScrollBar()->value();
  setTextCursor(selection);
  verticalScrollBar()->setValue(scrolled);
}

void EditControl::mouseDoubleClickEvent(QMouseEvent *event) {
  QPlainTextEdit::mouseDoubleClickEvent(event);
  m_doubleClick.start();
  m_doubleClickAt = event->position().toPoint();
  // The word takes all its pieces.
  QTextCursor c = textCursor();
  if (!hasPieces() || !c.hasSelection()) return;
  const auto [start, end] = WordThroughCuts(m_document, c.selectionStart(), c.selectionEnd());
  if (start == c.selectionStart() && end == c.selectionEnd()) return;
  const bool forward = c.position() >= c.anchor();
  c.setPosition(forward ? start : end);
  c.setPosition(forward ? end : start, QTextCursor::KeepAnchor);
  selectWhereClicked(c);
}

void EditControl::mousePressEvent(QMouseEvent *event) {
  const bool tripleClick =
      m_doubleClick.isValid() && !m_doubleClick.hasExpired(QApplication::doubleClickInterval()) &&
      (event->position().toPoint() - m_doubleClickAt).manhattanLength() < QApplication::startDragDistance();
  QPlainTextEdit::mousePressEvent(event);
  // Qt selects the block clicked and the break after it; the line is all its pieces.
  if (!tripleClick || !hasPieces()) return;
  const QTextCursor clicked = textCursor(), line = LineThroughCuts(clicked);
  if (line.anchor() != clicked.anchor() || line.position() != clicked.position()) selectWhereClicked(line);
}

void EditControl::focusInEvent(QFocusEvent *event) {
  QPlainTextEdit::focusInEvent(event);
  emit focusGained();
}

}  // namespace quillora
