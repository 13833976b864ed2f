// SPDX-License-Identifier: GPL-3.0-or-later
// The Find dialog and the search: where each search starts, which way it
// goes, what it selects, and what the dialog remembers.

#include "TestSupport.h"
#include "common/Twips.h"
#include "documents/DocumentWindow.h"
#include "editing/EditControl.h"
#include "editing/FindDialog.h"
#include "editing/Search.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace quillora;
using namespace quillora::test;

namespace {

// "s,l" for a selection, "not found" for the message (the selection must not move then).
QString searchOnce(Fixture &f, const std::function<void()> &search) {
  EditControl *e = f.frame().activeDocument()->Text1();
  const qint64 s = e->selStart(), l = e->selLength();
  const qsizetype before = f.prompts().messages.size();
  search();
  if (f.prompts().messages.size() > before) {
    if (e->selStart() != s || e->selLength() != l) return QStringLiteral("moved");
    return QStringLiteral("not found");
  }
  return QStringLiteral("%1,%2").arg(e->selStart()).arg(e->selLength());
}

FindDialog *dialog(Fixture &f) { return FinderOf(f.frame()).dialog(false); }

void clickFind(Fixture &f) { QTest::mouseClick(dialog(f)->findButton(), Qt::LeftButton); }

}  // namespace

class SearchTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { IsolateSettings(); }

  void walksThroughTheText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<bool>("up");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("toolbar");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QStringList>("results");  // Find, then Find Next …
    QTest::newRow("down bc") << "abcabc" << 0 << false << false << false << "bc"
                             << QStringList{"1,2", "4,2", "not found"};
    QTest::newRow("any case") << "abcabc" << 0 << false << false << false << "BC" << QStringList{"1,2"};
    QTest::newRow("match case") << "abcabc" << 0 << false << true << false << "BC" << QStringList{"not found"};
    QTest::newRow("up from the end") << "abcabc" << 6 << true << false << false << "abc"
                                     << QStringList{"3,3", "0,3", "not found"};
    QTest::newRow("up at 0") << "abcabc" << 0 << true << false << false << "abc" << QStringList{"not found"};
    QTest::newRow("up at 1") << "abcabc" << 1 << true << false << false << "abc" << QStringList{"not found"};
    QTest::newRow("up skips right before the caret")
        << "xabc" << 2 << true << false << false << "ab" << QStringList{"not found"};
    QTest::newRow("once at the caret") << "xxabc" << 2 << false << false << false << "abc"
                                       << QStringList{"2,3", "not found"};
    QTest::newRow("overlapping") << "aaaa" << 0 << false << false << false << "aa"
                                 << QStringList{"0,2", "1,2", "2,2", "not found"};
    QTest::newRow("toolbar skips the caret")
        << "abcabc" << 0 << false << false << true << "abc" << QStringList{"3,3", "not found"};
    QTest::newRow("line breaks count two")
        << "a\r\nbc\r\nbc" << 0 << false << false << false << "bc" << QStringList{"3,2", "7,2"};
    QTest::newRow("sharp s keeps its place") << QString::fromUtf8("Maß MASS maß") << 0 << false << false << false
                                             << QString::fromUtf8("MAß") << QStringList{"0,3", "9,3"};
  }
  void walksThroughTheText() {
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(bool, up);
    QFETCH(bool, matchCase);
    QFETCH(bool, toolbar);
    QFETCH(QString, pattern);
    QFETCH(QStringList, results);
    Fixture f;
    DocumentWindow *doc = f.frame().activeDocument();
    doc->Text1()->setText(text);
    doc->Text1()->setSelStart(caret);
    if (toolbar)
      FinderOf(f.frame()).showDialog(LanguagesOf(f.frame()).CurrentLanguage);
    else
      Trigger(doc, "mnuSFind");
    FindDialog *d = dialog(f);
    QVERIFY(d && d->isVisible());
    QTest::keyClicks(d->searchBox(), pattern);
    if (up) QTest::mouseClick(d->findChildren<QRadioButton *>("optDirection").at(0), Qt::LeftButton);
    if (matchCase) QTest::mouseClick(d->findChild<QCheckBox *>("chkCase"), Qt::LeftButton);
    QStringList seen = {searchOnce(f, [&] { clickFind(f); })};
    for (int i = 1; i < results.size(); ++i) seen.append(searchOnce(f, [&] { Trigger(doc, "mnuSFindNext"); }));
    QCOMPARE(seen, results);
  }

  void theNotFoundMessageShowsTheTextAsTyped() {
    Fixture f;
    f.frame().activeDocument()->Text1()->setText("abc");
    Trigger(f.frame().activeDocument(), "mnuTrouver");
    QTest::keyClicks(dialog(f)->searchBox(), "Zz");
    clickFind(f);
    QCOMPARE(f.prompts().messages.size(), 1);
    QCOMPARE(f.prompts().messages.at(0).text, QStringLiteral("Cannot find \"Zz\""));
    QCOMPARE(f.prompts().messages.at(0).title, QStringLiteral("Quillora"));
    QCOMPARE(f.prompts().messages.at(0).code, msg::OkOnly);
  }

  // The search alone, with a host of one text box: positions beyond 32,767,
  // and no text at all.
  void positionsBeyond32767() {
    ScriptedPrompts prompts;
    StubHost host;
    Finder finder(host);
    EditControl e;
    e.setText(QString(40000, u'x') + "needle" + QString(20000, u'y') + "needle");
    host.text = &e;
    finder.state().FindText = "needle";
    finder.findInActiveDocument();
    QCOMPARE(e.selStart(), 40000);
    finder.findInActiveDocument();
    QCOMPARE(e.selStart(), 60006);
    QCOMPARE(finder.state().FindLastStart, 60006);
    finder.findInActiveDocument();
    QCOMPARE(prompts.messages.size(), 1);
    QCOMPARE(prompts.messages.at(0).text, QStringLiteral("Cannot find \"needle\""));
    host.text = nullptr;
    finder.findInActiveDocument();
    QCOMPARE(prompts.messages.size(), 1);
  }

  void findFillsTheBoxAndNeverUnchecksCase() {
    Fixture f;
    DocumentWindow *doc = f.frame().activeDocument();
    doc->Text1()->setText("one word here");
    doc->Text1()->setSelStart(4);
    doc->Text1()->setSelLength(4);
    FinderOf(f.frame()).state().FindMatchCase = 1;
    Trigger(doc, "mnuSFind");
    FindDialog *d = dialog(f);
    QCOMPARE(d->searchBox()->text(), QStringLiteral("word"));
    QVERIFY(d->findButton()->isEnabled());
    QVERIFY(d->findChild<QCheckBox *>("chkCase")->isChecked());
    // Without a selection it shows the remembered text; an empty box disables Find.
    FinderOf(f.frame()).state().FindText = "remembered";
    FinderOf(f.frame()).state().FindMatchCase = 0;
    doc->Text1()->setSelStart(0);
    Trigger(doc, "mnuSFind");
    QCOMPARE(d->searchBox()->text(), QStringLiteral("remembered"));
    QVERIFY(d->findChild<QCheckBox *>("chkCase")->isChecked());
    d->searchBox()->clear();
    QVERIFY(!d->findButton()->isEnabled());
  }

  void cancelRemembersAndClosingOtherwiseDoesNot() {
    Fixture f;
    DocumentWindow *doc = f.frame().activeDocument();
    doc->Text1()->setText("abc typed abc");
    Trigger(doc, "mnuSFind");
    QTest::keyClicks(dialog(f)->searchBox(), "typed");
    dialog(f)->findChild<QCheckBox *>("chkCase")->setChecked(true);  // not clicked: not stored yet
    QTest::mouseClick(dialog(f)->findChild<QPushButton *>("cmdcancel"), Qt::LeftButton);
    QCoreApplication::processEvents();
    QCOMPARE(FinderOf(f.frame()).state().FindText, QStringLiteral("typed"));
    QCOMPARE(FinderOf(f.frame()).state().FindMatchCase, 1);
    QTRY_VERIFY(!dialog(f));  // destroyed
    // Find Next now searches without the dialog.
    Trigger(doc, "mnuSFindNext");
    QCOMPARE(doc->Text1()->selStart(), 4);
    QVERIFY(!dialog(f));
    // Closing the dialog with its close box stores nothing.
    Trigger(doc, "mnuSFind");
    dialog(f)->searchBox()->setText("other");
    dialog(f)->close();
    QCOMPARE(FinderOf(f.frame()).state().FindText, QStringLiteral("typed"));
    // Esc presses Cancel.
    Trigger(doc, "mnuSFind");
    dialog(f)->searchBox()->setText("escaped");
    QTest::keyClick(dialog(f), Qt::Key_Escape);
    QCOMPARE(FinderOf(f.frame()).state().FindText, QStringLiteral("escaped"));
  }

  void findNextWithNothingRememberedOpensTheEnglishDialog() {
    Fixture f;
    DocumentWindow *doc = f.frame().activeDocument();
    Trigger(doc, "mnuLanguagesItem", French);
    Trigger(doc, "mnuPlus");
    QVERIFY(dialog(f) && dialog(f)->isVisible());
    QCOMPARE(dialog(f)->windowTitle(), QStringLiteral("Find"));
    // The French Find sets its texts but leaves the direction frame's caption.
    Trigger(doc, "mnuTrouver");
    QCOMPARE(dialog(f)->windowTitle(), QStringLiteral("Chercher"));
    QCOMPARE(dialog(f)->findChild<QLabel *>("Label1")->text(), QStringLiteral("Chercher.."));
    QCOMPARE(dialog(f)->findChild<QGroupBox *>("Frame1")->title(), QStringLiteral("Direction"));
    QCOMPARE(dialog(f)->findChild<QPushButton *>("cmdcancel")->text(), QStringLiteral("Annuler"));
    // The English Find keeps the French texts.
    Trigger(doc, "mnuLanguesItem", English);
    Trigger(doc, "mnuSFind");
    QCOMPARE(dialog(f)->windowTitle(), QStringLiteral("Chercher"));
  }

  void theToolbarFindUsesTheCurrentLanguage() {
    Fixture f;
    Trigger(f.frame().activeDocument(), "mnuLanguagesItem", Italian);
    Trigger(f.frame().activeDocument(), "mnuIFNuovo");  // English menus, Italian still current
    FinderOf(f.frame()).state().FindMatchCase = 1;
    FinderOf(f.frame()).showDialog(LanguagesOf(f.frame()).CurrentLanguage);
    QCOMPARE(dialog(f)->windowTitle(), QStringLiteral("Cerca"));
    QCOMPARE(dialog(f)->findChild<QGroupBox *>("Frame1")->title(), QStringLiteral("Direzione"));
    QCOMPARE(dialog(f)->searchBox()->text(), QString());
    QVERIFY(!dialog(f)->findChild<QCheckBox *>("chkCase")->isChecked());
    QVERIFY(!FinderOf(f.frame()).state().FindFromCaret);
  }

  void theDialogsLayout() {
    Fixture f;
    Trigger(f.frame().activeDocument(), "mnuSFind");
    FindDialog *d = dialog(f);
    QVERIFY(!d->isModal());
    QVERIFY(d->isWindow());
    QCOMPARE(d->size(), QSize(TwipsX(d, 4950), TwipsY(d, 1395)));
    QCOMPARE(d->findChild<QLineEdit *>("Text1")->geometry(),
             QRect(TwipsX(d, 1200), TwipsY(d, 120), TwipsX(d, 2415), TwipsY(d, 500)));
    QVERIFY(d->findButton()->isDefault());
    QVERIFY(d->findChildren<QRadioButton *>("optDirection").at(1)->isChecked());
    // Tab order: text, case, up, down, Find, Cancel.
    QStringList order;
    QWidget *w = d->searchBox();
    for (int i = 0; i < 6; ++i, w = w->nextInFocusChain()) {
      while (!(w->focusPolicy() & Qt::TabFocus)) w = w->nextInFocusChain();
      order.append(w->objectName());
    }
    QCOMPARE(order, (QStringList{"Text1", "chkCase", "optDirection", "optDirection", "cmdFind", "cmdcancel"}));
  }

  void withNoDocumentTheTextIsStillRemembered() {
    Fixture f;
    Trigger(f.frame().activeDocument(), "mnuSFind");
    Trigger(f.frame().activeDocument(), "mnuFClose");
    QTest::keyClicks(dialog(f)->searchBox(), "late");
    clickFind(f);
    QCOMPARE(FinderOf(f.frame()).state().FindText, QStringLiteral("late"));
    QVERIFY(f.prompts().messages.isEmpty());
  }
};

QTEST_MAIN(SearchTest)
#include "test_search.moc"
