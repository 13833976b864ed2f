#pragma once
// The document's multi-line text box. Besides Qt's own editing it offers the
// text, the selection start and length and the selected text in the
// program's own positions, where a line break counts as many characters as
// the document's line-break style has (two for CR LF).
//
// A very long line is held in pieces: Qt lays a block out whole at every
// change, so a line of megabytes would cost seconds per key. Each piece after
// the first is a block whose break belongs to no text: the break character
// carries a mark that only this class sets. Everything this class hands out
// (the text, the positions, the selected text, copies and drags) leaves such
// breaks out, and the keys step over them.

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <functional>

namespace quillora {

enum class LineBreak { CrLf, Lf, Cr };
QString LineBreakText(LineBreak style);

class EditControl : public QPlainTextEdit {
  Q_OBJECT
 public:
  explicit EditControl(QWidget *parent = nullptr);

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
  void setSelStart(qint64 position);
  // Selects that many characters from the selection start.
  void setSelLength(qint64 length);
  // Replaces the selection (or inserts at the caret); the caret ends after it.
  void setSelText(const QString &text);

  // Keys that a shown menu owns: they go to the menu, not to the editing.
  void setMenuKeyFilter(std::function<bool(const QKeySequence &)> ownedByMenu) {
    m_ownedByMenu = std::move(ownedByMenu);
  }

  // Positions: Qt's (a break is one) to ours and back. A position inside a
  // CR LF pair goes to the start of the next line.
  qint64 toSpec(int qtPosition) const { return toOffset(qtPosition, extraPerBreak()); }
  int toQt(qint64 specPosition) const { return fromOffset(specPosition, extraPerBreak()); }

  // The text as assistive technology reads it: every line break one
  // character, breaks between pieces none; positions are Qt's.
  QString plainText(int from, int to) const { return rangeText(from, to, u"\n"); }
  qint64 toPlainOffset(int qtPosition) const { return toOffset(qtPosition, 0); }
  int fromPlainOffset(qint64 offset) const { return fromOffset(offset, 0); }
  // Replaces the text between two of Qt's positions as one edit step, long
  // lines going in as pieces; the caret stays where it is.
  void replaceRange(int from, int to, const QString &text);

 signals:
  void focusGained();

 protected:
  bool event(QEvent *event) override;
  void focusInEvent(QFocusEvent *event) override;
  // A triple click selects the whole line, all of its pieces.
  void mouseDoubleClickEvent(QMouseEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  void inputMethodEvent(QInputMethodEvent *event) override;
  QMimeData *createMimeDataFromSelection() const override;
  void insertFromMimeData(const QMimeData *source) override;

 private:
  // A document holding a very long run without blanks wraps anywhere from then on.
  void watchLongWords(int position, int added);
  int extraPerBreak() const { return m_lineBreak == LineBreak::CrLf ? 1 : 0; }
  // Qt's positions to offsets in the text where a line break counts 1 +
  // extraPerBreak characters, and back.
  qint64 toOffset(int qtPosition, int extraPerBreak) const;
  int fromOffset(qint64 offset, int extraPerBreak) const;

  // The text between two of Qt's positions, breaks between pieces left out.
  QString rangeText(int from, int to, QStringView lineBreak) const;
  // Inserts over the cursor's selection, long lines going in as pieces.
  void insertQtText(QTextCursor &cursor, const QString &text);
  // Cuts the blocks between two positions that grew too long into pieces, and
  // joins pieces grown small, as an edit step of its own or as part of the
  // last one; a text that needs neither is left untouched.
  enum class EditStep { Own, JoinPrevious };
  void reshapePieces(int from, int to, EditStep step);
  // After Qt's own editing: reshapes what the edit changed, as part of its undo step.
  void reshapeEdited();
  // True when an edit at the caret that adds at most `added` characters (and
  // removes the selection, or a character) could make a line long enough to
  // be cut or let pieces join; a `drastic` edit may also split the line or
  // take an unknown part of it.
  bool mayReshape(int added, bool drastic) const;
  class EditStepAround;
  // Text typed after a piece's break must not take its mark.
  void unmarkTypingFormat();
  // Keys that delete at a break between pieces delete the character beyond it.
  void stepOverPieceBreakToDelete(const QKeyEvent *event);
  bool movedOnlyOverPieceBreak(int before, int revision, int length) const;

  LineBreak m_lineBreak = LineBreak::CrLf;
  bool m_hasPieces = false;  // some line was ever cut into pieces since the text was set
  int m_editedFrom = -1;     // what Qt's editing changed since the last reshape
  int m_editedTo = -1;
  std::function<bool(const QKeySequence &)> m_ownedByMenu;
  QElapsedTimer m_doubleClick;  // since the last double click, for a triple one
  QPoint m_doubleClickAt;
};

// Turns every line break (CR LF, LF or CR) into Qt's LF.
QString ToQtBreaks(const QString &text);

}  // namespace quillora
