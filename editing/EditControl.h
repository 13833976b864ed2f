// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The document's multi-line text box: the view of a TextDocument. Besides
// Qt's own editing it offers the selection start and length and the selected
// text in the program's own offsets, where a line break counts as many
// characters as the document's line-break style has (two for CR LF).
//
// A very long line is held in pieces: copies and drags leave the cuts out,
// and the keys (KeyEdits, CutNavigation) and the mouse treat the pieces of a
// line as one text.

#include "common/LineBreaks.h"
#include "editing/KeyEdits.h"
#include "editing/TextDocument.h"

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <optional>

namespace quillora {

class MenuTrees;

class EditControl : public QPlainTextEdit {
  Q_OBJECT
 public:
  // Lines longer than four pieces of `pieceLength` characters are held in pieces.
  explicit EditControl(QWidget *parent = nullptr, int pieceLength = LongLines::DefaultPieceLength);

  TextDocument *textDocument() const { return m_document; }
  LineBreak lineBreak() const { return m_document->lineBreak(); }
  void setLineBreak(LineBreak style) { m_document->setLineBreak(style); }
  // The whole text, line breaks in the document's style.
  QString text() const { return m_document->text(); }
  // Replaces the whole text; line breaks of any style become the document's.
  void setText(const QString &text);
  qint64 textLength() const { return m_document->textLength(); }

  qint64 selStart() const;
  qint64 selLength() const;
  QString selText() const;
  // Moves the caret, dropping any selection.
  void setSelStart(qint64 offset);
  // Selects that many characters from the selection start.
  void setSelLength(qint64 length);
  // Replaces the selection (or inserts at the caret); the caret ends after it.
  void setSelText(const QString &text);

  // Keys that the shown tree of these menus owns go to the menu, not to the editing.
  void setMenuKeys(const MenuTrees *menus) { m_menus = menus; }

  // The document's offsets, positions and plain text (see TextDocument).
  qint64 offsetOf(int position) const { return m_document->offsetOf(position); }
  int positionOf(qint64 offset) const { return m_document->positionOf(offset); }
  QString plainText(int from, int to) const { return m_document->plainText(from, to); }
  QString plainText() const { return m_document->plainText(); }
  qint64 plainOffsetOf(int position) const { return m_document->plainOffsetOf(position); }
  int positionOfPlainOffset(qint64 offset) const { return m_document->positionOfPlainOffset(offset); }
  // Replaces the text between two of Qt's positions as one edit step, long
  // lines going in as pieces; the caret stays where it is.
  void replaceRange(int from, int to, const QString &text);

  const LongLines &longLines() const { return m_document->longLines(); }

 signals:
  void focusGained();

 protected:
  bool event(QEvent *event) override;
  void focusInEvent(QFocusEvent *event) override;
  void mouseDoubleClickEvent(QMouseEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  void inputMethodEvent(QInputMethodEvent *event) override;
  QMimeData *createMimeDataFromSelection() const override;
  void insertFromMimeData(const QMimeData *source) override;

 private:
  bool hasPieces() const { return m_document->longLines().hasPieces(); }
  // A key that cuts or joins a line is made here, with the cutting and
  // joining, as one step of its own; Qt's editing makes every other one.
  void makeOwnEdit(const KeyEdit &edit);
  // Text typed after a cut must not take its mark.
  void unmarkTypingFormat();
  // A key that deletes at a cut deletes the character beyond it.
  void stepOverCutToDelete(const QKeyEvent *event);
  // A move that only crossed a cut goes on, and a word move goes on through
  // the pieces of a word that a cut parted.
  void continueMoveOverCuts(const QKeyEvent *event, int before, int revision, int length);
  void selectWhereClicked(const QTextCursor &selection);

  TextDocument *m_document;
  const MenuTrees *m_menus = nullptr;
  QElapsedTimer m_doubleClick;  // since the last double click, for a triple one
  QPoint m_doubleClickAt;
};

}  // namespace quillora
