// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/EditControl.h"

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

bool isForwardWordMove(const QKeyEvent *e) {
  return e->matches(QKeySequence::MoveToNextWord) || e->matches(QKeySequence::SelectNextWord);
}
bool isBackwardWordMove(const QKeyEvent *e) {
  return e->matches(QKeySequence::MoveToPreviousWord) || e->matches(QKeySequence::SelectPreviousWord);
}

}  // namespace

EditControl::EditControl(QWidget *parent, int pieceLength) : QPlainTextEdit(parent), m_lines(document(), pieceLength) {
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
  // Remember where Qt's editing changed the text.
  connect(document(), &QTextDocument::contentsChange, this, [this](int position, int removed, int added) {
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

QString EditControl::text() const {
  if (m_lines.hasPieces()) return m_lines.text(0, document()->characterCount() - 1, LineBreakText(m_lineBreak));
  QString raw = document()->toRawText();
  if (m_lineBreak == LineBreak::Lf) return raw.replace(QChar::ParagraphSeparator, u'\n');
  if (m_lineBreak == LineBreak::Cr) return raw.replace(QChar::ParagraphSeparator, u'\r');
  return raw.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
}

void EditControl::setText(const QString &text) {
  setPlainText(ToQtBreaks(text));
  if (text.size() > m_lines.longestWholeLine()) {
    // Cut before anything is laid out; no undo step.
    QTextDocument *doc = document();
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    QTextCursor step(doc);
    step.beginEditBlock();
    m_lines.balance(0, doc->characterCount() - 1);
    step.endEditBlock();
    doc->setUndoRedoEnabled(undo);
    doc->setModified(false);
  }
  m_editedFrom = -1;
}

qint64 EditControl::textLength() const {
  const QTextDocument *doc = document();
  const int cuts = m_lines.pieceBreakCount();
  const int lineBreaks = doc->blockCount() - 1 - cuts;
  return (doc->characterCount() - 1 - cuts) + qint64(extraPerBreak()) * lineBreaks;
}

void EditControl::insertQtText(QTextCursor &cursor, const QString &text) {
  const int start = cursor.selectionStart();
  cursor.beginEditBlock();
  cursor.insertText(text, LongLines::unmarked(cursor.charFormat()));
  // Cut before the edit step ends, so that Qt never lays out the long line whole.
  m_lines.balance(start, cursor.position());
  cursor.endEditBlock();
  m_editedFrom = -1;
}

void EditControl::balanceEdited() {
  if (m_editedFrom < 0) return;
  QTextCursor step(document());
  bool joined = false;
  m_lines.balance(m_editedFrom, m_editedTo, [&] {
    step.joinPreviousEditBlock();
    joined = true;
  });
  if (joined) step.endEditBlock();
  m_editedFrom = -1;
}

void EditControl::replaceRange(int from, int to, const QString &text) {
  QTextCursor c(document());
  c.setPosition(from);
  c.setPosition(to, QTextCursor::KeepAnchor);
  insertQtText(c, ToQtBreaks(text));
}

qint64 EditControl::selStart() const { return offsetOf(textCursor().selectionStart()); }

qint64 EditControl::selLength() const {
  const QTextCursor c = textCursor();
  return offsetOf(c.selectionEnd()) - offsetOf(c.selectionStart());
}

QString EditControl::selText() const {
  const QTextCursor c = textCursor();
  if (m_lines.hasPieces()) return m_lines.text(c.selectionStart(), c.selectionEnd(), LineBreakText(m_lineBreak));
  QString selected = c.selectedText();
  return selected.replace(QChar::ParagraphSeparator, LineBreakText(m_lineBreak));
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
  insertQtText(c, ToQtBreaks(text));
  setTextCursor(c);
}

QMimeData *EditControl::createMimeDataFromSelection() const {
  if (!m_lines.hasPieces()) return QPlainTextEdit::createMimeDataFromSelection();
  const QTextCursor c = textCursor();
  auto *data = new QMimeData;
  data->setText(m_lines.text(c.selectionStart(), c.selectionEnd(), u"\n"));
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
  if (textCursor().hasSelection() || !LongLines::isMarked(currentCharFormat())) return;
  setCurrentCharFormat(LongLines::unmarked(currentCharFormat()));
}

void EditControl::stepOverCutToDelete(const QKeyEvent *event) {
  QTextCursor c = textCursor();
  if (c.hasSelection()) return;
  const bool backward = event->key() == Qt::Key_Backspace || event->matches(QKeySequence::DeleteStartOfWord);
  const bool forward = event->matches(QKeySequence::Delete) || event->matches(QKeySequence::DeleteEndOfWord) ||
                       event->matches(QKeySequence::DeleteEndOfLine);
  if (backward && LongLines::atCutBehind(c))
    c.movePosition(QTextCursor::PreviousCharacter);
  else if (forward && LongLines::atCutAhead(c))
    c.movePosition(QTextCursor::NextCharacter);
  else
    return;
  setTextCursor(c);
}

void EditControl::continueMoveOverCuts(QKeyEvent *event, int before, int revision, int length) {
  if (!m_lines.hasPieces()) return;
  QTextCursor c = textCursor();
  const int after = c.position();
  const bool forwardWord = isForwardWordMove(event), backwardWord = isBackwardWordMove(event);
  // One key, one character: a move that only crossed a cut goes on. (Within
  // an edit step the revision stays until the step ends; the length tells.)
  const QTextBlock later = document()->findBlock(qMax(before, after));
  const bool onlyCrossedACut = document()->revision() == revision && document()->characterCount() == length &&
                               qAbs(after - before) == 1 && later.position() == qMax(before, after) &&
                               LongLines::startsPiece(later);
  if (!forwardWord && !backwardWord) {
    if (onlyCrossedACut) QPlainTextEdit::keyPressEvent(event);
    return;
  }
  const QTextCursor::MoveMode mode = c.hasSelection() ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
  if (onlyCrossedACut) c.movePosition(forwardWord ? QTextCursor::NextWord : QTextCursor::PreviousWord, mode);
  LongLines::continueWordMove(c, forwardWord, mode);
  if (c.position() != after) setTextCursor(c);
}

std::optional<EditControl::Edit> EditControl::editOfKey(const QKeyEvent *event) const {
  if (isReadOnly() || event->matches(QKeySequence::SelectAll) || event->matches(QKeySequence::Copy) ||
      event->matches(QKeySequence::Paste))
    return std::nullopt;
  const QTextCursor c = textCursor();
  const int from = c.selectionStart(), to = c.selectionEnd(), at = c.position();
  const bool selected = c.hasSelection();
  const QTextDocument *doc = document();
  // In the order Qt's editing looks at them.
  if ((event->key() == Qt::Key_Backspace && !(event->modifiers() & ~Qt::ShiftModifier)) ||
      event->matches(QKeySequence::Backspace)) {
    if (selected) return Edit{from, to, {}};
    if (at == 0) return std::nullopt;
    const bool pair = at > 1 && doc->characterAt(at - 1).isLowSurrogate() && doc->characterAt(at - 2).isHighSurrogate();
    return Edit{at - (pair ? 2 : 1), at, {}};
  }
  if (event->matches(QKeySequence::InsertParagraphSeparator)) return Edit{from, to, QStringLiteral("\n")};
  if (event->matches(QKeySequence::InsertLineSeparator)) return Edit{from, to, QString(QChar::LineSeparator)};
  if (event->matches(QKeySequence::Cut)) {
    if (!selected) return std::nullopt;
    return Edit{from, to, {}, true};
  }
  if (event->matches(QKeySequence::Delete)) {
    if (selected) return Edit{from, to, {}};
    QTextCursor probe = c;
    if (!probe.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor)) return std::nullopt;
    return Edit{at, probe.position(), {}};
  }
  const bool endOfWord = event->matches(QKeySequence::DeleteEndOfWord);
  if (endOfWord || event->matches(QKeySequence::DeleteStartOfWord)) {
    if (selected) return Edit{from, to, {}};
    QTextCursor probe = c;
    probe.movePosition(endOfWord ? QTextCursor::NextWord : QTextCursor::PreviousWord, QTextCursor::KeepAnchor);
    const int qtEnd = probe.position();
    LongLines::continueWordMove(probe, endOfWord, QTextCursor::KeepAnchor);
    // Qt's own key would stop at the cut.
    return Edit{probe.selectionStart(), probe.selectionEnd(), {}, false, probe.position() != qtEnd};
  }
  if (event->matches(QKeySequence::DeleteEndOfLine)) {
    // To the end of the whole line, or the last character before it; the
    // anchor of a selection stays.
    const LongLines::Line line = LongLines::lineOf(c.block());
    const int lineEnd = line.last.position() + line.last.length() - 1;
    QTextCursor probe = c;
    if (at + 1 == lineEnd)
      probe.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    else
      probe.setPosition(lineEnd, QTextCursor::KeepAnchor);
    return Edit{probe.selectionStart(), probe.selectionEnd(), {}, false, line.first != line.last};
  }
  if (isTypedText(event)) return Edit{from, to, event->text()};
  return std::nullopt;
}

void EditControl::makeOwnEdit(const Edit &edit) {
  QTextCursor c = textCursor();
  if (edit.copyFirst) QApplication::clipboard()->setMimeData(createMimeDataFromSelection());
  // Begun where the caret is, so that Undo puts it back there.
  c.beginEditBlock();
  c.setPosition(edit.from);
  const QTextCharFormat format = LongLines::unmarked(c.charFormat());
  c.setPosition(edit.to, QTextCursor::KeepAnchor);
  if (edit.text.isEmpty())
    c.removeSelectedText();
  else
    c.insertText(edit.text, format);
  m_lines.balance(edit.from, c.position());
  c.endEditBlock();
  m_editedFrom = -1;
  setTextCursor(c);
  ensureCursorVisible();
}

void EditControl::keyPressEvent(QKeyEvent *event) {
  if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
    // The text comes back as it was held, pieces and all: nothing to cut or
    // join, and a change would end the redo history.
    QPlainTextEdit::keyPressEvent(event);
    m_editedFrom = -1;
    return;
  }
  if (m_lines.hasPieces()) {
    unmarkTypingFormat();
    stepOverCutToDelete(event);
  }
  // A key that makes a line long enough to be cut, or lets pieces join, is
  // one step with that cutting or joining, and made here: Qt's editing would
  // end its own step first, and lay the long line out whole.
  if (const std::optional<Edit> edit = editOfKey(event);
      edit && (edit->own || m_lines.editUnbalances(edit->from, edit->to, edit->text))) {
    makeOwnEdit(*edit);
    event->accept();
    return;
  }
  const int before = textCursor().position();
  const int revision = document()->revision();
  const int length = document()->characterCount();
  QPlainTextEdit::keyPressEvent(event);
  continueMoveOverCuts(event, before, revision, length);
  balanceEdited();
}

void EditControl::inputMethodEvent(QInputMethodEvent *event) {
  if (m_lines.hasPieces()) unmarkTypingFormat();
  // A plain commit, with nothing being composed, is typed text.
  const QTextCursor c = textCursor();
  const QTextLayout *layout = c.block().layout();
  const QString commit = ToQtBreaks(event->commitString());
  if (!isReadOnly() && !commit.isEmpty() && event->preeditString().isEmpty() && event->replacementLength() == 0 &&
      (!layout || layout->preeditAreaText().isEmpty()) &&
      m_lines.editUnbalances(c.selectionStart(), c.selectionEnd(), commit)) {
    makeOwnEdit({c.selectionStart(), c.selectionEnd(), commit});
    event->accept();
    return;
  }
  QPlainTextEdit::inputMethodEvent(event);
  balanceEdited();
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

void EditControl::widenWordOverCuts() {
  QTextCursor c = textCursor();
  if (!c.hasSelection()) return;
  const auto [start, end] = m_lines.wordThroughCuts(c.selectionStart(), c.selectionEnd());
  if (start == c.selectionStart() && end == c.selectionEnd()) return;
  const bool forward = c.position() >= c.anchor();
  c.setPosition(forward ? start : end);
  c.setPosition(forward ? end : start, QTextCursor::KeepAnchor);
  selectWhereClicked(c);
}

void EditControl::widenLineOverCuts() {
  // Qt selects the block clicked and the break after it; the line is all its pieces.
  QTextCursor c = textCursor();
  const LongLines::Line line = LongLines::lineOf(document()->findBlock(c.selectionStart()));
  if (line.first == line.last) return;
  const QTextBlock after = line.last.next();
  c.setPosition(line.first.position());
  c.setPosition(after.isValid() ? after.position() : line.last.position() + line.last.length() - 1,
                QTextCursor::KeepAnchor);
  selectWhereClicked(c);
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
  if (m_lines.hasPieces()) widenWordOverCuts();
}

void EditControl::mousePressEvent(QMouseEvent *event) {
  const bool tripleClick =
      m_doubleClick.isValid() && !m_doubleClick.hasExpired(QApplication::doubleClickInterval()) &&
      (event->position().toPoint() - m_doubleClickAt).manhattanLength() < QApplication::startDragDistance();
  QPlainTextEdit::mousePressEvent(event);
  if (tripleClick && m_lines.hasPieces()) widenLineOverCuts();
}

void EditControl::focusInEvent(QFocusEvent *event) {
  QPlainTextEdit::focusInEvent(event);
  emit focusGained();
}

}  // namespace quillora
