#include "languages/MenuTrees.h"

#include "app/StatusPanels.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace quillora {

MenuTrees::MenuTrees(QWidget *owner, const Trees &trees, Handler handler)
    : m_owner(owner), m_handler(std::move(handler)) {
  for (const TreeDef &tree : trees) {
    auto &top = m_top[static_cast<std::size_t>(tree.language)];
    for (const MenuDef &def : tree.menus) {
      auto *menu = new QMenu(QString::fromUtf8(def.caption), owner);
      menu->setObjectName(QString::fromLatin1(def.name));
      menu->menuAction()->setObjectName(QString::fromLatin1(def.name));
      menu->menuAction()->setVisible(tree.language == English);
      addItems(menu, def.items, tree.language);
      for (const ItemDef &item : def.items)
        if (item.command == Command::Toolbar) m_optionsMenus.append(menu);
      if (def.windowList) m_windowListMenu = menu;
      top.append(menu);
    }
  }
}

void MenuTrees::addItems(QMenu *menu, const std::vector<ItemDef> &items, int language) {
  for (const ItemDef &def : items) {
    QAction *action = nullptr;
    if (def.isSeparator()) {
      action = menu->addSeparator();
    } else if (def.isMenu()) {
      auto *sub = menu->addMenu(QString::fromUtf8(def.caption));
      sub->setObjectName(QString::fromLatin1(def.name));
      action = sub->menuAction();
      if (def.runtimeArray) {
        const char *arrayName = def.runtimeArray;
        QObject::connect(sub, &QMenu::aboutToShow, sub,
                         [this, sub, arrayName, language] { fillFontMenu(sub, arrayName, language); });
      } else {
        addItems(sub, def.items, language);
      }
    } else {
      action = menu->addAction(QString::fromUtf8(def.caption));
      action->setCheckable(def.checkable);
      if (def.shortcut) {
        action->setShortcut(QKeySequence(QString::fromLatin1(def.shortcut), QKeySequence::PortableText));
        m_shortcutActions[static_cast<std::size_t>(language)].append(action);
      }
      if (def.command != Command::None) {
        const Command command = def.command;
        const int index = def.index;
        QObject::connect(action, &QAction::triggered, m_owner,
                         [this, command, index, language] { m_handler(command, index, language); });
      }
    }
    action->setObjectName(QString::fromLatin1(def.name));
    if (def.index >= 0) {
      action->setData(def.index);
      m_arrays[static_cast<std::size_t>(language)][def.command].append(action);
    }
    if (def.hidden) action->setVisible(false);
    if (def.disabled) action->setEnabled(false);
  }
}

void MenuTrees::fillFontMenu(QMenu *menu, const char *arrayName, int language) {
  if (!menu->isEmpty() || !m_families) return;
  const QString name = QString::fromLatin1(arrayName);
  const QStringList &families = m_families();
  for (int i = 0; i < families.size(); ++i) {
    QAction *action = menu->addAction(families.at(i));
    action->setObjectName(name);
    action->setData(i);
    QObject::connect(action, &QAction::triggered, m_owner,
                     [this, i, language] { m_handler(Command::FontName, i, language); });
  }
}

const QList<QAction *> &MenuTrees::items(int language, Command command) const {
  static const QList<QAction *> none;
  const auto &arrays = m_arrays[static_cast<std::size_t>(language)];
  const auto found = arrays.find(command);
  return found == arrays.end() ? none : found->second;
}

QList<QAction *> MenuTrees::menuBarActions() const {
  QList<QAction *> actions;
  for (QMenu *menu : m_top[static_cast<std::size_t>(m_shown)]) actions.append(menu->menuAction());
  return actions;
}

void MenuTrees::setTreeVisible(int language, bool visible) {
  for (QMenu *menu : m_top[static_cast<std::size_t>(language)]) menu->menuAction()->setVisible(visible);
  if (visible) m_shown = language;
}

bool MenuTrees::shownTreeOwnsKey(const QKeySequence &key) const {
  for (const QAction *action : m_shortcutActions[static_cast<std::size_t>(m_shown)])
    if (action->shortcut() == key) return true;
  return false;
}

QAction *MenuTrees::action(int language, const char *name) const {
  const QString wanted = QString::fromLatin1(name);
  for (QMenu *menu : m_top[static_cast<std::size_t>(language)]) {
    if (menu->objectName() == wanted) return menu->menuAction();
    if (auto *found = menu->findChild<QAction *>(wanted)) return found;
  }
  return nullptr;
}

void SwitchLanguage(MenuTrees &window, int tree, int chosen, StatusPanels &panels, int &CurrentLanguage) {
  panels.setFlagVisible(tree, false);
  window.setTreeVisible(tree, false);
  if (chosen != tree) {
    CurrentLanguage = chosen;
    panels.setFlagVisible(chosen, true);
    window.setTreeVisible(chosen, true);
  }
}

}  // namespace quillora
