// SPDX-License-Identifier: GPL-3.0-or-later
// Keys, moves, selections, pastes, Undo and Redo in an edit control whose
// pieces are a few characters long, so that lines cross the limit all the
// time, beside a plain Qt text box given the same keys: the texts, the caret
// and the selection agree after every step; no piece is empty or longer than
// a whole line, no line short enough to be whole is in pieces, the index of
// the pieces agrees with the document, and offsets and positions map back.
// Each input draws the document's line-break style (CR LF, LF or CR): the
// text, the selection start and length and the selected text the program
// reads are those of the plain box in that style. Undo and Redo give a text
// seen before, or the one a plain box given the whole history gives: Qt's
// own Undo may merge steps into a text never seen.

#include "FuzzSupport.h"
#include "editing/EditControl.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QSet>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <cstdio>

using namespace quillora;

namespace {

struct Counts {
  long steps = 0, withPieces = 0, reshaped = 0, undone = 0;
};
Counts counts;

void key(QWidget *target, int k, Qt::KeyboardModifiers modifiers = {}, const QString &text = {}) {
  QKeyEvent press(QEvent::KeyPress, k, modifiers, text);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, k, modifiers, text);
  QApplication::sendEvent(target, &release);
}

// Every line follows the rule, and the index and the offsets agree with the document.
void checkShape(const EditControl &edit) {
  const LongLines &lines = edit.longLines();
  FUZZ_CHECK(lines.indexIsCurrent());
  const QTextDocument *doc = edit.document();
  for (QTextBlock b = doc->firstBlock(); b.isValid();) {
    const LongLines::Line line = LongLines::lineOf(b);
    FUZZ_CHECK(line.first == b);
    std::vector<int> pieces;
    for (QTextBlock p = line.first;; p = p.next()) {
      pieces.push_back(p.length() - 1);
      if (p == line.last) break;
    }
    FUZZ_CHECK(!lines.nextStep(pieces));
    b = line.last.next();
  }
  // An offset inside a CR LF pair goes to the start of the next line.
  const QString text = edit.text();
  for (qint64 offset = 0; offset <= text.size(); ++offset) {
    const bool insidePair =
        offset > 0 && offset < text.size() && text.at(offset - 1) == u'\r' && text.at(offset) == u'\n';
    FUZZ_CHECK(edit.offsetOf(edit.positionOf(offset)) == (insidePair ? offset + 1 : offset));
  }
  for (int p = 0; p < doc->characterCount(); ++p) {
    const QTextBlock block = doc->findBlock(p);
    const bool beforeACut = p == block.position() + block.length() - 1 && LongLines::startsPiece(block.next());
    FUZZ_CHECK(edit.positionOf(edit.offsetOf(p)) == (beforeACut ? p + 1 : p));
  }
}

QString inStyle(QString text, LineBreak style) { return text.replace(u'\n', LineBreakText(style)); }

// The offset in the program's text of a position in the plain box's.
qint64 offsetIn(const QString &plainText, int position, LineBreak style) {
  const int extra = style == LineBreak::CrLf ? 1 : 0;
  return position + qint64(extra) * plainText.left(position).count(u'\n');
}

// The plain box's position of an offset in the program's text: one inside a
// CR LF pair is the start of the next line.
int positionIn(const QString &plainText, qint64 offset, LineBreak style) {
  qint64 at = 0;
  for (int p = 0; p < plainText.size(); ++p) {
    if (at >= offset) return p;
    at += plainText.at(p) == u'\n' && style == LineBreak::CrLf ? 2 : 1;
  }
  return int(plainText.size());
}

// A letter with more accents than a piece has characters cannot stay in one
// piece, and the keys then treat its parts apart: a known limit (a piece is
// 512 characters in the program), where the plain box is no longer a model.
bool hasCharacterLongerThan(const QString &text, int length) {
  QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
  for (qsizetype start = 0, end; (end = finder.toNextBoundary()) != -1; start = end)
    if (end - start > length) return true;
  return false;
}

void checkAgree(const EditControl &edit, const QPlainTextEdit &plain) {
  const LineBreak style = edit.lineBreak();
  const QString plainText = plain.toPlainText();
  FUZZ_CHECK(edit.text() == inStyle(plainText, style));
  FUZZ_CHECK(edit.textLength() == inStyle(plainText, style).size());
  const QTextCursor c = plain.textCursor();
  FUZZ_CHECK(edit.plainOffsetOf(edit.textCursor().position()) == c.position());
  FUZZ_CHECK(edit.plainOffsetOf(edit.textCursor().anchor()) == c.anchor());
  FUZZ_CHECK(edit.selStart() == offsetIn(plainText, c.selectionStart(), style));
  FUZZ_CHECK(edit.selLength() ==
             offsetIn(plainText, c.selectionEnd(), style) - offsetIn(plainText, c.selectionStart(), style));
  FUZZ_CHECK(edit.selText() == inStyle(c.selectedText().replace(QChar::ParagraphSeparator, u'\n'), style));
}

void select(EditControl &edit, QPlainTextEdit &plain, int anchor, int position) {
  QTextCursor c = edit.textCursor();
  c.setPosition(edit.positionOfPlainOffset(anchor));
  c.setPosition(edit.positionOfPlainOffset(position), QTextCursor::KeepAnchor);
  edit.setTextCursor(c);
  QTextCursor p = plain.textCursor();
  p.setPosition(anchor);
  p.setPosition(position, QTextCursor::KeepAnchor);
  plain.setTextCursor(p);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  StartHeadlessApplication();
  std::atexit([] {
    std::fprintf(stderr, "fuzz_longlines: %ld steps, %ld with pieces, %ld cutting or joining, %ld undone\n",
                 counts.steps, counts.withPieces, counts.reshaped, counts.undone);
  });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  Input in(data, size);
  // Made once, for pieces of 2 to 8 characters, and emptied for each input;
  // never destroyed, since at exit Qt's own statics may already be gone.
  static std::vector<EditControl *> edits;
  static QPlainTextEdit &plain = *new QPlainTextEdit;
  static QPlainTextEdit &history = *new QPlainTextEdit;  // the same keys, never set back
  history.setPlainText(QString());
  if (edits.empty()) {
    for (int length = 2; length <= 8; ++length) edits.push_back(new EditControl(nullptr, length));
    for (QWidget *w : {static_cast<QWidget *>(edits.front()), static_cast<QWidget *>(&plain)}) w->resize(160, 120);
    plain.show();
  }
  EditControl &edit = *edits.at(in.below(unsigned(edits.size())));
  constexpr LineBreak Styles[] = {LineBreak::CrLf, LineBreak::Lf, LineBreak::Cr};
  edit.setLineBreak(Styles[in.below(3)]);
  edit.resize(160, 120);
  edit.show();
  edit.setText(QString());
  plain.setPlainText(QString());
  const int limit = edit.longLines().longestWholeLine();
  QSet<QString> seen{QString()};
  const auto both = [&](int k, Qt::KeyboardModifiers modifiers = {}, const QString &text = {}) {
    key(&edit, k, modifiers, text);
    key(&plain, k, modifiers, text);
    key(&history, k, modifiers, text);
  };
  for (int step = 0; step < 48 && !in.empty(); ++step) {
    if (hasCharacterLongerThan(plain.toPlainText(), edit.longLines().pieceLength())) break;
    const int revisionBefore = edit.document()->revision();
    const int cutsBefore = edit.longLines().pieceBreakCount();
    bool checkPlain = true;
    switch (in.below(13)) {
      case 0: {  // typing, an accent too, which a cut must not part from its letter
        const QChar c(u"ab .-\u0301"[in.below(6)]);
        both(c == u' ' ? Qt::Key_Space : Qt::Key_A, {}, QString(c));
        break;
      }
      case 1: both(Qt::Key_Return, {}, QStringLiteral("\r")); break;
      case 2: both(Qt::Key_Backspace); break;
      case 3: both(Qt::Key_Delete); break;
      case 4: both(in.below(2) ? Qt::Key_Backspace : Qt::Key_Delete, Qt::ControlModifier); break;
      case 5: both(Qt::Key_K, Qt::ControlModifier); break;  // to the end of the line, where a theme binds it
      case 6: {                                             // words and characters, moving or selecting
        // (not to the start or end of a screen line: a cut ends one early)
        const int keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End};
        const int k = keys[in.below(4)];
        const bool control = k == Qt::Key_Home || k == Qt::Key_End || in.below(2);
        both(k, (control ? Qt::ControlModifier : Qt::NoModifier) | (in.below(2) ? Qt::ShiftModifier : Qt::NoModifier));
        break;
      }
      case 7: {
        const int length = plain.document()->characterCount() - 1;
        select(edit, plain, int(in.below(unsigned(length + 1))), int(in.below(unsigned(length + 1))));
        break;
      }
      case 8: {  // a paste, often of lines longer than the limit; any line breaks become the document's
        QString pasted = in.text(8, u"ab \n\r");
        if (in.below(2)) pasted += QString(int(in.below(unsigned(3 * limit))), u"xy z"[in.below(4)]);
        edit.setSelText(pasted);
        plain.textCursor().insertText(ToQtBreaks(pasted));
        history.textCursor().insertText(ToQtBreaks(pasted));
        break;
      }
      case 9: both(Qt::Key_Delete, Qt::ShiftModifier); break;  // Cut
      case 10: {  // the program's own selection, in its offsets: one inside a CR LF pair goes to the next line
        const QString plainText = plain.toPlainText();
        const LineBreak style = edit.lineBreak();
        const unsigned room = unsigned(edit.textLength() + 2);
        const qint64 start = in.below(room), length = in.below(room);
        edit.setSelStart(start);
        edit.setSelLength(length);
        const int from = positionIn(plainText, start, style);
        QTextCursor p = plain.textCursor();
        p.setPosition(from);
        p.setPosition(positionIn(plainText, offsetIn(plainText, from, style) + length, style), QTextCursor::KeepAnchor);
        plain.setTextCursor(p);
        break;
      }
      default: {  // Undo or Redo: a text seen before, held as the rule holds it
        const bool undo = in.below(2);
        const Qt::KeyboardModifiers z = undo ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier;
        key(&edit, Qt::Key_Z, z);
        key(&history, Qt::Key_Z, z);
        FUZZ_CHECK(seen.contains(edit.text()) || edit.plainText() == history.toPlainText());
        plain.setPlainText(edit.plainText());
        select(edit, plain, int(edit.plainOffsetOf(edit.textCursor().anchor())),
               int(edit.plainOffsetOf(edit.textCursor().position())));
        counts.undone += edit.document()->revision() != revisionBefore;
        checkPlain = false;
      }
    }
    QTextCursor h = history.textCursor();
    h.setPosition(plain.textCursor().anchor());
    h.setPosition(plain.textCursor().position(), QTextCursor::KeepAnchor);
    history.setTextCursor(h);
    seen.insert(edit.text());
    if (checkPlain) checkAgree(edit, plain);
    checkShape(edit);
    ++counts.steps;
    counts.withPieces += edit.longLines().hasPieces();
    counts.reshaped += edit.longLines().pieceBreakCount() != cutsBefore;
  }
  edit.hide();
  edit.hide();
  return 0;
}
