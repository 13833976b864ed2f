// SPDX-License-Identifier: GPL-3.0-or-later
// The picture toolbar: pressed and released pictures under real mouse events,
// the commands the buttons run, the document buttons and the Toolbar items.

#include "TestSupport.h"
#include "app/StatusPanels.h"
#include "app/Toolbar.h"
#include "common/Twips.h"
#include "documents/DocumentWindow.h"
#include "editing/EditControl.h"
#include "editing/FindDialog.h"
#include "resources/Pictures.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTest>

using namespace quillora;
using namespace quillora::test;

namespace {

const char *const DocumentButtons[] = {"imgFileSaveButton", "imgViewBtn",    "imgPrintBtn",
                                       "imgCutButton",      "imgCopyButton", "imgPasteButton"};

QLabel *holder(MainFrame &frame, const char *name) {
  return ToolbarOf(frame).findChild<QLabel *>(QString::fromLatin1(name));
}

// Which of the button's two pictures it shows: "up", "down" or "?".
QString picture(MainFrame &frame, const char *button, const char *up, const char *down) {
  const QImage shown = ToolbarOf(frame).button(button)->pixmap().toImage();
  if (shown == holder(frame, up)->pixmap().toImage()) return QStringLiteral("up");
  if (shown == holder(frame, down)->pixmap().toImage()) return QStringLiteral("down");
  return QStringLiteral("?");
}

void move(QWidget *w, QPoint p, Qt::MouseButtons held) {
  QMouseEvent e(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

bool visible(MainFrame &frame, const char *name) { return !ToolbarOf(frame).button(name)->isHidden(); }

}  // namespace

class ToolbarTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { IsolateSettings(); }

  void buttonsSitWhereTheTwipsSay() {
    Fixture f;
    Toolbar &bar = ToolbarOf(f.frame());
    QCOMPARE(bar.objectName(), QStringLiteral("picToolbar"));
    QCOMPARE(bar.height(), TwipsY(&bar, 645));
    const QList<QPair<const char *, int>> lefts = {
        {"imgFileNewButton", 0}, {"imgFileOpenButton", 360}, {"imgFileSaveButton", 720}, {"imgViewBtn", 1200},
        {"imgPrintBtn", 1680},   {"imgCutButton", 2160},     {"imgCopyButton", 2520},    {"imgPasteButton", 2880}};
    for (const auto &[name, left] : lefts)
      QCOMPARE(bar.button(name)->geometry(), QRect(TwipsX(&bar, left), 0, TwipsX(&bar, 480), TwipsX(&bar, 480)));
    const QStringList holders = {
        "imgFileNewButtonUp",  "imgFileNewButtonDn",  "imgFileOpenButtonUp", "imgFileOpenButtonDn",
        "imgFileSaveButtonUp", "imgFileSaveButtonDn", "imgViewBtnUp",        "imgViewBtnDwn",
        "imgPrintBtnUp",       "imgPrintBtnDwn",      "imgCutButtonUp",      "imgCutButtonDn",
        "imgCopyButtonUp",     "imgCopyButtonDn",     "imgPasteButtonUp",    "imgPasteButtonDn"};
    for (const QString &name : holders) {
      QLabel *h = bar.findChild<QLabel *>(name);
      QVERIFY2(h && h->isHidden() && !h->pixmap().isNull(), qPrintable(name));
    }
    QVERIFY(holder(f.frame(), "imgCutButtonUp")->pixmap().toImage() !=
            holder(f.frame(), "imgCutButtonDn")->pixmap().toImage());
    QCOMPARE(picture(f.frame(), "imgCutButton", "imgCutButtonUp", "imgCutButtonDn"), QStringLiteral("up"));
    QVERIFY(bar.button("imgCutButton")->toolTip().isEmpty());
  }

  void pressDragOffDragBackAndRelease() {
    Fixture f;
    ImageButton *b = ToolbarOf(f.frame()).button("imgFileNewButton");
    auto shown = [&] { return picture(f.frame(), "imgFileNewButton", "imgFileNewButtonUp", "imgFileNewButtonDn"); };
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(shown(), QStringLiteral("down"));
    move(b, QPoint(b->width() + 3, 5), Qt::LeftButton);
    QCOMPARE(shown(), QStringLiteral("up"));
    move(b, QPoint(b->width(), b->height()), Qt::LeftButton);  // right and bottom edges are inside
    QCOMPARE(shown(), QStringLiteral("down"));
    move(b, QPoint(0, 0), Qt::LeftButton);
    QCOMPARE(shown(), QStringLiteral("down"));
    move(b, QPoint(5, -1), Qt::LeftButton);
    QCOMPARE(shown(), QStringLiteral("up"));
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(5, -1));
    QCOMPARE(shown(), QStringLiteral("up"));
    QCOMPARE(f.frame().documentWindows().size(), 1);  // released off the button: no command
    // A click over the button runs New, with the released picture showing.
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(shown(), QStringLiteral("up"));
    QCOMPARE(f.frame().documentWindows().size(), 2);
  }

  void theRightButtonSwapsOnDownAndUpOnly() {
    Fixture f;
    ImageButton *b = ToolbarOf(f.frame()).button("imgPasteButton");
    auto shown = [&] { return picture(f.frame(), "imgPasteButton", "imgPasteButtonUp", "imgPasteButtonDn"); };
    QApplication::clipboard()->setText("pasted");
    QTest::mousePress(b, Qt::RightButton, {}, QPoint(5, 5));
    QCOMPARE(shown(), QStringLiteral("down"));
    move(b, QPoint(-10, -10), Qt::RightButton);
    QCOMPARE(shown(), QStringLiteral("down"));
    QTest::mouseRelease(b, Qt::RightButton, {}, QPoint(5, 5));
    QCOMPARE(shown(), QStringLiteral("up"));
    QCOMPARE(f.frame().activeDocument()->Text1()->text(), QString());  // no click, no paste
  }

  void theButtonsRunTheirCommands() {
    Fixture f;
    Toolbar &bar = ToolbarOf(f.frame());
    EditControl *e = f.frame().activeDocument()->Text1();
    e->setText("alpha beta");
    e->setSelStart(0);
    e->setSelLength(6);
    QTest::mouseClick(bar.button("imgCutButton"), Qt::LeftButton);
    QCOMPARE(e->text(), QStringLiteral("beta"));
    e->setSelStart(4);
    QTest::mouseClick(bar.button("imgPasteButton"), Qt::LeftButton);
    QCOMPARE(e->text(), QStringLiteral("betaalpha "));
    e->setSelStart(0);
    e->setSelLength(4);
    QTest::mouseClick(bar.button("imgCopyButton"), Qt::LeftButton);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("beta"));
    // Find opens the dialog, empty, in the current language.
    Trigger(f.frame().activeDocument(), "mnuLanguagesItem", German);
    QTest::mouseClick(bar.button("imgViewBtn"), Qt::LeftButton);
    QVERIFY(FinderOf(f.frame()).dialog(false) && FinderOf(f.frame()).dialog(false)->isVisible());
    QCOMPARE(FinderOf(f.frame()).dialog(false)->windowTitle(), QStringLiteral("Suchen"));
    // Open asks for a file.
    QTest::mouseClick(bar.button("imgFileOpenButton"), Qt::LeftButton);
    QCOMPARE(f.prompts().requests.size(), 1);
    QVERIFY(!f.prompts().requests.at(0).save);
  }

  void theSaveButtonAsksForANameEveryTime() {
    Fixture f;
    WriteFile(f.path("old.txt"), "old");
    f.prompts().files = {f.path("old.txt")};
    Trigger(f.frame().activeDocument(), "mnuFOpen");
    const QString recentBefore = SettingsBytes();
    EditControl *e = f.frame().activeDocument()->Text1();
    e->setSelStart(3);
    e->setSelText("er");
    // Cancelled: nothing changes.
    QTest::mouseClick(ToolbarOf(f.frame()).button("imgFileSaveButton"), Qt::LeftButton);
    QCOMPARE(f.prompts().requests.last().fileName, QString());
    QVERIFY(f.prompts().requests.last().save);
    QCOMPARE(ReadFile(f.path("old.txt")), QByteArray("old"));
    QVERIFY(f.frame().activeDocument()->changed());
    // A name: written there, captioned, not recorded.
    f.prompts().files = {f.path("new.txt")};
    QTest::mouseClick(ToolbarOf(f.frame()).button("imgFileSaveButton"), Qt::LeftButton);
    QCOMPARE(ReadFile(f.path("new.txt")), QByteArray("older\r\n"));
    QCOMPARE(f.frame().activeDocument()->caption(), f.path("new.txt").toUpper());
    QCOMPARE(QString(SettingsBytes()), recentBefore);
  }

  void documentButtonsFollowTheDocuments() {
    Fixture f;
    Trigger(f.frame().activeDocument(), "mnuFClose");
    for (const char *name : DocumentButtons) QVERIFY(!visible(f.frame(), name));
    QVERIFY(visible(f.frame(), "imgFileNewButton") && visible(f.frame(), "imgFileOpenButton"));
    // Nothing breaks if a hidden button is reached anyway.
    for (const char *name : DocumentButtons) emit ToolbarOf(f.frame()).button(name)->clicked();
    QVERIFY(f.frame().documentWindows().isEmpty());
    QTest::mouseClick(ToolbarOf(f.frame()).button("imgFileNewButton"), Qt::LeftButton);
    for (const char *name : DocumentButtons) QVERIFY(visible(f.frame(), name));
    QVERIFY(DocumentsOf(f.frame()).noDocumentsOpen());
    Trigger(f.frame().activeDocument(), "mnuFClose");
    WriteFile(f.path("a.txt"), "a");
    f.prompts().files = {f.path("a.txt")};
    QTest::mouseClick(ToolbarOf(f.frame()).button("imgFileOpenButton"), Qt::LeftButton);
    for (const char *name : DocumentButtons) QVERIFY(visible(f.frame(), name));
    QVERIFY(!DocumentsOf(f.frame()).noDocumentsOpen());
  }

  // Run with QT_SCALE_FACTOR=2 (the test_toolbar_hidpi entry of the suite).
  void everyPictureIsThereAtItsSize() {
    Fixture f;
    const QList<QSize> flags = {{53, 27}, {46, 27}, {52, 32}, {53, 27}, {46, 27}};
    for (int language = 0; language < LanguageCount; ++language) {
      const QPixmap flag = PanelsOf(f.frame()).panel(language + 1)->pixmap();
      QCOMPARE(flag.deviceIndependentSize().toSize(), flags.at(language));
      QVERIFY(flag.toImage().pixelColor(flag.width() / 2, flag.height() / 2).alpha() > 0);
    }
    for (const QIcon &icon : {f.frame().windowIcon(), f.frame().activeDocument()->windowIcon()})
      QCOMPARE(icon.availableSizes(), (QList<QSize>{{16, 16}, {32, 32}, {48, 48}}));
    // A size the picture was not rendered at is scaled to; an unknown one is empty.
    QCOMPARE(Picture(QStringLiteral("flags/fr"), QSize(92, 54), 1).size(), QSize(92, 54));
    QVERIFY(Picture(QStringLiteral("flags/xx"), QSize(10, 10), 1).isNull());
  }

  void crispAtDoubleDensity() {
    if (qApp->devicePixelRatio() < 2) QSKIP("runs at a device pixel ratio of 2");
    Fixture f;
    ImageButton *b = ToolbarOf(f.frame()).button("imgFileNewButton");
    QCOMPARE(b->pixmap().devicePixelRatio(), 2.0);
    QCOMPARE(b->pixmap().size(), b->size() * 2);  // drawn at the screen's density, not scaled up
    QCOMPARE(b->width(), TwipsX(b, 480));         // twips keep their logical size
    const QPixmap flag = PanelsOf(f.frame()).panel(1)->pixmap();
    QCOMPARE(flag.devicePixelRatio(), 2.0);
    QCOMPARE(flag.size(), QSize(106, 54));
  }

  void toolbarItemsToggleTheStrip() {
    Fixture f;
    f.frame().show();
    Toolbar &bar = ToolbarOf(f.frame());
    DocumentWindow *doc = f.frame().activeDocument();
    auto openOptions = [](QWidget *w, const char *menu) { emit MenuOf(w, menu)->aboutToShow(); };
    openOptions(doc, "mnuOptions");
    QVERIFY(Item(doc, "mnuOToolbar")->isChecked());  // the refresh shows the true state
    Trigger(doc, "mnuOToolbar");
    QVERIFY(bar.isHidden());
    QVERIFY(!Item(&f.frame(), "mnuOToolbar")->isChecked());
    // Every tree's item toggles it, and only the English item carries a mark.
    Trigger(doc, "mnuLanguagesItem", Spanish);
    openOptions(doc, "mnuSPOpciones");
    Trigger(doc, "mnuSPOBarra");
    QVERIFY(!bar.isHidden());
    QVERIFY(!Item(doc, "mnuSPOBarra")->isChecked());
    QVERIFY(Item(doc, "mnuOToolbar")->isChecked());
    Trigger(doc, "mnuFermer");
    Trigger(doc, "mnuSPACerrar");
    Trigger(&f.frame(), "mnuLanguagesItem", French);
    for (int i = 0; i < 2; ++i) {
      openOptions(&f.frame(), "mnuOption");
      Trigger(&f.frame(), "mnuBarre");
      QCOMPARE(bar.isHidden(), i == 0);
      QVERIFY(!Item(&f.frame(), "mnuBarre")->isChecked());
    }
  }
};

QTEST_MAIN(ToolbarTest)
#include "test_toolbar.moc"
