// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The five menu trees of one window, built from the catalogue. Exactly one
// tree is shown at a time; every item runs the window's one routine for its
// command, whatever the tree.
//
// A tree's items are made, as actions of the window with their names,
// captions, keys and states from the catalogue, the first time the tree is
// shown or asked for: four of a window's five trees are seldom seen, and
// until then nothing can have changed them. The menu widgets that display a
// tree are made when it is shown in the menu bar, and let go when the
// window's menus leave it, since a menu widget with its items costs several
// times what the items alone cost.

#include "languages/Catalogue.h"

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QStringList>
#include <map>
#include <optional>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace quillora {

class MenuTrees : public QObject {
  Q_OBJECT
 public:
  // The trees' items are actions of `owner`; the trees go with it.
  MenuTrees(QWidget *owner, const Trees &trees);

  // The top-level menu items of the shown tree, for the menu bar, with their
  // menus. The hidden trees stay out of the bar: their access keys would
  // clash with the shown tree's (Alt+E is "&Edit", "&Editer" and "&Edición").
  QList<QAction *> menuBarActions();
  // A tree's top-level menu items, shown or not.
  const QList<QAction *> &topItems(int language) {
    makeTree(language);
    return m_top[static_cast<std::size_t>(language)];
  }
  // The items of a menu item's menu, in order, separators included, whether
  // its menu widget has been made or not.
  QList<QAction *> menuItems(const QAction *menuItem) const;

  // Makes the items of a tree, if not made yet: done when the tree is first
  // shown or asked for, and by whoever wants to look at them all.
  void makeTree(int language);
  // Makes the menu widgets of a tree, if not made yet: done when the tree is
  // first shown, and by whoever wants to look into a hidden tree's menus.
  void makeMenus(int language);
  // Lets the menu widgets go once the window's menus leave the menu bar: only
  // the active window's are ever seen, and they are made again when needed.
  void releaseMenus();

  int shownLanguage() const { return m_shown; }
  void setTreeVisible(int language, bool visible);

  // True when a shortcut key of the shown tree is the given key.
  bool shownTreeOwnsKey(const QKeySequence &key) const;

  // The items of a tree's indexed array for a command (language items, font
  // sizes, recent files, font names once made), in index order; an item's
  // data() is its index.
  const QList<QAction *> &items(int language, Command command);

  // The first item of the given name in a tree, or nullptr.
  QAction *action(int language, const char *name);
  // Checks the item of that index in a tree's array and no other of it;
  // the other trees keep their marks.
  void checkOnly(int language, Command command, int index);

  // The English File menu that lists the open document windows, once made
  // (nullptr for the frame).
  QMenu *windowListMenu() const { return m_windowListMenu; }

 signals:
  // An item was chosen: the window runs the command.
  void triggered(quillora::Command command, int index, int language);
  // A menu holding a Toolbar item opens.
  void optionsShown();
  // The menu that lists the open windows opens.
  void windowListShown(QMenu *menu);

 private:
  struct MenuNode {
    QAction *item;           // names the menu and opens it from its parent or the menu bar
    QList<QAction *> items;  // in order
    const char *fontArray;   // filled with the font families when first opened
    bool windowList;
    bool options;
  };

  QAction *addMenuNode(const char *name, const char *caption, const std::vector<ItemDef> &items, int language,
                       const char *fontArray, bool windowList);
  QAction *makeItem(const ItemDef &def, int language);
  void fillFontMenu(QMenu *menu, const char *arrayName, int language);

  QWidget *m_owner;
  const Trees &m_trees;
  // Every menu of a tree, submenus before the menus that hold them.
  std::array<std::vector<MenuNode>, LanguageCount> m_nodes;
  std::array<QList<QAction *>, LanguageCount> m_top;
  std::array<QList<QAction *>, LanguageCount> m_all;
  std::array<QList<QAction *>, LanguageCount> m_shortcutActions;
  std::array<std::map<Command, QList<QAction *>>, LanguageCount> m_arrays;
  std::array<bool, LanguageCount> m_made{};
  QMenu *m_windowListMenu = nullptr;
  int m_shown = English;
};

// What a language command changed: the flag to hide, and the language to
// show (nothing where the chosen one was the tree's own).
struct LanguageSwitch {
  int hiddenFlag;
  std::optional<int> shownLanguage;
};

// The Languages subsystem's state for the whole run: the language last
// chosen in any Languages menu, English at start, never saved.
class Languages : public QObject {
  Q_OBJECT
 public:
  explicit Languages(QObject *parent) : QObject(parent) { setObjectName(QStringLiteral("Languages")); }
  int CurrentLanguage = English;

  // The language command of the tree of language `tree` in a window's
  // trees, item `chosen`: hides that tree, shows the chosen one and makes
  // its language the current one.
  LanguageSwitch Switch(MenuTrees &trees, int tree, int chosen);
};

}  // namespace quillora
