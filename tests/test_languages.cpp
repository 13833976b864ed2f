// SPDX-License-Identifier: GPL-3.0-or-later
// Switching languages window by window, the flags of the status bar, every
// command from every tree, and the About box.

#include "TestSupport.h"
#include "app/StatusPanels.h"
#include "app/Toolbar.h"
#include "documents/DocumentWindow.h"
#include "editing/EditControl.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace quillora;
using namespace quillora::test;

namespace {

QList<int> visibleFlags(MainFrame &frame) {
  QList<int> out;
  for (int l = 0; l < LanguageCount; ++l)
    if (PanelsOf(frame).isFlagVisible(l)) out.append(l);
  return out;
}

// The names of the visible top-level menus a window owns.
QStringList shownTree(QWidget *window) {
  QStringList out;
  MenuTrees &trees = TreesOf(window);
  for (int language = 0; language < LanguageCount; ++language)
    for (QAction *menu : trees.topItems(language))
      if (menu->isVisible()) out.append(menu->objectName());
  return out;
}

const QStringList FrameFrench = {"mnuFichier", "mnuOption"};
const QStringList DocEnglish = {"mnuFile", "mnuEdit", "mnuSearch", "mnuOptions", "mnuWindow", "mnuHelp"};
const QStringList DocGerman = {"mnuGDatei", "mnuGBearbeiten", "mnuGSuchen", "mnuGOptionen", "mnuGFenster", "mnuGInfo"};

struct AboutSeen {
  QString title, lines, name;
  bool centred = false, modal = false, picture = false;
};

// Opens the About box from an item and reads it while it is shown, then
// closes it with a key.
AboutSeen about(QWidget *window, const QString &item, Qt::Key closeKey) {
  AboutSeen seen;
  QTimer::singleShot(0, [&] {
    auto *box = qobject_cast<QDialog *>(QApplication::activeModalWidget());
    if (!box) return;
    seen.title = box->windowTitle();
    seen.lines = box->findChild<QLabel *>("lblAbout")->text();
    seen.name = box->findChild<QLabel *>("Label1")->text();
    seen.modal = box->isModal();
    seen.picture = !box->findChild<QLabel *>("Picture1")->pixmap().isNull();
    const QRect screen = box->screen()->geometry();
    seen.centred = qAbs(box->frameGeometry().center().x() - screen.center().x()) <= 1 &&
                   qAbs(box->frameGeometry().center().y() - screen.center().y()) <= 1;
    QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, closeKey);
  });
  Trigger(window, item);
  return seen;
}

}  // namespace

class LanguagesTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { IsolateSettings(); }

  void frenchInTheFrame() {
    Fixture f;
    Trigger(f.frame().activeDocument(), "mnuFClose");
    Trigger(&f.frame(), "mnuLanguagesItem", French);
    QCOMPARE(shownTree(&f.frame()), FrameFrench);
    QCOMPARE(ShownMenuBar(f.frame()), FrameFrench);
    QCOMPARE(visibleFlags(f.frame()), QList<int>{French});
    QCOMPARE(LanguagesOf(f.frame()).CurrentLanguage, 1);
    QVERIFY(!Item(&f.frame(), "mnuLanguesItem", French)->isEnabled());
    QVERIFY(Item(&f.frame(), "mnuLanguesItem", English)->isEnabled());
  }

  void aSwitchTouchesOnlyItsOwnWindow() {
    Fixture f;
    DocumentWindow *a = f.frame().activeDocument();
    Trigger(a, "mnuFNew");
    DocumentWindow *b = f.frame().activeDocument();
    QTest::keyClicks(b->Text1(), "text of b");
    b->setChanged(false);
    Trigger(b, "mnuFontSizeItem", 2);
    const QFont font = b->Text1()->font();
    Trigger(b, "mnuLanguagesItem", German);
    QCOMPARE(shownTree(b), DocGerman);
    QCOMPARE(ShownMenuBar(f.frame()), DocGerman);
    QCOMPARE(shownTree(a), DocEnglish);
    QCOMPARE(shownTree(&f.frame()), (QStringList{"mnuFile", "mnuOptions"}));
    QCOMPARE(b->Text1()->text(), QStringLiteral("text of b"));
    QVERIFY(!b->changed());
    QCOMPARE(b->Text1()->font(), font);
    QVERIFY(Item(b, "mnuFontSizeItem", 2)->isChecked());
    QVERIFY(!Item(b, "mnuGTaillePoliceItem", 2)->isChecked());
    // Activating A shows A's tree; the German flag stays.
    MdiAreaOf(f.frame())->setActiveSubWindow(a->subWindow());
    QCOMPARE(ShownMenuBar(f.frame()), DocEnglish);
    QCOMPARE(visibleFlags(f.frame()), QList<int>{German});
    // And back to English from the German tree.
    Trigger(b, "mnuGOSpracheItem", English);
    QCOMPARE(shownTree(b), DocEnglish);
    QCOMPARE(visibleFlags(f.frame()), QList<int>{English});
    QCOMPARE(LanguagesOf(f.frame()).CurrentLanguage, 0);
  }

  void newPutsTheFlagsBackToEnglishButKeepsTheLanguage() {
    Fixture f;
    Trigger(f.frame().activeDocument(), "mnuLanguagesItem", Italian);
    Trigger(f.frame().activeDocument(), "mnuIFNuovo");
    QCOMPARE(shownTree(f.frame().activeDocument()), DocEnglish);
    QCOMPARE(visibleFlags(f.frame()), QList<int>{English});
    QCOMPARE(LanguagesOf(f.frame()).CurrentLanguage, 4);
  }

  void openKeepsTheFlags() {
    Fixture f;
    WriteFile(f.path("a.txt"), "a");
    Trigger(f.frame().activeDocument(), "mnuLanguagesItem", Spanish);
    f.prompts().files = {f.path("a.txt")};
    Trigger(f.frame().activeDocument(), "mnuSPAAbrir");
    QCOMPARE(f.frame().activeDocument()->caption(), f.path("a.txt").toUpper());
    QCOMPARE(shownTree(f.frame().activeDocument()), DocEnglish);
    QCOMPARE(visibleFlags(f.frame()), QList<int>{Spanish});
  }

  void twoFlagsCanShowTogether() {
    Fixture f;
    // French in a document, then Spanish from the frame's English tree.
    Trigger(f.frame().activeDocument(), "mnuLanguagesItem", French);
    Trigger(f.frame().activeDocument(), "mnuFermer");
    QCOMPARE(ShownMenuBar(f.frame()), (QStringList{"mnuFile", "mnuOptions"}));
    Trigger(&f.frame(), "mnuLanguagesItem", Spanish);
    QCOMPARE(visibleFlags(f.frame()), (QList<int>{French, Spanish}));
  }

  void frenchFrameThenNewThenGerman() {
    Fixture f;
    Trigger(f.frame().activeDocument(), "mnuFClose");
    Trigger(&f.frame(), "mnuLanguagesItem", French);
    Trigger(&f.frame(), "mnuNouveau");
    QCOMPARE(visibleFlags(f.frame()), QList<int>{English});
    Trigger(f.frame().activeDocument(), "mnuFClose");
    QCOMPARE(ShownMenuBar(f.frame()), FrameFrench);  // the frame kept its own tree
    Trigger(&f.frame(), "mnuLanguesItem", German);
    QCOMPARE(visibleFlags(f.frame()), (QList<int>{English, German}));
    QCOMPARE(ShownMenuBar(f.frame()), (QStringList{"mnuGDatei", "mnuGOptionen"}));
  }

  void everyTreeRunsTheSameCommands() {
    Fixture f;
    const QStringList news = {"mnuFNew", "mnuNouveau", "mnuSPANuevo", "mnuGDNeu", "mnuIFNuovo"};
    const QStringList selectAll = {"mnuESelectAll", "mnuTout", "mnuSPESelec", "mnuGBMarkieren", "mnuIMSelezionare"};
    const QStringList deletes = {"mnuEDelete", "mnEffacer", "mnuSPEEliminar", "mnuGBLoschen", "mnuIMElimina"};
    const QStringList times = {"mnuETime", "mnuHeure", "mnuSPEHora", "mnuGBDatum", "mnuIMTempo"};
    const QStringList closes = {"mnuFClose", "mnuFermer", "mnuSPACerrar", "mnuGDSchle", "mnuIFChiudi"};
    for (int l = 0; l < LanguageCount; ++l) {
      DocumentWindow *doc = f.frame().activeDocument();
      Trigger(doc, news.at(l));
      DocumentWindow *fresh = f.frame().activeDocument();
      QVERIFY(fresh != doc);
      fresh->Text1()->setText("hello");
      Trigger(fresh, selectAll.at(l));
      QCOMPARE(fresh->Text1()->selLength(), 5);
      Trigger(fresh, deletes.at(l));
      QCOMPARE(fresh->Text1()->text(), QString());
      Trigger(fresh, times.at(l));
      QVERIFY(!fresh->Text1()->text().isEmpty());
      fresh->setChanged(false);
      Trigger(fresh, closes.at(l));
      QCOMPARE(f.frame().documentWindows().size(), 1);
    }
  }

  void theAboutBoxSpeaksTheLanguageOfItsTree() {
    Fixture f;
    DocumentWindow *doc = f.frame().activeDocument();
    Trigger(doc, "mnuLanguagesItem", French);
    AboutSeen seen = about(doc, "mnuApropos", Qt::Key_Return);
    QCOMPARE(seen.title, QStringLiteral("A propos de.."));
    QCOMPARE(seen.lines, QStringLiteral("Version 1.3\npour Windows 95/NT"));
    QCOMPARE(seen.name, QStringLiteral("Quillora"));
    QVERIFY(seen.modal);
    QVERIFY(seen.picture);
    QVERIFY(seen.centred);
    Trigger(doc, "mnuLanguesItem", English);
    seen = about(doc, "mnuAbout", Qt::Key_Escape);
    QCOMPARE(seen.title, QStringLiteral("About"));
    QCOMPARE(seen.lines, QStringLiteral("Version 1.3\nfor Windows 95/NT"));
    Trigger(doc, "mnuLanguagesItem", German);
    seen = about(doc, "mnuGQLRA", Qt::Key_Escape);
    QCOMPARE(seen.title, QStringLiteral("Info.."));
    QCOMPARE(seen.lines, QStringLiteral("Version 1.3\nfor Windows 95/NT"));
    Trigger(doc, "mnuGOSpracheItem", Spanish);
    seen = about(doc, "mnuSInfo", Qt::Key_Escape);
    QCOMPARE(seen.title, QStringLiteral("Acerca de.."));
    QCOMPARE(seen.lines, QString::fromUtf8("Versión 1.3\npara Windows 95/NT"));
    Trigger(doc, "mnuSPIdiomaItem", Italian);
    seen = about(doc, "mnuIInformazioni", Qt::Key_Escape);
    QCOMPARE(seen.title, QStringLiteral("Informazioni.."));
    QCOMPARE(seen.lines, QStringLiteral("Versione 1.3\nper Windows 95/NT"));
    QVERIFY(!QApplication::activeModalWidget());
    QVERIFY(f.frame().findChildren<QDialog *>("frmAbout").isEmpty());  // nothing survives the box
  }

  void accessibleNamesFollowTheShownLanguage() {
    Fixture f;
    DocumentWindow *doc = f.frame().activeDocument();
    QCOMPARE(doc->Text1()->accessibleName(), QStringLiteral("Untitled"));
    QCOMPARE(ToolbarOf(f.frame()).button("imgPrintBtn")->accessibleName(), QStringLiteral("Print"));
    Trigger(doc, "mnuLanguagesItem", French);
    QCOMPARE(ToolbarOf(f.frame()).button("imgFileNewButton")->accessibleName(), QStringLiteral("Nouveau"));
    QCOMPARE(ToolbarOf(f.frame()).button("imgCutButton")->accessibleName(), QStringLiteral("Couper"));
    QCOMPARE(ToolbarOf(f.frame()).button("imgViewBtn")->accessibleName(), QStringLiteral("Trouver"));
    QCOMPARE(PanelsOf(f.frame()).panel(2)->accessibleName(), QString::fromUtf8("Français"));
    Trigger(doc, "mnuFermer");
    QCOMPARE(ToolbarOf(f.frame()).button("imgFileNewButton")->accessibleName(), QStringLiteral("New"));
  }

  void theLanguageIsNeverStored() {
    {
      Fixture f;
      Trigger(f.frame().activeDocument(), "mnuLanguagesItem", German);
    }
    Fixture f;
    QCOMPARE(LanguagesOf(f.frame()).CurrentLanguage, 0);
    QCOMPARE(ShownMenuBar(f.frame()), DocEnglish);
    QVERIFY(!SettingsBytes().contains("Language"));
  }
};

QTEST_MAIN(LanguagesTest)
#include "test_languages.moc"
