// SPDX-License-Identifier: GPL-3.0-or-later
#include "languages/MenuTrees.h"

#include "common/Fonts.h"

#include <QAccessible>
#include <QAction>
#include <QMenu>
#include <QWidget>

namespace quillora {

MenuTrees::MenuTrees(QWidget *owner, const Trees &trees) : QObject(owner), m_owner(owner), m_trees(trees) {
  makeTree(m_shown);
}

void MenuTrees::makeTree(int language) {
  const auto l = static_cast<std::size_t>(language);
  if (!m_top[l].isEmpty()) return;  // made already
  for (const MenuDef &def : m_trees[l].menus) {
    QAction *item = addMenuNode(def.name, def.caption, def.items, language, nullptr, def.windowList);
    item->setVisible(language == m_shown);
    m_top[l].append(item);
  }
}

QAction *MenuTrees::addMenuNode(const char *name, const char *caption, const std::vector<ItemDef> &items, int language,
                                const char *fontArray, bool windowList) {
  auto *item = new QAction(QString::fromUtf8(caption), m_owner);
  item->setObjectName(QString::fromLatin1(name));
  m_all[static_cast<std::size_t>(language)].append(item);
  MenuNode node{item, {}, fontArray, windowList, false};
  for (const ItemDef &def : items) {
    node.items.append(makeItem(def, language));
    node.options = node.options || def.command == Command::Toolbar;
  }
  m_nodes[static_cast<std::size_t>(language)].push_back(std::move(node));
  return item;
}

QAction *MenuTrees::makeItem(const ItemDef &def, int language) {
  const auto l = static_cast<std::size_t>(language);
  QAction *action = nullptr;
  if (def.isMenu()) {
    action = addMenuNode(def.name, def.caption, def.items, language, def.runtimeArray, false);
  } else {
    action = new QAction(m_owner);
    action->setObjectName(QString::fromLatin1(def.name));
    m_all[l].append(action);
    if (def.isSeparator()) {
      action->setSeparator(true);
    } else {
      action->setText(QString::fromUtf8(def.caption));
      action->setCheckable(def.checkable);
      if (def.shortcut) {
        action->setShortcut(QKeySequence(QString::fromLatin1(def.shortcut), QKeySequence::PortableText));
        m_shortcutActions[l].append(action);
      }
      if (def.command != Command::None) {
        const Command command = def.command;
        const int index = def.index;
        connect(action, &QAction::triggered, this,
                [this, command, index, language] { emit triggered(command, index, language); });
      }
    }
  }
  if (def.index >= 0) {
    action->setData(def.index);
    m_arrays[l][def.command].append(action);
  }
  if (def.hidden) action->setVisible(false);
  if (def.disabled) action->setEnabled(false);
  return action;
}

void MenuTrees::makeMenus(int language) {
  makeTree(language);
  const auto l = static_cast<std::size_t>(language);
  if (m_made[l]) return;
  m_made[l] = true;
  // Submenus come before the menus that hold them.
  for (const MenuNode &node : m_nodes[l]) {
    auto *menu = new QMenu(node.item->text(), m_owner);
    menu->setObjectName(node.item->objectName());
    menu->addActions(node.items);
    node.item->setMenu(menu);
    if (node.fontArray) {
      const char *arrayName = node.fontArray;
      QObject::connect(menu, &QMenu::aboutToShow, menu,
                       [this, menu, arrayName, language] { fillFontMenu(menu, arrayName, language); });
    }
    if (node.options) connect(menu, &QMenu::aboutToShow, this, &MenuTrees::optionsShown);
    if (node.windowList) {
      m_windowListMenu = menu;
      connect(menu, &QMenu::aboutToShow, this, [this, menu] { emit windowListShown(menu); });
    }
  }
}

namespace {
// Qt's accessibility keeps one interface per item, bound to the menu widget
// that first showed it, and hands that one out for every later menu holding
// the item: once that widget is gone, a screen reader could no longer read
// the item. The items leave the old widget and their interfaces are dropped,
// so the next menu widget gets interfaces of its own.
void letGoOfItems(QMenu *menu) {
  const QList<QAction *> items = menu->actions();
  for (QAction *item : items) {
    menu->removeAction(item);
    if (QAccessibleInterface *shown = QAccessible::queryAccessibleInterface(item))
      QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(shown));
  }
}
}  // namespace

void MenuTrees::releaseMenus() {
  for (std::size_t l = 0; l < m_nodes.size(); ++l) {
    if (!m_made[l]) continue;
    m_made[l] = false;
    for (const MenuNode &node : m_nodes[l]) {
      letGoOfItems(node.item->menu());
      // Later: the menu may be the one whose item is running this very command.
      node.item->menu()->deleteLater();
      node.item->setMenu(static_cast<QMenu *>(nullptr));
    }
  }
  m_windowListMenu = nullptr;
}

void MenuTrees::fillFontMenu(QMenu *menu, const char *arrayName, int language) {
  if (!menu->isEmpty()) return;
  QList<QAction *> &array = m_arrays[static_cast<std::size_t>(language)][Command::FontName];
  if (!array.isEmpty()) {  // made for an earlier menu widget of this tree
    menu->addActions(array);
    return;
  }
  const QString name = QString::fromLatin1(arrayName);
  const QStringList &families = InstalledFontFamilies();
  for (int i = 0; i < families.size(); ++i) {
    auto *action = new QAction(families.at(i), m_owner);
    action->setObjectName(name);
    action->setData(i);
    connect(action, &QAction::triggered, this, [this, i, language] { emit triggered(Command::FontName, i, language); });
    array.append(action);
  }
  menu->addActions(array);
}

QList<QAction *> MenuTrees::menuItems(const QAction *menuItem) const {
  for (const auto &nodes : m_nodes)
    for (const MenuNode &node : nodes)
      if (node.item == menuItem) return node.fontArray && menuItem->menu() ? menuItem->menu()->actions() : node.items;
  return {};
}

const QList<QAction *> &MenuTrees::items(int language, Command command) {
  static const QList<QAction *> none;
  makeTree(language);
  const auto &arrays = m_arrays[static_cast<std::size_t>(language)];
  const auto found = arrays.find(command);
  return found == arrays.end() ? none : found->second;
}

QList<QAction *> MenuTrees::menuBarActions() {
  makeMenus(m_shown);
  return m_top[static_cast<std::size_t>(m_shown)];
}

void MenuTrees::setTreeVisible(int language, bool visible) {
  if (visible) makeTree(language);
  for (QAction *item : m_top[static_cast<std::size_t>(language)]) item->setVisible(visible);
  if (visible) m_shown = language;
}

bool MenuTrees::shownTreeOwnsKey(const QKeySequence &key) const {
  for (const QAction *action : m_shortcutActions[static_cast<std::size_t>(m_shown)])
    if (action->shortcut() == key) return true;
  return false;
}

QAction *MenuTrees::action(int language, const char *name) {
  makeTree(language);
  const QString wanted = QString::fromLatin1(name);
  for (QAction *item : m_all[static_cast<std::size_t>(language)])
    if (item->objectName() == wanted) return item;
  return nullptr;
}

void MenuTrees::checkOnly(int language, Command command, int index) {
  for (QAction *item : items(language, command)) item->setChecked(item->data().toInt() == index);
}

LanguageSwitch Languages::Switch(MenuTrees &trees, int tree, int chosen) {
  trees.setTreeVisible(tree, false);
  if (chosen == tree) return {tree, std::nullopt};
  trees.setTreeVisible(chosen, true);
  CurrentLanguage = chosen;
  return {tree, chosen};
}

}  // namespace quillora
