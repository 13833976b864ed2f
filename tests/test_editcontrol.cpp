// SPDX-License-Identifier: GPL-3.0-or-later
// The edit control's positions: a line break counts as many characters as the
// document's style has, and nothing the user sees is lost in the mapping.

#include "editing/EditControl.h"
#include "editing/KeyEdits.h"
#include "languages/MenuTrees.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QRandomGenerator>
#include <QTest>
#include <QTextBlock>
#include <QTextBoundaryFinder>

using namespace quillora;

namespace {
// Lines long enough to be held in pieces: words, a run without blanks (by
// default of characters made of several: surrogate pairs, accents, a flag,
// emoji joined into a family, a skin tone, a Hangul syllable in jamo), and
// short lines around them.
QString LongLinesText(
    const QString &lineBreak,
    const QString &runOf = QString::fromUtf8("\U0001F600e\u0301\U0001F1EB\U0001F1F7\U0001F468\u200D"
                                             "\U0001F469\u200D\U0001F467\U0001F44D\U0001F3FD\u1100\u1161\u11A8")) {
  QString words, run;
  while (words.size() < 150000) words += QStringLiteral("lorem ipsum dolor sit amet ");
  while (run.size() < 100000) run += runOf;
  return QStringLiteral("head") + lineBreak + words + lineBreak + run + lineBreak + lineBreak + QStringLiteral("tail");
}

// Our positions at every break between Qt's blocks, including those between pieces.
QList<qint64> BlockStarts(const EditControl &e) {
  QList<qint64> starts;
  for (QTextBlock b = e.document()->firstBlock().next(); b.isValid(); b = b.next())
    starts.append(e.offsetOf(b.position()));
  return starts;
}
}  // namespace

class EditControlTest : public QObject {
  Q_OBJECT
 private slots:
  // Which edit a key makes, before Qt's editing sees it. Rows: a text where
  // '[' and ']' mark the selection (or '|' the caret), and "{long}" stands
  // for a word long enough to be cut (lines longer than 32 characters are
  // held in pieces of about 8); the key; the text the edit takes out, what
  // it puts in, and whether Qt's own key would do otherwise.
  void keysBecomeEdits_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("standardKey");  // or 0 for the key below
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("edits");
    QTest::addColumn<QString>("removed");
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<bool>("copyFirst");
    QTest::addColumn<bool>("own");
    const int none = 0;
    QTest::newRow("backspace") << "ab|c" << none << int(Qt::Key_Backspace) << "" << false << true << "b"
                               << "" << false << false;
    QTest::newRow("backspace, pair") << QString::fromUtf8("a\U0001F600|") << none << int(Qt::Key_Backspace) << ""
                                     << false << true << QString::fromUtf8("\U0001F600") << "" << false << false;
    QTest::newRow("backspace at start") << "|ab" << none << int(Qt::Key_Backspace) << "" << false << false << ""
                                        << "" << false << false;
    QTest::newRow("backspace, selection") << "a[bc]d" << none << int(Qt::Key_Backspace) << "" << false << true << "bc"
                                          << "" << false << false;
    QTest::newRow("enter") << "a[b]c" << int(QKeySequence::InsertParagraphSeparator) << 0 << "" << false << true << "b"
                           << "\n"
                           << false << false;
    QTest::newRow("shift enter") << "a|c" << int(QKeySequence::InsertLineSeparator) << 0 << "" << false << true << ""
                                 << QString(QChar::LineSeparator) << false << false;
    QTest::newRow("cut, nothing selected") << "a|c" << int(QKeySequence::Cut) << 0 << "" << false << false << ""
                                           << "" << false << false;
    QTest::newRow("cut") << "[ab]c" << int(QKeySequence::Cut) << 0 << "" << false << true << "ab"
                         << "" << true << false;
    QTest::newRow("delete") << "a|bc" << int(QKeySequence::Delete) << 0 << "" << false << true << "b"
                            << "" << false << false;
    QTest::newRow("delete at end") << "ab|" << int(QKeySequence::Delete) << 0 << "" << false << false << ""
                                   << "" << false << false;
    QTest::newRow("word back, one block")
        << "one two|" << int(QKeySequence::DeleteStartOfWord) << 0 << "" << false << true << "two"
        << "" << false << false;
    QTest::newRow("word on, through cuts")
        << "go |{long} on" << int(QKeySequence::DeleteEndOfWord) << 0 << "" << false << true << "{long} "
        << "" << false << true;
    QTest::newRow("word back, through cuts")
        << "go {long}| on" << int(QKeySequence::DeleteStartOfWord) << 0 << "" << false << true << "{long}"
        << "" << false << true;
    QTest::newRow("line end, in pieces") << "go|{long}\nnext" << int(QKeySequence::DeleteEndOfLine) << 0 << "" << false
                                         << true << "{long}"
                                         << "" << false << true;
    QTest::newRow("typed") << "a[b]" << none << int(Qt::Key_X) << "x" << false << true << "b"
                           << "x" << false << false;
    QTest::newRow("typed, read-only") << "a|" << none << int(Qt::Key_X) << "x" << true << false << ""
                                      << "" << false << false;
    QTest::newRow("select all") << "a|" << int(QKeySequence::SelectAll) << 0 << "" << false << false << ""
                                << "" << false << false;
    QTest::newRow("paste") << "a|" << int(QKeySequence::Paste) << 0 << "" << false << false << ""
                           << "" << false << false;
  }
  void keysBecomeEdits() {
    QFETCH(QString, text);
    QFETCH(int, standardKey);
    QFETCH(int, key);
    QFETCH(QString, typed);
    QFETCH(bool, readOnly);
    QFETCH(bool, edits);
    QFETCH(QString, removed);
    QFETCH(QString, inserted);
    QFETCH(bool, copyFirst);
    QFETCH(bool, own);
    Qt::KeyboardModifiers modifiers;
    if (standardKey != 0) {
      const QList<QKeySequence> bindings = QKeySequence::keyBindings(QKeySequence::StandardKey(standardKey));
      if (bindings.isEmpty()) QSKIP("no key for this on this platform");
      key = bindings.first()[0].key();
      modifiers = bindings.first()[0].keyboardModifiers();
    }
    const QString longWord(40, u'w');
    text.replace("{long}", longWord);
    removed.replace("{long}", longWord);
    const int anchor = text.contains('[') ? int(text.indexOf('[')) : int(text.indexOf('|'));
    text.remove('[');
    const int position = text.contains(']') ? int(text.indexOf(']')) : anchor;
    text.remove(']').remove('|');
    TextDocument document(nullptr, 8);
    document.setPlainText(text);
    document.textSet();
    QCOMPARE(document.longLines().hasPieces(), text.contains(longWord));
    QTextCursor cursor(&document);
    cursor.setPosition(document.positionOfPlainOffset(anchor));
    cursor.setPosition(document.positionOfPlainOffset(position), QTextCursor::KeepAnchor);
    const QKeyEvent event(QEvent::KeyPress, key, modifiers, typed);
    const std::optional<KeyEdit> edit = EditOfKey(&event, cursor, readOnly);
    QCOMPARE(edit.has_value(), edits);
    if (!edit) return;
    QCOMPARE(document.plainText(edit->from, edit->to), removed);
    QCOMPARE(edit->text, inserted);
    QCOMPARE(edit->copyFirst, copyFirst);
    QCOMPARE(edit->own, own);
  }

  void positionsCountCrLfAsTwo() {
    EditControl e;
    e.setText("ab\r\ncd\r\n\r\nef");
    QCOMPARE(e.text(), QStringLiteral("ab\r\ncd\r\n\r\nef"));
    QCOMPARE(e.textLength(), 12);
    e.setSelStart(4);  // before c
    QCOMPARE(e.selStart(), 4);
    e.setSelLength(5);  // "cd\r\n\r" rounds up to the whole break
    QCOMPARE(e.selText(), QStringLiteral("cd\r\n\r\n"));
    QCOMPARE(e.selLength(), 6);
    e.setSelStart(10);
    e.setSelLength(2);
    QCOMPARE(e.selText(), QStringLiteral("ef"));
    e.setSelStart(100);
    QCOMPARE(e.selStart(), 12);
  }

  void aPositionInsideABreakGoesToTheNextLine() {
    EditControl e;
    e.setText("ab\r\ncd");
    e.setSelStart(3);
    QCOMPARE(e.selStart(), 4);
    e.setSelStart(2);
    e.setSelLength(1);
    QCOMPARE(e.selText(), QStringLiteral("\r\n"));
  }

  void otherStylesCountOne_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("text");
    QTest::newRow("lf") << int(LineBreak::Lf) << QStringLiteral("ab\ncd\n");
    QTest::newRow("cr") << int(LineBreak::Cr) << QStringLiteral("ab\rcd\r");
  }
  void otherStylesCountOne() {
    QFETCH(int, style);
    QFETCH(QString, text);
    EditControl e;
    e.setLineBreak(LineBreak(style));
    e.setText(text);
    QCOMPARE(e.text(), text);
    QCOMPARE(e.textLength(), 6);
    e.setSelStart(2);
    e.setSelLength(2);
    QCOMPARE(e.selText(), text.mid(2, 2));
  }

  void replacingTheSelectionLeavesTheCaretAfterIt() {
    EditControl e;
    e.setText("hello world");
    e.setSelStart(6);
    e.setSelLength(5);
    e.setSelText("there\r\nfriend");
    QCOMPARE(e.text(), QStringLiteral("hello there\r\nfriend"));
    QCOMPARE(e.selStart(), 19);
    QCOMPARE(e.selLength(), 0);
  }

  void typedEnterIsALineBreakOfTheDocumentsStyle() {
    EditControl e;
    e.setText("ab");
    e.setSelStart(1);
    QTest::keyClick(&e, Qt::Key_Return);
    QCOMPARE(e.text(), QStringLiteral("a\r\nb"));
    QCOMPARE(e.selStart(), 3);
    e.setLineBreak(LineBreak::Lf);
    QCOMPARE(e.text(), QStringLiteral("a\nb"));
    QCOMPARE(e.selStart(), 2);
  }

  void unusualCharactersSurvive() {
    EditControl e;
    const QString text = QString::fromUtf8("a\u00a0b") + QChar(0) + QStringLiteral("c\tß");
    e.setText(text);
    QCOMPARE(e.text(), text);
    e.setSelStart(1);
    e.setSelLength(1);
    QCOMPARE(e.selText(), QString(QChar(0xa0)));
  }

  // A run without a blank is held in pieces like any long line, so the
  // words around it keep wrapping at their boundaries.
  void aVeryLongWordLeavesWordsWrappingAtBoundaries() {
    EditControl e;
    const QString text = "plain words wrap at their boundaries\r\n" + QString(65000, u'x');
    e.setText(text);
    e.setSelStart(e.textLength());
    e.setSelText(QString(2000, u'y'));
    QCOMPARE(e.wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    QCOMPARE(e.text(), text + QString(2000, u'y'));
    QVERIFY(e.longLines().hasPieces());
  }

  // A long line is held in pieces: nothing the program or the user reads may
  // show where it was cut.
  void longLinesKeepTheirTextAndPositions_data() {
    QTest::addColumn<int>("style");
    QTest::newRow("cr lf") << int(LineBreak::CrLf);
    QTest::newRow("lf") << int(LineBreak::Lf);
  }
  void longLinesKeepTheirTextAndPositions() {
    QFETCH(int, style);
    const QString text = LongLinesText(LineBreakText(LineBreak(style)));
    EditControl e;
    e.setLineBreak(LineBreak(style));
    e.setText(text);
    QVERIFY2(e.document()->blockCount() > 10, "the long lines were not cut");
    QCOMPARE(e.text(), text);
    QCOMPARE(e.textLength(), text.size());
    QTextBoundaryFinder characters(QTextBoundaryFinder::Grapheme, text);
    for (const qint64 at : BlockStarts(e)) {
      characters.setPosition(int(at));
      QVERIFY2(characters.isAtBoundary(), "a cut parted a character");
    }
    for (const qint64 at : BlockStarts(e)) {
      for (const qint64 p : {at - 1, at, at + 1}) {
        if (text.at(p - 1) == u'\r') continue;  // inside a CR LF, which goes to the next line
        e.setSelStart(p);
        QCOMPARE(e.selStart(), p);
        e.setSelLength(3);
        QCOMPARE(e.selText(), text.mid(p, 3));
        QCOMPARE(e.selLength(), 3);
      }
    }
    // Copy and Select All hand out the text without the cuts.
    e.selectAll();
    e.copy();
    QCOMPARE(QApplication::clipboard()->text(), ToQtBreaks(text));
    e.setSelStart(0);
    e.setSelLength(e.textLength());
    QCOMPARE(e.selText(), text);
    // A screen reader reads the text as typed, every line break one character.
    QAccessibleTextInterface *read = QAccessible::queryAccessibleInterface(&e)->textInterface();
    const QString plain = ToQtBreaks(text);
    QCOMPARE(read->characterCount(), plain.size());
    QCOMPARE(read->text(0, read->characterCount()), plain);
    // The font is told as Qt's own plain text box tells it, weight included.
    QPlainTextEdit plainBox;
    QFont bold(QStringLiteral("MS Sans Serif"));
    bold.setPointSizeF(8.25);
    bold.setBold(true);
    plainBox.setFont(bold);
    e.setFont(bold);
    plainBox.setPlainText(QStringLiteral("words"));
    int start = 0, end = 0;
    QCOMPARE(read->attributes(2, &start, &end),
             QAccessible::queryAccessibleInterface(&plainBox)->textInterface()->attributes(2, &start, &end));
    for (QTextBlock b = e.document()->firstBlock().next(); b.isValid(); b = b.next()) {
      const int p = int(e.plainOffsetOf(b.position()));
      read->setSelection(0, p - 2, p + 2);
      QCOMPARE(ToQtBreaks(e.selText()), plain.mid(p - 2, 4));
      QCOMPARE(read->text(p - 2, p + 2), plain.mid(p - 2, 4));
      QCOMPARE(read->cursorPosition(), p + 2);
    }
  }

  void keysAtACutActOnTheText() {
    const QString text = LongLinesText(QStringLiteral("\r\n"));
    EditControl e;
    e.setText(text);
    const qint64 cut = BlockStarts(e).at(1);  // a cut inside the line of words
    QVERIFY(cut < 150000);
    QString expected = text;
    // Backspace before the cut, Delete after it: one character each.
    e.setSelStart(cut);
    QTest::keyClick(&e, Qt::Key_Backspace);
    expected.remove(cut - 1, 1);
    QCOMPARE(e.text(), expected);
    QCOMPARE(e.selStart(), cut - 1);
    QTest::keyClick(&e, Qt::Key_Delete);
    expected.remove(cut - 1, 1);
    QCOMPARE(e.text(), expected);
    // An arrow crosses the cut in one press.
    const qint64 next = BlockStarts(e).at(1);
    e.setSelStart(next);
    QTest::keyClick(&e, Qt::Key_Left);
    QCOMPARE(e.selStart(), next - 1);
    QTest::keyClick(&e, Qt::Key_Right);
    QTest::keyClick(&e, Qt::Key_Right);
    QCOMPARE(e.selStart(), next + 1);
    // Enter at a cut is a line break of the text, and so is one typed after it.
    e.setSelStart(next);
    QTest::keyClick(&e, Qt::Key_Return);
    QTest::keyClicks(&e, "ab");
    QTest::keyClick(&e, Qt::Key_Return);
    expected.insert(next, QStringLiteral("\r\nab\r\n"));
    QCOMPARE(e.text(), expected);
    // A piece emptied by Qt's own Delete (the context menu's) still takes a
    // typed line break as one.
    QTextBlock piece = e.document()->lastBlock();
    while (e.offsetOf(piece.position()) != e.offsetOf(piece.position() - 1)) piece = piece.previous();  // after a cut
    const qint64 pieceStart = e.offsetOf(piece.position());
    QTextCursor c = e.textCursor();
    c.setPosition(piece.position());
    c.setPosition(piece.position() + piece.length() - 1, QTextCursor::KeepAnchor);
    expected.remove(pieceStart, c.selectedText().size());
    c.removeSelectedText();
    e.setTextCursor(c);
    QTest::keyClicks(&e, "x");
    QTest::keyClick(&e, Qt::Key_Return);
    QTest::keyClicks(&e, "y");
    expected.insert(pieceStart, QStringLiteral("x\r\ny"));
    QCOMPARE(e.text(), expected);
    // Undo takes the keys back in the text as it was.
    while (e.document()->isUndoAvailable()) e.undo();
    QCOMPARE(e.text(), text);
  }

  void pastedLongLinesArePiecesUntilUndone() {
    EditControl e;
    e.setText("before\r\nafter");
    QString line;
    while (line.size() < 300000) line += QStringLiteral("lorem ipsum ");
    e.setSelStart(6);
    e.setSelText(line);  // the Paste command's way
    QVERIFY(e.document()->blockCount() > 10);
    QCOMPARE(e.text(), "before" + line + "\r\nafter");
    QCOMPARE(e.selStart(), 6 + line.size());
    // Deleting most of the line joins its pieces again.
    e.setSelStart(6);
    e.setSelLength(line.size() - 10);
    QTest::keyClick(&e, Qt::Key_Delete);
    QCOMPARE(e.text(), "before" + line.right(10) + "\r\nafter");
    QCOMPARE(e.document()->blockCount(), 2);
    e.undo();
    QCOMPARE(e.text(), "before" + line + "\r\nafter");
    e.undo();
    QCOMPARE(e.text(), QStringLiteral("before\r\nafter"));
    QVERIFY(!e.longLines().hasPieces());
    // A drop or Qt's own paste takes the same way.
    QApplication::clipboard()->setText(line + "\n" + line);
    e.paste();
    QVERIFY(e.document()->blockCount() > 20);
    QCOMPARE(e.text(), "before" + line + "\r\n" + line + "\r\nafter");
    // Enter leaves two lines short enough to be whole: no pieces are kept.
    const int whole = e.longLines().longestWholeLine();
    e.setText("x\r\n" + line.left(2 * whole));
    e.setSelStart(3 + whole);
    QTest::keyClick(&e, Qt::Key_Return);
    QCOMPARE(e.document()->blockCount(), 3);
    QCOMPARE(e.text(), "x\r\n" + line.left(whole) + "\r\n" + line.mid(whole, whole));
  }

  // A key that takes a line past the limit, in a window shown as the user
  // sees it, keeps the program going and the text exact, and is one undo
  // step with its cuts; the history before it stays, both ways.
  void keysThatCutALineUndoAsOneStep_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("keyed");
    // Two lines that together are longer than a line held whole.
    const int whole = 4 * LongLines::DefaultPieceLength;
    const QString one(whole * 5 / 8, u'b'), two(whole / 2, u'c');
    const int end = int(one.size());
    QTest::newRow("a letter typed") << QString(whole, u'b') << 0 << 0 << int(Qt::Key_A) << "a" + QString(whole, u'b');
    QTest::newRow("Backspace joining two lines")
        << one + "\n" + two << end + 1 << end + 1 << int(Qt::Key_Backspace) << one + two;
    QTest::newRow("Delete joining two lines") << one + "\n" + two << end << end << int(Qt::Key_Delete) << one + two;
    QTest::newRow("the break replaced by a letter")
        << one + "\n" + two << end - 1 << end + 2 << int(Qt::Key_A) << one.left(end - 1) + "a" + two.mid(1);
    QTest::newRow("the break replaced by a paste")
        << one + "\n" + two << end << end + 1 << int(Qt::Key_Insert) << one + "pasted" + two;
  }
  void keysThatCutALineUndoAsOneStep() {
    QFETCH(QString, text);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(int, key);
    QFETCH(QString, keyed);
    EditControl e;
    e.setLineBreak(LineBreak::Lf);
    e.resize(400, 300);
    e.show();
    QVERIFY(QTest::qWaitForWindowExposed(&e));
    e.setText("x");
    e.selectAll();
    e.setSelText(text);  // the paste
    e.setSelStart(from);
    e.setSelLength(to - from);
    e.ensureCursorVisible();
    QApplication::processEvents();
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    QTest::keyClick(&e, Qt::Key(key), key == Qt::Key_Insert ? Qt::ShiftModifier : Qt::NoModifier);
    QApplication::processEvents();
    QCOMPARE(e.text(), keyed);
    QVERIFY(e.document()->blockCount() > 2);  // cut
    QTest::keyClick(&e, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(e.text(), text);
    QTest::keyClick(&e, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(e.text(), QStringLiteral("x"));
    QTest::keyClick(&e, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(&e, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(e.text(), keyed);
  }

  // Enter over a selection from the start of a line across a cut: Undo once
  // brought the cut back as a line break of the text.
  void enterOverACutUndoesToTheText() {
    const QString text = "\nab\n" + QString(4 * LongLines::DefaultPieceLength * 2, u'd');
    EditControl e;
    e.setLineBreak(LineBreak::Lf);
    e.setText(text);
    QTextCursor c = e.textCursor();  // selected from the end back, as by Shift+Up
    c.setPosition(e.positionOf(4 + 600));
    c.setPosition(0, QTextCursor::KeepAnchor);
    e.setTextCursor(c);
    QTest::keyClick(&e, Qt::Key_Return);
    QCOMPARE(e.text(), "\n" + text.mid(4 + 600));
    QTest::keyClick(&e, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(e.text(), text);
  }

  // A word deleted from the start of a piece leaves an empty piece, and the
  // line is joined whole again: a join once took a character of another line.
  void aLineJoinedAfterAnEmptiedPieceKeepsTheOtherLines() {
    EditControl e(nullptr, 2);  // pieces of 2; lines longer than 8 in pieces
    e.setLineBreak(LineBreak::Lf);
    const QString first = "aa              \na\n";
    e.setText(first + "  ayyyyyyy    ");
    e.setSelStart(first.size() + 10);  // after the word
    QTest::keyClick(&e, Qt::Key_Backspace, Qt::ControlModifier);
    QCOMPARE(e.text(), first + "      ");
    QVERIFY(e.longLines().indexIsCurrent());
  }

  // A selecting word key whose own move came back to the anchor goes on
  // through the word's pieces and keeps the anchor.
  void selectingAWordBackOverCutsKeepsTheAnchor() {
    EditControl e(nullptr, 2);
    e.setLineBreak(LineBreak::Lf);
    e.setText("go " + QString(40, u'w'));
    QTextBlock piece = e.document()->firstBlock();
    while (!LongLines::startsPiece(piece) || e.plainOffsetOf(piece.position()) <= 5) piece = piece.next();
    const qint64 at = e.plainOffsetOf(piece.position());
    e.setSelStart(at);
    e.setSelLength(1);
    QTest::keyClick(&e, Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(e.plainOffsetOf(e.textCursor().anchor()), at);
    QCOMPARE(e.selStart(), 3);
  }

  // Letters typed inside a line held in pieces undo together, as in a short line.
  void typingInAPieceUndoesAsInAShortLine() {
    QString line;
    while (line.size() < 100000) line += QStringLiteral("lorem ipsum ");
    EditControl e;
    e.setText(line);
    QVERIFY(e.longLines().hasPieces());
    e.setSelStart(30000);
    QTest::keyClicks(&e, "abc");
    QCOMPARE(e.text(), line.left(30000) + "abc" + line.mid(30000));
    QTest::keyClick(&e, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(e.text(), line);
  }

  // A triple click selects the whole line, not the piece clicked; a flag at a
  // cut stays one character for the keys.
  void aLineInPiecesIsOneLineForTheMouseAndTheKeys() {
    QString line = QString(16372, u'a') + "MARKERXXXX" + QString::fromUtf8("\U0001F1EB\U0001F1F7");
    while (line.size() < 98304) line += "lorem ipsum ";
    EditControl e;
    e.setText("x\r\n" + line + "\r\ny");
    e.resize(400, 300);
    e.show();
    QVERIFY(QTest::qWaitForWindowExposed(&e));
    const auto tripleClick = [&e](const QTextBlock &block) {
      const QPoint word = e.cursorRect(QTextCursor(block)).center() + QPoint(20, 0);
      QTest::mouseDClick(e.viewport(), Qt::LeftButton, {}, word);
      QTest::mouseClick(e.viewport(), Qt::LeftButton, {}, word);
    };
    tripleClick(e.document()->findBlockByNumber(3));
    QCOMPARE(e.selText(), line + "\r\n");  // as in a plain text box, with the line break after it
    e.setSelStart(3 + 16382);              // after the marker
    QTest::keyClick(&e, Qt::Key_Right);
    QTest::keyClicks(&e, "X");
    QVERIFY(e.text().contains(QString::fromUtf8("\U0001F1EB\U0001F1F7X")));
    // A whole line above a line in pieces: the triple click takes that line alone.
    const QString first(60000, u'f');
    e.setText(first + "\r\n" + QString(84000, u's'));
    e.setSelStart(0);
    e.ensureCursorVisible();
    tripleClick(e.document()->firstBlock());
    QCOMPARE(e.selText(), first + "\r\n");
    // A run of letters without blanks is one word for the word keys and a double click.
    const QString run = QString(50000, u'r') + QString(50000, u't');
    e.setText("go " + run + " on");
    e.setSelStart(3 + 10);
    QTest::keyClick(&e, Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(e.selStart(), 3 + run.size() + 1);
    QTest::keyClick(&e, Qt::Key_Left, Qt::ControlModifier);
    QCOMPARE(e.selStart(), 3);
    e.setSelStart(3 + 10);
    e.ensureCursorVisible();
    QTest::mouseDClick(e.viewport(), Qt::LeftButton, {}, e.cursorRect().center());
    QCOMPARE(e.selText(), run);
    e.setSelStart(3 + 70000);
    QTest::keyClick(&e, Qt::Key_Backspace, Qt::ControlModifier);
    QCOMPARE(e.text(), "go " + run.mid(70000) + " on");
  }

  // Random keys and replacements on long lines, beside the same edits on a
  // plain string: lines are cut, grown past the limit and joined again.
  void randomEditsOnLongLinesKeepTheText() {
    EditControl e;
    e.setLineBreak(LineBreak::Lf);
    QString model = LongLinesText(QStringLiteral("\n"), QStringLiteral("abc"));  // keys act on single characters
    e.setText(model);
    QRandomGenerator random(7);
    for (int step = 0; step < 150; ++step) {
      const qint64 p = random.bounded(int(model.size()) + 1);
      e.setSelStart(p);
      QCOMPARE(e.selStart(), p);
      switch (random.bounded(6)) {
        case 0:
          QTest::keyClick(&e, Qt::Key_Backspace);
          if (p > 0) model.remove(p - 1, 1);
          break;
        case 1:
          QTest::keyClick(&e, Qt::Key_Delete);
          model.remove(p, 1);
          break;
        case 2:
          QTest::keyClicks(&e, "k");
          model.insert(p, u'k');
          break;
        case 3:
          QTest::keyClick(&e, Qt::Key_Return);
          model.insert(p, u'\n');
          break;
        case 4: {  // a large cut, joining pieces
          const int length = random.bounded(40000);
          e.setSelLength(length);
          e.setSelText(QString());
          model.remove(p, length);
          break;
        }
        default: {  // a paste that grows a line past the limit
          const QString inserted = QString(random.bounded(30000), u'm') + (random.bounded(2) ? " \n" : " ");
          e.setSelText(inserted);
          model.insert(p, inserted);
        }
      }
      if (e.text() != model) QFAIL(qPrintable(QStringLiteral("the texts part at step %1").arg(step)));
      QCOMPARE(e.textLength(), model.size());
    }
  }

  void menuKeysAreLeftToTheMenu() {
    EditControl e;
    // Menus whose one key is Ctrl+A, in every tree.
    Trees trees;
    for (int language = 0; language < LanguageCount; ++language) {
      ItemDef all;
      all.name = "mnuAll";
      all.caption = "All";
      all.command = Command::SelectAll;
      all.shortcut = "Ctrl+A";
      trees[std::size_t(language)] = TreeDef{language, {MenuDef{"mnuEdit", "&Edit", {all}}}};
    }
    QWidget owner;
    const MenuTrees menus(&owner, trees);
    e.setMenuKeys(&menus);
    QKeyEvent owned(QEvent::ShortcutOverride, Qt::Key_A, Qt::ControlModifier);
    owned.setAccepted(false);
    QApplication::sendEvent(&e, &owned);
    QVERIFY(!owned.isAccepted());
    QKeyEvent ours(QEvent::ShortcutOverride, Qt::Key_C, Qt::ControlModifier);
    ours.setAccepted(false);
    QApplication::sendEvent(&e, &ours);
    QVERIFY(ours.isAccepted());  // the edit control's own copy key
  }
};

QTEST_MAIN(EditControlTest)
#include "test_editcontrol.moc"
