// SPDX-License-Identifier: GPL-3.0-or-later
// The menu trees of the frame and of the document window against the catalogue
// the users see: names, captions, order, separators and shortcut keys.

#include "TestSupport.h"
#include "documents/DocumentWindow.h"

#include <QMenu>
#include <QTest>

using namespace quillora;
using namespace quillora::test;

namespace {

// One line per item, in menu order: "name|caption|shortcut|flags". The
// trees are read from the window's items, made into menus or not.
void describe(const MenuTrees &trees, const QAction *menuItem, QStringList &out, const QString &indent) {
  for (QAction *a : trees.menuItems(menuItem)) {
    if (a->property("windowList").toBool()) continue;
    QString flags;
    if (!a->isVisible())
      flags += u'h';
    else if (!a->isEnabled())
      flags += u'd';  // a hidden item never reports enabled
    QString line = indent + a->objectName() + u'|' + (a->isSeparator() ? QStringLiteral("-") : a->text()) + u'|' +
                   a->shortcut().toString(QKeySequence::PortableText) + u'|' + flags;
    if (a->data().isValid()) line += u'#' + QString::number(a->data().toInt());
    out.append(line);
    describe(trees, a, out, indent + QStringLiteral("  "));
  }
}

QStringList tree(QWidget *window, int language) {
  QStringList out;
  MenuTrees &trees = TreesOf(window);
  for (QAction *item : trees.topItems(language)) {
    out.append(item->objectName() + u'|' + item->text());
    describe(trees, item, out, QStringLiteral("  "));
  }
  return out;
}

// Every item with a shortcut key, in all five trees: "language name key", sorted.
QStringList shortcuts(QWidget *window) {
  QStringList out;
  QList<const QAction *> seen;
  for (int language = 0; language < LanguageCount; ++language) {
    MenuTrees &trees = TreesOf(window);
    QList<const QAction *> pending(trees.topItems(language).begin(), trees.topItems(language).end());
    while (!pending.isEmpty()) {
      const QAction *a = pending.takeFirst();
      seen.append(a);
      for (QAction *item : trees.menuItems(a)) pending.append(item);
      if (!a->shortcut().isEmpty())
        out.append(QString::number(language) + u' ' + a->objectName() + u' ' +
                   a->shortcut().toString(QKeySequence::PortableText));
    }
  }
  // Nothing outside the trees has a key either.
  auto ownWindow = [](const QObject *o) {
    while (o && !qobject_cast<const MainFrame *>(o) && !qobject_cast<const DocumentWindow *>(o)) o = o->parent();
    return o;
  };
  for (const QAction *a : window->findChildren<QAction *>())
    if (ownWindow(a) == window && !seen.contains(a) && !a->shortcut().isEmpty())
      out.append(QStringLiteral("? ") + a->objectName() + u' ' + a->shortcut().toString());
  out.sort();
  return out;
}

}  // namespace

class CatalogueTest : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { IsolateSettings(); }

  void frameEnglishTreeIsExact() {
    Fixture f;
    const QStringList expected = {
        "mnuFile|&File",
        "  mnuFNew|&New|Ctrl+N|",
        "  mnuFOpen|&Open|Ctrl+O|",
        "  mnuFExit|E&xit|Ctrl+E|",
        "  mnuSeparator|-||",
        "  mnuRecentFile|-||h#0",
        "  mnuRecentFile|RecentFile1||h#1",
        "  mnuRecentFile|RecentFile2||h#2",
        "  mnuRecentFile|RecentFile3||h#3",
        "  mnuRecentFile|RecentFile4||h#4",
        "mnuOptions|&Options",
        "  mnuOToolbar|&Toolbar||",
        "  mnuLanguages|&Languages||",
        "    mnuLanguagesItem|English||d#0",
        "    mnuLanguagesItem|&French||#1",
        "    mnuLanguagesItem|&Spanish||#2",
        "    mnuLanguagesItem|&German||#3",
        "    mnuLanguagesItem|&Italian||#4",
    };
    QCOMPARE(tree(&f.frame(), English), expected);
  }

  void frameOtherTreesEndWithExitAndGreyTheirOwnLanguage() {
    Fixture f;
    const QStringList german = {
        "mnuGDatei|&Datei",
        "  mnuGDNeu|&Neu||",
        "  mnuGDOffnen|Ö&ffnen||",
        "  mnuGDBeenden|&Beenden||",
        "mnuGOptionen|&Optionen",
        "  mnuGOSymbol|&Symbolleiste||",
        "  mnuGOSprache|S&prache||",
        "    mnuGOSpracheItem|&Englisch||#0",
        "    mnuGOSpracheItem|&Französisch||#1",
        "    mnuGOSpracheItem|&Spanisch||#2",
        "    mnuGOSpracheItem|&Deutsch||d#3",
        "    mnuGOSpracheItem|&Italianisch||#4",
    };
    QCOMPARE(tree(&f.frame(), German), german);
    QCOMPARE(tree(&f.frame(), French).at(3), QStringLiteral("  mnuQuitter|&Quitter||"));
    QCOMPARE(tree(&f.frame(), French).at(8), QStringLiteral("    mnuLanguesItem|Francais||d#1"));
    QCOMPARE(tree(&f.frame(), Spanish).at(11), QStringLiteral("    mnuSPOIdiomaItem|Italiano||#4"));
    QCOMPARE(tree(&f.frame(), Italian).at(0), QStringLiteral("mnuIFile|&File"));
    QCOMPARE(tree(&f.frame(), Italian).at(2), QStringLiteral("  mnuIFApri|&Apri...||"));
    QCOMPARE(tree(&f.frame(), Italian).at(11), QStringLiteral("    mnuIOLinguaItem|Italiano||d#4"));
  }

  void documentEnglishTreeIsExact() {
    Fixture f;
    DocumentWindow *doc = f.frame().activeDocument();
    QVERIFY(doc);
    const QStringList expected = {
        "mnuFile|&File",
        "  mnuFNew|&New|Ctrl+N|",
        "  mnuFOpen|&Open...|Ctrl+O|",
        "  mnuFClose|&Close||",
        "  mnuFSave|&Save|Ctrl+S|",
        "  mnuFSaveAs|Save &As...||",
        "  mnuFSep0|-||",
        "  mnuFPrint|&Print...|Ctrl+P|",
        "  mnuSep3|-||",
        "  mnuFSend|S&end Mail...||",
        "  mnuFSep|-||",
        "  mnuFExit|E&xit|Ctrl+E|",
        "  mnuRecentFile|-||h#0",
        "  mnuRecentFile|RecentFile1||h#1",
        "  mnuRecentFile|RecentFile2||h#2",
        "  mnuRecentFile|RecentFile3||h#3",
        "  mnuRecentFile|RecentFile4||h#4",
        "mnuEdit|&Edit",
        "  mnuECut|Cu&t|Ctrl+X|",
        "  mnuECopy|&Copy|Ctrl+C|",
        "  mnuEPaste|&Paste|Ctrl+V|",
        "  mnuEDelete|De&lete|Del|",
        "  mnuESep1|-||",
        "  mnuESelectAll|Select &All|Ctrl+A|",
        "  mnuETime|Time/&Date||",
        "mnuSearch|&Search",
        "  mnuSFind|&Find||",
        "  mnuSFindNext|Find &Next|F3|",
        "mnuOptions|&Options",
        "  mnuLanguages|&Languages||",
        "    mnuLanguagesItem|&English||d#0",
        "    mnuLanguagesItem|&French||#1",
        "    mnuLanguagesItem|&Spanish||#2",
        "    mnuLanguagesItem|&German||#3",
        "    mnuLanguagesItem|&Italian||#4",
        "  mnuOToolbar|&Toolbar||",
        "  mnuFont|&Font||",
        "  mnuFontSize|Font &Size||",
        "    mnuFontSizeItem|10||#0",
        "    mnuFontSizeItem|12||#1",
        "    mnuFontSizeItem|14||#2",
        "    mnuFontSizeItem|18||#3",
        "    mnuFontSizeItem|24||#4",
        "mnuWindow|&Window",
        "  mnuWCascade|&Cascade||",
        "  mnuWTile|&Tile||",
        "  mnuWArrange|&Arrange Icons||",
        "mnuHelp|&Help",
        "  mnuAbout|&About QLRA||",
    };
    QCOMPARE(tree(doc, English), expected);
  }

  void documentOtherTreesHoldTheirNamesAndCaptions() {
    Fixture f;
    DocumentWindow *doc = f.frame().activeDocument();
    const QStringList french = tree(doc, French);
    QVERIFY(french.contains("  mnuFermer|Fe&rmer||"));
    QVERIFY(french.contains("  mnuSauverSous|Sa&uver Sous..||"));
    QVERIFY(french.contains("  mnEffacer|&Effacer|Alt+Backspace|"));
    QVERIFY(french.contains("  mnuTout|&Tout Sélectionner|Shift+F1|"));
    QVERIFY(french.contains("    mnuLanguesItem|Français||d#1"));
    QVERIFY(french.contains("    mnuLanguesItem|Allemand||#3"));
    QVERIFY(french.contains("  mnuRecent|RecentFille3||h#3"));
    QVERIFY(french.contains("mnuFenetre|Fenê&tre"));
    QVERIFY(french.contains("mnuInfo|&?"));
    const QStringList spanish = tree(doc, Spanish);
    QVERIFY(spanish.contains("mnuSAyuda|&Ay&uda"));
    QVERIFY(spanish.contains("    mnuSPIdiomaItem|&Español||d#2"));
    // Spanish and German list Tile before Cascade.
    QVERIFY(spanish.indexOf("  mnuSPVMosaico|&Mosaico||") < spanish.indexOf("  mnuSPVCascada|&Cascada||"));
    const QStringList german = tree(doc, German);
    QVERIFY(german.contains("  mnuGOSymbolleiste|S&ymbolleiste||"));
    QVERIFY(german.contains("  mnuGOSprache|&Sprache||"));
    QVERIFY(german.contains("  mnuGDSchle|Schließen||"));
    QVERIFY(german.indexOf("  mnuGFNeben|&Nebeneinander||") < german.indexOf("  mnuGFUberlappend|&Überlappend||"));
    const QStringList italian = tree(doc, Italian);
    QVERIFY(italian.contains("  mnuIMElimina|&Elimina||"));
    QVERIFY(italian.contains("    mnuIOLanguaItem|Italiano||d#4"));
    QVERIFY(italian.indexOf("  mnuIFISovra|&Sovrapponi||") < italian.indexOf("  mnuIFIAffianca|&Affianca||"));
    // Only the English File menus carry recent-file entries; the French
    // document has its own hidden set.
    for (int language : {Spanish, German, Italian})
      for (const QString &line : tree(doc, language)) QVERIFY(!line.contains("Recent"));
  }

  void everyTreeShowsAsManyItemsInEachMenu() {
    Fixture f;
    DocumentWindow *doc = f.frame().activeDocument();
    for (MenuTrees *trees : {&TreesOf(&f.frame()), &doc->menus()}) {
      auto commands = [&](int language) {
        QList<int> sizes;
        for (QAction *menu : trees->topItems(language)) {
          int items = 0;
          QList<QAction *> pending = trees->menuItems(menu);
          while (!pending.isEmpty()) {
            QAction *a = pending.takeFirst();
            pending.append(trees->menuItems(a));
            if (!a->isSeparator() && a->isVisible()) ++items;
          }
          sizes.append(items);
        }
        return sizes;
      };
      const QList<int> english = commands(English);
      for (int language = French; language < LanguageCount; ++language) QCOMPARE(commands(language), english);
    }
  }

  void shortcutTableIsExactAndNothingElseHasAKey() {
    Fixture f;
    QStringList frame = shortcuts(&f.frame());
    QCOMPARE(frame, (QStringList{"0 mnuFExit Ctrl+E", "0 mnuFNew Ctrl+N", "0 mnuFOpen Ctrl+O"}));
    const QStringList doc = shortcuts(f.frame().activeDocument());
    QStringList expected{
        "0 mnuEDelete Del",   "0 mnuESelectAll Ctrl+A", "0 mnuECopy Ctrl+C",  "0 mnuECut Ctrl+X",
        "0 mnuEPaste Ctrl+V", "0 mnuFExit Ctrl+E",      "0 mnuFNew Ctrl+N",   "0 mnuFOpen Ctrl+O",
        "0 mnuFPrint Ctrl+P", "0 mnuFSave Ctrl+S",      "0 mnuSFindNext F3",  "1 mnEffacer Alt+Backspace",
        "1 mnuColler Ctrl+L", "1 mnuCopier Ctrl+I",     "1 mnuCouper Ctrl+U", "1 mnuTout Shift+F1"};
    expected.sort();
    QCOMPARE(doc, expected);
  }

  void aTreesMenusHoldExactlyItsItemsOnceMade() {
    Fixture f;
    for (QWidget *window : {static_cast<QWidget *>(&f.frame()), static_cast<QWidget *>(f.frame().activeDocument())}) {
      MenuTrees &trees = TreesOf(window);
      for (int language = 0; language < LanguageCount; ++language) {
        trees.makeMenus(language);
        QList<QAction *> pending = trees.topItems(language);
        int menus = 0;
        while (!pending.isEmpty()) {
          QAction *item = pending.takeFirst();
          const QList<QAction *> items = trees.menuItems(item);
          pending.append(items);
          if (items.isEmpty() && !item->menu()) continue;
          ++menus;
          QMenu *menu = item->menu();
          QVERIFY2(menu, qPrintable(item->objectName()));
          QCOMPARE(menu->objectName(), item->objectName());
          QCOMPARE(menu->title(), item->text());
          QList<QAction *> shown = menu->actions();
          shown.removeIf([](QAction *a) { return a->property("windowList").toBool(); });
          QCOMPARE(shown, items);
        }
        QVERIFY(menus >= 2);
      }
    }
  }

  void onlyTheEnglishTreeShowsInANewWindow() {
    Fixture f;
    for (MenuTrees *trees : {&TreesOf(&f.frame()), &f.frame().activeDocument()->menus()})
      for (int language = 0; language < LanguageCount; ++language)
        for (QAction *menu : trees->topItems(language)) QCOMPARE(menu->isVisible(), language == English);
    QCOMPARE(ShownMenuBar(f.frame()),
             (QStringList{"mnuFile", "mnuEdit", "mnuSearch", "mnuOptions", "mnuWindow", "mnuHelp"}));
  }
};

QTEST_MAIN(CatalogueTest)
#include "test_catalogue.moc"
