#include "editing/EditControl.h"

#include <QKeyEvent>
#include <QTextBlock>

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

EditControl::EditControl(QWidget *parent) : QPlainTextEdit(parent) {
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
  // Watch every change for an unbroken run too long to wrap at word boundaries.
  connect(document(), &QTextDocument::contentsChange, this,
          [this](int position, int, int added) { watchLongWords(position, added); });
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

QString EditControl::text() const {
  QString raw = document()->toRawText();
  if (m_lineBreak == LineBreak::Lf) return raw.replace(QChar::ParagraphSeparator, u'\n');
  if (m_lineBreak == LineBreak::Cr) return raw.replace(QChar::ParagraphSeparator, u'\r');
  return raw.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
}

void EditControl::setText(const QString &text) { setPlainText(ToQtBreaks(text)); }

qint64 EditControl::textLength() const {
  const QTextDocument *doc = document();
  return (doc->characterCount() - 1) + qint64(extraPerBreak()) * (doc->blockCount() - 1);
}

qint64 EditControl::toSpec(int qtPosition) const {
  if (extraPerBreak() == 0) return qtPosition;
  return qtPosition + document()->findBlock(qtPosition).blockNumber();
}

int EditControl::toQt(qint64 specPosition) const {
  const QTextDocument *doc = document();
  const int last = doc->characterCount() - 1;
  if (specPosition <= 0) return 0;
  if (extraPerBreak() == 0) return int(qMin<qint64>(specPosition, last));
  // The block whose start, in our positions, is the last one not after the position.
  int lo = 0, hi = doc->blockCount() - 1;
  while (lo < hi) {
    const int mid = (lo + hi + 1) / 2;
    if (doc->findBlockByNumber(mid).position() + qint64(mid) <= specPosition)
      lo = mid;
    else
      hi = mid - 1;
  }
  const QTextBlock block = doc->findBlockByNumber(lo);
  const qint64 offset = specPosition - (block.position() + qint64(lo));
  const int textLength = block.length() - 1;
  if (offset <= textLength) return block.position() + int(offset);
  return qMin(last, block.position() + textLength + 1);
}

qint64 EditControl::selStart() const { return toSpec(textCursor().selectionStart()); }

qint64 EditControl::selLength() const {
  const QTextCursor c = textCursor();
  return toSpec(c.selectionEnd()) - toSpec(c.selectionStart());
}

QString EditControl::selText() const {
  QString selected = textCursor().selectedText();
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
  c.insertText(ToQtBreaks(text));
  setTextCursor(c);
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

void EditControl::focusInEvent(QFocusEvent *event) {
  QPlainTextEdit::focusInEvent(event);
  emit focusGained();
}

}  // namespace quillora
