#pragma once
// The five menu trees of one window, built from the catalogue. Exactly one
// tree is shown at a time; every item runs the window's one routine for its
// command, whatever the tree.

#include "languages/Catalogue.h"

#include <QKeySequence>
#include <QList>
#include <QStringList>
#include <functional>
#include <map>

class QAction;
class QMenu;
class QWidget;

namespace quillora {

class StatusPanels;

class MenuTrees {
 public:
  using Handler = std::function<void(Command command, int index, int language)>;

  MenuTrees(QWidget *owner, const Trees &trees, Handler handler);

  // The top-level menu actions of the shown tree, for the menu bar. The
  // hidden trees stay out of it: their access keys would clash with the
  // shown tree's (Alt+E is "&Edit", "&Editer" and "&Edición").
  QList<QAction *> menuBarActions() const;
  const QList<QMenu *> &topMenus(int language) const { return m_top[static_cast<std::size_t>(language)]; }

  int shownLanguage() const { return m_shown; }
  void setTreeVisible(int language, bool visible);

  // True when a shortcut key of the shown tree is the given key.
  bool shownTreeOwnsKey(const QKeySequence &key) const;

  // The items of a tree's indexed array for a command (language items, font
  // sizes, recent files), in index order; an item's data() is its index.
  // Font names are made at run time.
  const QList<QAction *> &items(int language, Command command) const;

  // The first item of the given name in a tree, or nullptr.
  QAction *action(int language, const char *name) const;

  // Top-level menus that hold a Toolbar item, and the English File menu that
  // lists the open document windows (nullptr for the frame).
  const QList<QMenu *> &optionsMenus() const { return m_optionsMenus; }
  QMenu *windowListMenu() const { return m_windowListMenu; }

  // Where the font-name arrays take the installed font families from; their
  // items are made the first time a Font menu is opened.
  void setFontFamilies(std::function<const QStringList &()> families) { m_families = std::move(families); }

 private:
  void addItems(QMenu *menu, const std::vector<ItemDef> &items, int language);
  void fillFontMenu(QMenu *menu, const char *arrayName, int language);

  QWidget *m_owner;
  Handler m_handler;
  std::array<QList<QMenu *>, LanguageCount> m_top;
  std::array<QList<QAction *>, LanguageCount> m_shortcutActions;
  std::array<std::map<Command, QList<QAction *>>, LanguageCount> m_arrays;
  QList<QMenu *> m_optionsMenus;
  QMenu *m_windowListMenu = nullptr;
  std::function<const QStringList &()> m_families;
  int m_shown = English;
};

// The language command of the tree of language `tree` in a window, item `chosen`:
// hides that tree and its flag, shows the chosen tree and its flag, and makes
// the chosen language the current one.
void SwitchLanguage(MenuTrees &window, int tree, int chosen, StatusPanels &panels, int &CurrentLanguage);

}  // namespace quillora
