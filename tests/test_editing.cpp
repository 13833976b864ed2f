// SPDX-License-Identifier: GPL-3.0-or-later
// The Edit menu's commands, the keys that run them, and the font menus.

#include "TestSupport.h"
#include "documents/DocumentWindow.h"
#include "editing/EditCommands.h"
#include "editing/EditControl.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QMenu>
#include <QTest>

using namespace quillora;
using namespace quillora::test;

class EditingTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { IsolateSettings(); }

  void cutCopyAndPaste() {
    Fixture f;
    DocumentWindow *doc = f.frame().activeDocument();
    EditControl *e = doc->Text1();
    e->setText("one two three");
    doc->setChanged(false);
    // Cut with nothing selected changes nothing and empties the clipboard.
    QApplication::clipboard()->setText("before");
    e->setSelStart(3);
    Trigger(doc, "mnuECut");
    QCOMPARE(QApplication::clipboard()->text(), QString());
    QCOMPARE(e->text(), QStringLiteral("one two three"));
    QVERIFY(!doc->changed());
    // Cut a selection.
    e->setSelStart(4);
    e->setSelLength(4);
    Trigger(doc, "mnuECut");
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("two "));
    QCOMPARE(e->text(), QStringLiteral("one three"));
    QVERIFY(doc->changed());
    // Copy leaves the text; Paste replaces the selection.
    e->setSelStart(0);
    e->setSelLength(3);
    Trigger(doc, "mnuECopy");
    QCOMPARE(e->text(), QStringLiteral("one three"));
    e->setSelStart(4);
    e->setSelLength(5);
    Trigger(doc, "mnuEPaste");
    QCOMPARE(e->text(), QStringLiteral("one one"));
    QCOMPARE(e->selStart(), 7);
    // Pasting an empty clipboard removes a selection.
    QApplication::clipboard()->clear();
    e->setSelStart(0);
    e->setSelLength(4);
    Trigger(doc, "mnuEPaste");
    QCOMPARE(e->text(), QStringLiteral("one"));
  }

  void deleteRemovesAWholeLineBreak() {
    Fixture f;
    DocumentWindow *doc = f.frame().activeDocument();
    EditControl *e = doc->Text1();
    e->setText("ab\r\ncd");
    e->setSelStart(2);
    Trigger(doc, "mnuEDelete");
    QCOMPARE(e->text(), QStringLiteral("abcd"));
    e->setSelStart(4);  // at the very end: nothing happens
    doc->setChanged(false);
    Trigger(doc, "mnuEDelete");
    QCOMPARE(e->text(), QStringLiteral("abcd"));
    QVERIFY(!doc->changed());
    e->setSelStart(1);
    e->setSelLength(3);  // a selection that reaches the end
    Trigger(doc, "mnuEDelete");
    QCOMPARE(e->text(), QStringLiteral("a"));
    e->setSelStart(0);
    Trigger(doc, "mnuEDelete");
    QCOMPARE(e->text(), QString());
  }

  void selectAllAndTimeDate() {
    Fixture f;
    DocumentWindow *doc = f.frame().activeDocument();
    EditControl *e = doc->Text1();
    Trigger(doc, "mnuESelectAll");
    QCOMPARE(e->selStart(), 0);
    QCOMPARE(e->selLength(), 0);
    e->setText("x\r\ny");
    Trigger(doc, "mnuESelectAll");
    QCOMPARE(e->selLength(), 4);
    Trigger(doc, "mnuETime");  // replaces the selection
    const QString inserted = e->text();
    QVERIFY(inserted.contains(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat)));
    QVERIFY(!inserted.contains('\n') && !inserted.startsWith(' ') && !inserted.endsWith(' '));
  }

  void theGeneralDateFormat() {
    const QLocale locale = QLocale::system();
    const QDate day(2026, 3, 4);
    QCOMPARE(GeneralDateText(QDateTime(day, QTime(0, 0))), locale.toString(day, QLocale::ShortFormat));
    const QString text = GeneralDateText(QDateTime(day, QTime(13, 5, 9)));
    QVERIFY(text.startsWith(locale.toString(day, QLocale::ShortFormat) + ' '));
    QVERIFY2(text.contains("05:09") || text.contains("5:09"), qPrintable(text));  // seconds included
    QVERIFY2(!text.contains("UTC") && !text.contains("GMT"), qPrintable(text));   // no time-zone name
  }

  void menuKeysRunTheMenuCommands() {
    Fixture f;
    f.frame().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.frame()));
    DocumentWindow *doc = f.frame().activeDocument();
    EditControl *e = doc->Text1();
    e->setFocus();
    e->setText("ab\r\ncd");
    // Ctrl+X with nothing selected: only the menu's Cut empties the clipboard.
    QApplication::clipboard()->setText("keep");
    e->setSelStart(2);
    QTest::keyClick(e, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString());
    QTest::keyClick(e, Qt::Key_Delete);
    QCOMPARE(e->text(), QStringLiteral("abcd"));
    QTest::keyClick(e, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(e->selLength(), 4);
    // The French tree has its own keys, and the English ones no longer act.
    Trigger(doc, "mnuLanguagesItem", French);
    QApplication::clipboard()->setText("keep");
    e->setSelStart(1);
    QTest::keyClick(e, Qt::Key_U, Qt::ControlModifier);  // Couper
    QCOMPARE(QApplication::clipboard()->text(), QString());
    e->setSelStart(0);
    QTest::keyClick(e, Qt::Key_Backspace, Qt::AltModifier);  // Effacer
    QCOMPARE(e->text(), QStringLiteral("bcd"));
    QTest::keyClick(e, Qt::Key_F1, Qt::ShiftModifier);  // Tout Sélectionner
    QCOMPARE(e->selLength(), 3);
    QTest::keyClick(e, Qt::Key_N, Qt::ControlModifier);  // no New key in French
    QCOMPARE(f.frame().documentWindows().size(), 1);
  }

  void fontMenusListTheInstalledFamilies() {
    Fixture f;
    DocumentWindow *doc = f.frame().activeDocument();
    const QStringList &families = InstalledFontFamilies();
    QVERIFY(!families.isEmpty());
    for (const char *name : {"mnuFont", "mnuPolice", "mnuSPOFuentes", "mnuGOSchriftart", "mnuIOTipo"}) {
      QMenu *menu = MenuOf(doc, name);
      emit menu->aboutToShow();
      emit menu->aboutToShow();  // filled once
      QCOMPARE(menu->actions().size(), families.size());
      QCOMPARE(menu->actions().at(0)->text(), families.at(0));
      QCOMPARE(menu->actions().last()->text(), families.last());
    }
    QCOMPARE(Item(doc, "mnuIOTipo2", int(families.size()) - 1)->text(), families.last());
    // Another window takes the menu bar and back: the menus made again list
    // the same items, each once.
    Trigger(doc, "mnuFNew");
    DocumentsOf(f.frame()).show(doc);
    QMenu *menu = MenuOf(doc, "mnuFont");
    emit menu->aboutToShow();
    QCOMPARE(menu->actions().size(), families.size());
    QCOMPARE(doc->menus().items(English, Command::FontName).size(), families.size());
  }

  void fontCommandsChangeOnlyTheirWindowAndTree() {
    Fixture f;
    DocumentWindow *a = f.frame().activeDocument();
    QCOMPARE(a->Text1()->font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(a->Text1()->font().pointSizeF(), 8.25);
    QVERIFY(a->Text1()->font().bold());
    emit MenuOf(a, "mnuFont")->aboutToShow();
    const QString family = InstalledFontFamilies().last();
    Trigger(a, "mnuFontName", int(InstalledFontFamilies().size()) - 1);
    QCOMPARE(a->Text1()->font().family(), family);
    QVERIFY(!a->changed());
    Trigger(a, "mnuFontSizeItem", 2);
    QCOMPARE(a->Text1()->font().pointSize(), 14);
    Trigger(a, "mnuFontSizeItem", 4);
    QCOMPARE(a->Text1()->font().pointSize(), 24);
    QList<bool> marks;
    for (int i = 0; i < 5; ++i) marks.append(Item(a, "mnuFontSizeItem", i)->isChecked());
    QCOMPARE(marks, (QList<bool>{false, false, false, false, true}));
    Trigger(a, "mnuTailleItem", 1);  // the French tree marks its own item only
    QVERIFY(Item(a, "mnuTailleItem", 1)->isChecked());
    QVERIFY(Item(a, "mnuFontSizeItem", 4)->isChecked());
    QCOMPARE(a->Text1()->font().pointSize(), 12);
    // A new window starts with the design font and no mark.
    Trigger(a, "mnuFNew");
    DocumentWindow *b = f.frame().activeDocument();
    QCOMPARE(b->Text1()->font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(b->Text1()->font().pointSizeF(), 8.25);
    for (int i = 0; i < 5; ++i) QVERIFY(!Item(b, "mnuFontSizeItem", i)->isChecked());
    QCOMPARE(a->Text1()->font().family(), family);
  }
};

QTEST_MAIN(EditingTest)
#include "test_editing.moc"
