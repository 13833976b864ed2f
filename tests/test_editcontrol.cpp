// The edit control's positions: a line break counts as many characters as the
// document's style has, and nothing the user sees is lost in the mapping.

#include "editing/EditControl.h"

#include <QTest>

using namespace quillora;

class EditControlTest : public QObject {
  Q_OBJECT
 private slots:
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

  void aVeryLongWordWrapsAnywhere() {
    EditControl e;
    e.setText("plain words wrap at their boundaries\r\n" + QString(3000, u'x'));
    QCOMPARE(e.wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    e.setSelStart(e.textLength());
    e.setSelText(QString(2000, u'y'));  // the run grows past 4,096 characters
    QCOMPARE(e.wordWrapMode(), QTextOption::WrapAnywhere);
    EditControl loaded;
    loaded.setText(QString(65000, u'z'));
    QCOMPARE(loaded.wordWrapMode(), QTextOption::WrapAnywhere);
  }

  void menuKeysAreLeftToTheMenu() {
    EditControl e;
    e.setMenuKeyFilter([](const QKeySequence &k) { return k == QKeySequence(QStringLiteral("Ctrl+A")); });
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
