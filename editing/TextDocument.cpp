// SPDX-License-Identifier: GPL-3.0-or-later
#include "editing/TextDocument.h"

#include "editing/EditStep.h"

#include <QPlainTextDocumentLayout>

namespace quillora {

TextDocument::TextDocument(QObject *parent, int pieceLength) : QTextDocument(parent), m_lines(this, pieceLength) {
  setDocumentLayout(new QPlainTextDocumentLayout(this));
  connect(this, &QTextDocument::contentsChange, this, &TextDocument::noteChange);
}

TextDocument::~TextDocument() { disconnect(this, &QTextDocument::contentsChange, this, nullptr); }

void TextDocument::noteChange(int position, int removed, int added) {
  if (m_editedFrom < 0) {
    m_editedFrom = position;
    m_editedTo = position + added;
    return;
  }
  if (position <= m_editedTo) m_editedTo = qMax(position, m_editedTo + added - removed);
  m_editedFrom = qMin(m_editedFrom, position);
  m_editedTo = qMax(m_editedTo, position + added);
}

QString TextDocument::text(int from, int to) const {
  if (m_lines.hasPieces() || from != 0 || to != characterCount() - 1)
    return m_lines.text(from, to, LineBreakText(m_lineBreak));
  QString raw = toRawText();
  if (m_lineBreak == LineBreak::Lf) return raw.replace(QChar::ParagraphSeparator, u'\n');
  if (m_lineBreak == LineBreak::Cr) return raw.replace(QChar::ParagraphSeparator, u'\r');
  return raw.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
}

void TextDocument::textSet() {
  m_editedFrom = -1;
  if (characterCount() - 1 <= m_lines.longestWholeLine()) return;
  // Cut before anything is laid out.
  const bool undo = isUndoRedoEnabled();
  setUndoRedoEnabled(false);
  {
    EditStep step{QTextCursor(this)};
    m_lines.balance(0, characterCount() - 1, step);
  }
  setUndoRedoEnabled(undo);
  setModified(false);
  m_editedFrom = -1;
}

qint64 TextDocument::textLength() const {
  const int cuts = m_lines.pieceBreakCount();
  const int lineBreaks = blockCount() - 1 - cuts;
  return (characterCount() - 1 - cuts) + qint64(extraPerBreak()) * lineBreaks;
}

void TextDocument::insert(QTextCursor &cursor, const QString &text) {
  const int start = cursor.selectionStart();
  {
    EditStep step{cursor};
    cursor.insertText(ToQtBreaks(text), LongLines::unmarked(cursor.charFormat()));
    // Cut before the edit step ends, so that Qt never lays out the long line whole.
    m_lines.balance(start, cursor.position(), step);
  }
  m_editedFrom = -1;
}

void TextDocument::replace(QTextCursor &cursor, int from, int to, const QString &text) {
  {
    EditStep step{cursor};
    cursor.setPosition(from);
    const QTextCharFormat format = LongLines::unmarked(cursor.charFormat());
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    if (text.isEmpty())
      cursor.removeSelectedText();
    else
      cursor.insertText(text, format);
    m_lines.balance(from, cursor.position(), step);
  }
  m_editedFrom = -1;
}

void TextDocument::balanceEdited() {
  if (m_editedFrom < 0) return;
  {
    EditStep step(this, EditStep::JoinPrevious{});
    m_lines.balance(m_editedFrom, m_editedTo, step);
  }
  m_editedFrom = -1;
}

}  // namespace quillora
