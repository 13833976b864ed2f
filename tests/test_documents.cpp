// SPDX-License-Identifier: GPL-3.0-or-later
// Document windows and their table: start-up, New with slot reuse, closing,
// the window list, arranging, and the ways the program ends.

#include "TestSupport.h"
#include "app/StatusPanels.h"
#include "app/Toolbar.h"
#include "documents/DocumentWindow.h"
#include "editing/EditControl.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

using namespace quillora;
using namespace quillora::test;

namespace {

QStringList captions(MainFrame &frame) {
  QStringList out;
  for (DocumentWindow *w : frame.documentWindows()) out.append(w->caption());
  return out;
}

QStringList visibleDocumentButtons(MainFrame &frame) {
  QStringList out;
  for (const char *name :
       {"imgFileSaveButton", "imgViewBtn", "imgPrintBtn", "imgCutButton", "imgCopyButton", "imgPasteButton"})
    if (!ToolbarOf(frame).button(name)->isHidden()) out.append(QString::fromLatin1(name));
  return out;
}

void closeWindow(MainFrame &frame, const QString &caption) {
  for (DocumentWindow *w : frame.documentWindows())
    if (w->caption() == caption) Trigger(w, "mnuFClose");
  QCoreApplication::processEvents();
}

}  // namespace

class DocumentsTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { IsolateSettings(); }

  void startUpShowsOneUntitledDocument() {
    Fixture f;
    QCOMPARE(f.frame().windowTitle(), QStringLiteral("Quillora"));
    QCOMPARE(captions(f.frame()), QStringList{"Untitled"});
    DocumentWindow *doc = f.frame().activeDocument();
    QCOMPARE(doc->number(), 1);
    QCOMPARE(doc->property("tag").toString(), QStringLiteral("1"));
    QCOMPARE(doc->objectName(), QStringLiteral("frmNotePad"));
    QCOMPARE(doc->Text1()->objectName(), QStringLiteral("Text1"));
    QCOMPARE(DocumentsOf(f.frame()).upperBound(), 1);
    QVERIFY(!doc->changed());
    StatusPanels &panels = PanelsOf(f.frame());
    QCOMPARE(panels.findChildren<QLabel *>(QRegularExpression("^Panel\\d+$")).size(), 16);
    QVERIFY(panels.isFlagVisible(English));
    for (int l = French; l < LanguageCount; ++l) QVERIFY(!panels.isFlagVisible(l));
    QCOMPARE(panels.panel(6)->text(), QStringLiteral("CAPS"));
    QVERIFY(!panels.panel(10)->text().isEmpty());
    QVERIFY(!panels.panel(11)->text().isEmpty());
    QCOMPARE(FinderOf(f.frame()).state().FindDirection, 1);
    QCOMPARE(visibleDocumentButtons(f.frame()).size(), 6);
  }

  // The documents alone, in an area of their own: New takes the lowest
  // closed slot, the tables never shrink, and the first document to open
  // and the last to close are told once each.
  void newReusesTheLowestClosedSlot() {
    StubHost host;
    Finder finder(host);
    QMdiArea area(&host.window);
    Documents documents(host, finder, &area);
    QSignalSpy anyOpen(&documents, &Documents::anyOpenChanged);
    documents.initialise();
    const auto captions = [&documents] {
      QStringList out;
      for (DocumentWindow *w : documents.windows()) out.append(w->caption());
      return out;
    };
    const auto close = [&documents](const QString &caption) {
      for (DocumentWindow *w : documents.windows())
        if (w->caption() == caption) w->closeDocument();
      QCoreApplication::processEvents();
    };
    documents.show(documents.create(1, "Untitled"));  // as at start-up
    NewDocument(documents);
    NewDocument(documents);
    QCOMPARE(captions(), (QStringList{"Untitled", "Untitled:2", "Untitled:3"}));
    QCOMPARE(documents.active()->caption(), QStringLiteral("Untitled:3"));
    close("Untitled:2");
    QVERIFY(documents.state(2).Closed);
    NewDocument(documents);
    QCOMPARE(documents.active()->caption(), QStringLiteral("Untitled:2"));
    close("Untitled");
    close("Untitled:2");
    NewDocument(documents);
    NewDocument(documents);
    QCOMPARE(captions(), (QStringList{"Untitled:3", "Untitled:1", "Untitled:2"}));
    QCOMPARE(documents.upperBound(), 3);
    QCOMPARE(anyOpen.size(), 1);
    for (const QString &caption : captions()) close(caption);
    QVERIFY(documents.noDocumentsOpen());
    NewDocument(documents);
    QCOMPARE(anyOpen, (QList<QVariantList>{{true}, {false}, {true}}));
    QVERIFY(documents.noDocumentsOpen());  // New leaves it set
  }

  void typingMarksTheDocumentChanged() {
    Fixture f;
    DocumentWindow *doc = f.frame().activeDocument();
    QTest::keyClicks(doc->Text1(), "abc");
    QVERIFY(doc->changed());
    Trigger(doc, "mnuFNew");
    QVERIFY(!f.frame().activeDocument()->changed());
  }

  void closingTheLastDocumentShowsTheFrameMenus() {
    Fixture f;
    closeWindow(f.frame(), "Untitled");
    QVERIFY(f.frame().documentWindows().isEmpty());
    QCOMPARE(ShownMenuBar(f.frame()), (QStringList{"mnuFile", "mnuOptions"}));
    // New brings a document's menus back (the buttons: test_toolbar).
    Trigger(&f.frame(), "mnuFNew");
    QCOMPARE(f.frame().activeDocument()->caption(), QStringLiteral("Untitled:1"));
    QCOMPARE(ShownMenuBar(f.frame()).size(), 6);
  }

  void theEditControlFillsTheWindow() {
    Fixture f;
    DocumentWindow *doc = f.frame().activeDocument();
    doc->subWindow()->resize(400, 300);
    QCoreApplication::processEvents();
    QCOMPARE(doc->Text1()->geometry(), doc->rect());
    doc->subWindow()->resize(250, 180);
    QCoreApplication::processEvents();
    QCOMPARE(doc->Text1()->geometry(), doc->rect());
    QCOMPARE(doc->Text1()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(doc->Text1()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(doc->Text1()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    const QPalette p = doc->Text1()->palette();
    QCOMPARE(p.color(QPalette::Inactive, QPalette::Highlight), p.color(QPalette::Active, QPalette::Highlight));
  }

  void theEnglishFileMenuListsTheWindows() {
    Fixture f;
    Trigger(f.frame().activeDocument(), "mnuFNew");
    DocumentWindow *second = f.frame().activeDocument();
    QMenu *file = second->menus().windowListMenu();
    QVERIFY(file);
    emit file->aboutToShow();
    QStringList entries;
    QAction *first = nullptr;
    for (QAction *a : file->actions())
      if (a->property("windowList").toBool() && !a->isSeparator()) {
        entries.append(a->text() + (a->isChecked() ? "*" : ""));
        if (!first) first = a;
      }
    QCOMPARE(entries, (QStringList{"&1 Untitled", "&2 Untitled:2*"}));
    first->trigger();
    QCOMPARE(f.frame().activeDocument()->caption(), QStringLiteral("Untitled"));
    // Opening it again does not list the windows twice.
    emit file->aboutToShow();
    emit file->aboutToShow();
    int count = 0;
    for (QAction *a : file->actions()) count += a->property("windowList").toBool() && !a->isSeparator();
    QCOMPARE(count, 2);
  }

  void tileMakesFullWidthBandsAndCascadeOverlaps() {
    Fixture f;
    f.frame().resize(800, 600);
    Trigger(f.frame().activeDocument(), "mnuFNew");
    Trigger(f.frame().activeDocument(), "mnuFNew");
    Trigger(f.frame().activeDocument(), "mnuWTile");
    const QRect client = MdiAreaOf(f.frame())->viewport()->rect();
    const QList<DocumentWindow *> windows = f.frame().documentWindows();
    int top = 0;
    for (DocumentWindow *w : windows) {
      const QRect g = w->subWindow()->geometry();
      QCOMPARE(g.left(), 0);
      QCOMPARE(g.width(), client.width());
      QCOMPARE(g.top(), top);
      QCOMPARE(g.height(), client.height() / 3);
      top += g.height();
    }
    // From the German tree too, where Tile comes first.
    Trigger(f.frame().activeDocument(), "mnuLanguagesItem", German);
    Trigger(f.frame().activeDocument(), "mnuGFUberlappend");
    const QRect a = windows.at(0)->subWindow()->geometry(), b = windows.at(1)->subWindow()->geometry();
    QVERIFY(b.left() > a.left() && b.top() > a.top());
    QVERIFY(a.intersects(b));
  }

  void arrangeIconsMovesOnlyMinimisedWindows() {
    Fixture f;
    f.frame().resize(800, 600);
    Trigger(f.frame().activeDocument(), "mnuFNew");
    DocumentWindow *first = f.frame().documentWindows().at(0);
    DocumentWindow *second = f.frame().documentWindows().at(1);
    const QRect before = first->subWindow()->geometry();
    Trigger(second, "mnuWArrange");
    QCOMPARE(first->subWindow()->geometry(), before);
    second->subWindow()->showMinimized();
    QCoreApplication::processEvents();
    second->subWindow()->move(300, 50);
    Trigger(f.frame().activeDocument(), "mnuWArrange");
    const QRect client = MdiAreaOf(f.frame())->viewport()->rect();
    QCOMPARE(second->subWindow()->geometry().bottom(), client.bottom());
    QCOMPARE(second->subWindow()->geometry().left(), 0);
    QCOMPARE(first->subWindow()->geometry(), before);
  }

  void documentExitAsksEveryChangedWindowAndCancelKeepsAll() {
    Fixture f;
    QTest::keyClicks(f.frame().activeDocument()->Text1(), "one");
    Trigger(f.frame().activeDocument(), "mnuFNew");
    QTest::keyClicks(f.frame().activeDocument()->Text1(), "two");
    f.prompts().answers = {msg::No, msg::Cancel};
    Trigger(f.frame().activeDocument(), "mnuFExit");
    QCOMPARE(f.prompts().messages.size(), 2);
    QCOMPARE(f.prompts().messages.at(0).text,
             QStringLiteral("The text in [Untitled] has changed.\n\rDo you want to save the changes?"));
    QCOMPARE(f.prompts().messages.at(0).code, msg::YesNoCancel + msg::Exclamation);
    QCOMPARE(f.prompts().messages.at(0).title, QStringLiteral("Quillora"));
    QCOMPARE(captions(f.frame()).size(), 2);
    QCOMPARE(f.terminated, 0);
    QVERIFY(!DocumentsOf(f.frame()).noDocumentsOpen());
    // No to both ends the program.
    f.prompts().answers = {msg::No, msg::No};
    Trigger(f.frame().activeDocument(), "mnuFExit");
    QCOMPARE(f.terminated, 1);
    QVERIFY(f.frame().documentWindows().isEmpty());
  }

  // Closing the frame asks each changed document; Cancel, or a Yes whose
  // save does not happen (its dialog cancelled), keeps everything open.
  void closingTheFrameAsksEveryDocument_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("ends");
    QTest::newRow("cancel") << int(msg::Cancel) << false;
    QTest::newRow("yes, the save not done") << int(msg::Yes) << false;
    QTest::newRow("no") << int(msg::No) << true;
  }
  void closingTheFrameAsksEveryDocument() {
    QFETCH(int, answer);
    QFETCH(bool, ends);
    Fixture f;
    QTest::keyClicks(f.frame().activeDocument()->Text1(), "x");
    f.prompts().answers = {answer};
    QCOMPARE(f.frame().close(), ends);
    QCOMPARE(f.terminated, ends ? 1 : 0);
    if (ends) return;
    QCOMPARE(captions(f.frame()), QStringList{"Untitled"});
    QVERIFY(f.frame().activeDocument()->changed());
  }

  void unchangedDocumentsCloseWithoutAQuestion() {
    Fixture f;
    Trigger(f.frame().activeDocument(), "mnuFNew");
    Trigger(f.frame().activeDocument(), "mnuFExit");
    QVERIFY(f.prompts().messages.isEmpty());
    QCOMPARE(f.terminated, 1);
  }

  void aMinimisedWindowComesToTheFront() {
    Fixture f;
    Trigger(f.frame().activeDocument(), "mnuFNew");
    DocumentWindow *first = f.frame().documentWindows().at(0);
    first->subWindow()->showMinimized();
    QCoreApplication::processEvents();
    const QList<QMdiSubWindow *> order = MdiAreaOf(f.frame())->subWindowList(QMdiArea::StackingOrder);
    QCOMPARE(order.last(), first->subWindow());
    QCOMPARE(first->Text1()->size(), first->size());  // the edit control is not resized to nothing
  }

  void theInsertKeyTogglesItsPanel() {
    Fixture f;
    f.frame().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.frame()));
    QLabel *insert = PanelsOf(f.frame()).panel(9);
    QCOMPARE(insert->text(), QStringLiteral("INS"));
    const bool before = insert->isEnabled();
    QTest::keyClick(f.frame().windowHandle(), Qt::Key_Insert);
    QCOMPARE(insert->isEnabled(), !before);
    QTest::keyClick(f.frame().windowHandle(), Qt::Key_Insert);
    QCOMPARE(insert->isEnabled(), before);
  }

  void theFrameExitEndsAtOnce() {
    Fixture f;
    closeWindow(f.frame(), "Untitled");
    Trigger(&f.frame(), "mnuFExit");
    QCOMPARE(f.terminated, 1);
    QVERIFY(f.prompts().messages.isEmpty());
  }

  void menuKeysReachTheMenusNotTheEditControl() {
    Fixture f;
    f.frame().show();
    QVERIFY(QTest::qWaitForWindowActive(&f.frame()));
    EditControl *text = f.frame().activeDocument()->Text1();
    text->setFocus();
    QTest::keyClick(text, Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(f.frame().activeDocument()->caption(), QStringLiteral("Untitled:2"));
    // The sub-window's own system menu carries no key that would clash.
    for (QMdiSubWindow *sub : MdiAreaOf(f.frame())->subWindowList())
      for (QAction *a : sub->systemMenu()->actions()) QVERIFY(a->shortcut().isEmpty());
    // With no document open, the frame's New key still works.
    closeWindow(f.frame(), "Untitled");
    closeWindow(f.frame(), "Untitled:2");
    QTest::keyClick(&f.frame(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(captions(f.frame()), QStringList{"Untitled:1"});
  }
};

QTEST_MAIN(DocumentsTest)
#include "test_documents.moc"
