#pragma once
// The document's multi-line text box. Besides Qt's own editing it offers the
// text, the selection start and length and the selected text in the
// program's own positions, where a line break counts as many characters as
// the document's line-break style has (two for CR LF).

#include <QPlainTextEdit>
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
  qint64 toSpec(int qtPosition) const;
  int toQt(qint64 specPosition) const;

 signals:
  void focusGained();

 protected:
  bool event(QEvent *event) override;
  void focusInEvent(QFocusEvent *event) override;

 private:
  // A document holding a very long run without blanks wraps anywhere from then on.
  void watchLongWords(int position, int added);
  int extraPerBreak() const { return m_lineBreak == LineBreak::CrLf ? 1 : 0; }

  LineBreak m_lineBreak = LineBreak::CrLf;
  std::function<bool(const QKeySequence &)> m_ownedByMenu;
};

// Turns every line break (CR LF, LF or CR) into Qt's LF.
QString ToQtBreaks(const QString &text);

}  // namespace quillora
