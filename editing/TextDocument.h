// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A document's text, as the text box shows it: Qt's document, with the facts
// that belong to this text and to no view of it.
//
// - The line-break style: a break counts as many characters as its style
//   has (two for CR LF), and the text is handed out in it.
// - The long lines held in pieces (LongLines): everything this class hands
//   out (the text, the offsets, the text between two positions) leaves the
//   cuts out, and every change is followed by the cutting or joining it
//   needs, within the same undo step.
// - Where Qt's editing changed the text since the lines were last balanced.
//
// Line breaks of any style become Qt's LF where text comes in, here.

#include "common/LineBreaks.h"
#include "editing/LongLines.h"

#include <QTextDocument>

namespace quillora {

class TextDocument : public QTextDocument {
  Q_OBJECT
 public:
  // Lines longer than four pieces of `pieceLength` characters are held in pieces.
  explicit TextDocument(QObject *parent = nullptr, int pieceLength = LongLines::DefaultPieceLength);
  ~TextDocument() override;

  LineBreak lineBreak() const { return m_lineBreak; }
  void setLineBreak(LineBreak style) { m_lineBreak = style; }

  // The whole text, line breaks in the document's style.
  QString text() const { return text(0, characterCount() - 1); }
  // The text between two of Qt's positions so.
  QString text(int from, int to) const;
  // Once the view has set a whole new text in, its long lines are cut, as
  // no undo step and no change.
  void textSet();
  qint64 textLength() const;

  // The offset in the text of one of Qt's positions (where a break is one
  // character), and the position of an offset. An offset inside a CR LF
  // pair goes to the start of the next line.
  qint64 offsetOf(int position) const { return m_lines.toOffset(position, extraPerBreak()); }
  int positionOf(qint64 offset) const { return m_lines.fromOffset(offset, extraPerBreak()); }

  // The text with every line break one LF and the cuts left out, as
  // assistive technology, the printer, the mail and the clipboard take it;
  // offsets in it.
  QString plainText(int from, int to) const { return m_lines.text(from, to, u"\n"); }
  QString plainText() const { return plainText(0, characterCount() - 1); }
  qint64 plainOffsetOf(int position) const { return m_lines.toOffset(position, 0); }
  int positionOfPlainOffset(qint64 offset) const { return m_lines.fromOffset(offset, 0); }

  // Replaces the cursor's selection with text whose breaks may be of any
  // style, as one edit step, long lines going in as pieces.
  void insert(QTextCursor &cursor, const QString &text);
  // Replaces the text between two positions with text whose breaks are LF,
  // as one edit step begun where the cursor stands; the cursor ends after it.
  void replace(QTextCursor &cursor, int from, int to, const QString &text);
  // After Qt's own editing, the lines it changed are cut or joined as part of its step.
  void balanceEdited();
  // Undo and Redo bring the text back as it was held, pieces and all.
  void forgetEdited() { m_editedFrom = -1; }

  const LongLines &longLines() const { return m_lines; }

 private:
  int extraPerBreak() const { return m_lineBreak == LineBreak::CrLf ? 1 : 0; }
  void noteChange(int position, int removed, int added);

  LongLines m_lines;
  LineBreak m_lineBreak = LineBreak::CrLf;
  int m_editedFrom = -1;  // what Qt's editing changed since the lines were last balanced
  int m_editedTo = -1;
};

}  // namespace quillora
