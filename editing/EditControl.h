// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The document's multi-line text box. Besides Qt's own editing it offers the
// text, the selection start and length and the selected text in the
// program's own offsets, where a line break counts as many characters as
// the document's line-break style has (two for CR LF).
//
// A very long line is held in pieces (LongLines): everything this class
// hands out (the text, the offsets, the selected text, copies and drags)
// leaves the cuts between them out, and the keys and the mouse treat the
// pieces of a line as one text.

#include "common/LineBreaks.h"
#include "editing/LongLines.h"

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

  LineBreak lineBreak() const { return m_lineBreak; }
  void setLineBreak(LineBreak style) { m_lineBreak = style; }

  // The whole text, line breaks in the document's style.
  QString text() const;
  // Replaces the whole text; line breaks of any style become the document's.
  void setText(const QString &text);
  qint64 textLength() const;

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

  // The offset in the text of one of Qt's positions (where a break is one
  // character), and the position of an offset. An offset inside a CR LF
  // pair goes to the start of the next line.
  qint64 offsetOf(int position) const { return m_lines.toOffset(position, extraPerBreak()); }
  int positionOf(qint64 offset) const { return m_lines.fromOffset(offset, extraPerBreak()); }

  // The text as assistive technology reads it: every line break one
  // character, cuts none; positions are Qt's.
  QString plainText(int from, int to) const { return m_lines.text(from, to, u"\n"); }
  // The whole text so, as the printer and the mail take it.
  QString plainText() const { return plainText(0, document()->characterCount() - 1); }
  qint64 plainOffsetOf(int position) const { return m_lines.toOffset(position, 0); }
  int positionOfPlainOffset(qint64 offset) const { return m_lines.fromOffset(offset, 0); }
  // Replaces the text between two of Qt's positions as one edit step, long
  // lines going in as pieces; the caret stays where it is.
  void replaceRange(int from, int to, const QString &text);

  const LongLines &longLines() const { return m_lines; }

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
  // What an editing key does to the text: the text between two positions
  // replaced (line breaks as LF), the replaced text first copied for a Cut.
  // `own`: Qt's key, seeing one piece, would do otherwise.
  struct Edit {
    int from;
    int to;
    QString text;
    bool copyFirst = false;
    bool own = false;
  };
  std::optional<Edit> editOfKey(const QKeyEvent *event) const;
  // An edit that cuts or joins a line is made here, with the cutting and
  // joining, as one step of its own; Qt's editing makes every other one.
  void makeOwnEdit(const Edit &edit);
  // Inserts over the cursor's selection as one step, long lines going in as pieces.
  void insertQtText(QTextCursor &cursor, const QString &text);
  // After Qt's own editing, the lines it changed are cut or joined as part of its step.
  void balanceEdited();

  int extraPerBreak() const { return m_lineBreak == LineBreak::CrLf ? 1 : 0; }
  // Text typed after a cut must not take its mark.
  void unmarkTypingFormat();
  // A key that deletes at a cut deletes the character beyond it.
  void stepOverCutToDelete(const QKeyEvent *event);
  // A move that only crossed a cut goes on, and a word move goes on through
  // the pieces of a word that a cut parted.
  void continueMoveOverCuts(QKeyEvent *event, int before, int revision, int length);
  // A double click's word, or a triple click's line, takes all its pieces.
  void widenWordOverCuts();
  void widenLineOverCuts();
  void selectWhereClicked(const QTextCursor &selection);

  LongLines m_lines;
  LineBreak m_lineBreak = LineBreak::CrLf;
  int m_editedFrom = -1;  // what Qt's editing changed since the lines were last balanced
  int m_editedTo = -1;
  const MenuTrees *m_menus = nullptr;
  QElapsedTimer m_doubleClick;  // since the last double click, for a triple one
  QPoint m_doubleClickAt;
};

}  // namespace quillora
