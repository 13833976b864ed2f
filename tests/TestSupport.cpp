// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSupport.h"

#include "documents/DocumentWindow.h"
#include "settings/RecentFiles.h"

#include <QFile>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

namespace quillora::test {

ScriptedPrompts::ScriptedPrompts() { setPrompts(this); }
ScriptedPrompts::~ScriptedPrompts() { setPrompts(nullptr); }

int ScriptedPrompts::messageBox(QWidget *, const QString &text, int code, const QString &title) {
  messages.append({text, code, title});
  if (!answers.isEmpty()) return answers.takeFirst();
  if ((code & 0x0f) == msg::YesNo) return (code & msg::DefaultButton2) ? msg::No : msg::Yes;
  return (code & 0x0f) == msg::YesNoCancel ? msg::Cancel : msg::Ok;
}

std::optional<QString> ScriptedPrompts::fileName(QWidget *, const FileDialogRequest &request) {
  requests.append(request);
  if (files.isEmpty()) return std::nullopt;
  return files.takeFirst();
}

namespace {
QTemporaryDir *settingsDir = nullptr;
}

void IsolateSettings() {
  if (!settingsDir) settingsDir = new QTemporaryDir;
  qputenv("XDG_CONFIG_HOME", settingsDir->path().toLocal8Bit());
  // Texts the program keeps for the user stay in the test's folder too.
  qputenv("XDG_STATE_HOME", (settingsDir->path() + "/state").toLocal8Bit());
  QStandardPaths::setTestModeEnabled(false);
}

QString SettingsFile() { return QSettings(QSettings::IniFormat, QSettings::UserScope, "VIZIvev").fileName(); }

QByteArray SettingsBytes() {
  FinishRecentFilesUpdates();
  return ReadFile(SettingsFile());
}

Fixture::Fixture() : m_frame(std::make_unique<MainFrame>()) {
  FinishRecentFilesUpdates();  // an earlier test's
  QFile::remove(SettingsFile());
  QObject::connect(m_frame.get(), &MainFrame::programEnds, [this] { ++terminated; });
  m_frame->startUp();
  QCoreApplication::processEvents();
}

Fixture::~Fixture() { m_frame.reset(); }

namespace {

template <typename Part>
Part &FoundIn(MainFrame &frame, const QString &name = {}) {
  Part *part = frame.findChild<Part *>(name);
  if (!part) qFatal("the frame holds no %s", qPrintable(name));
  return *part;
}

}  // namespace

Documents &DocumentsOf(MainFrame &frame) { return FoundIn<Documents>(frame); }
Toolbar &ToolbarOf(MainFrame &frame) { return FoundIn<Toolbar>(frame, QStringLiteral("picToolbar")); }
StatusPanels &PanelsOf(MainFrame &frame) { return FoundIn<StatusPanels>(frame, QStringLiteral("StatusBar1")); }
QMdiArea *MdiAreaOf(MainFrame &frame) { return &FoundIn<QMdiArea>(frame, QStringLiteral("mdiArea")); }
Finder &FinderOf(MainFrame &frame) { return FoundIn<Finder>(frame); }
Languages &LanguagesOf(MainFrame &frame) { return FoundIn<Languages>(frame, QStringLiteral("Languages")); }

MenuTrees &TreesOf(QWidget *window) {
  if (auto *frame = qobject_cast<MainFrame *>(window))
    return *frame->findChild<MenuTrees *>(QString(), Qt::FindDirectChildrenOnly);
  return qobject_cast<DocumentWindow *>(window)->menus();
}

QAction *Item(QWidget *window, const QString &name, int index) {
  MenuTrees &trees = TreesOf(window);
  for (int language = 0; language < LanguageCount; ++language) trees.makeTree(language);
  for (QAction *action : window->findChildren<QAction *>(name, Qt::FindDirectChildrenOnly))
    if (index < 0 || (action->data().isValid() && action->data().toInt() == index)) return action;
  return nullptr;
}

QMenu *MenuOf(QWidget *window, const char *name) {
  MenuTrees &trees = TreesOf(window);
  for (int language = 0; language < LanguageCount; ++language)
    if (trees.action(language, name)) trees.makeMenus(language);
  QAction *item = Item(window, QString::fromLatin1(name));
  return item ? item->menu() : nullptr;
}

void Trigger(QWidget *window, const QString &name, int index) {
  QAction *action = Item(window, name, index);
  QVERIFY2(action, qPrintable(QStringLiteral("no item ") + name));
  QVERIFY2(action->isEnabled(), qPrintable(name + QStringLiteral(" is disabled")));
  action->trigger();
  QCoreApplication::processEvents();
}

QStringList ShownMenuBar(MainFrame &frame) {
  QStringList names;
  for (QAction *action : frame.menuBar()->actions())
    if (action->isVisible()) names.append(action->objectName());
  return names;
}

QByteArray ReadFile(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

void WriteFile(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  QCOMPARE(file.write(bytes), bytes.size());
}

DocumentWindow *OpenThroughMenu(Fixture &f, const QString &path) {
  f.prompts().files.append(path);
  const int before = int(f.frame().documentWindows().size());
  QWidget *menuOwner = f.frame().activeDocument() ? static_cast<QWidget *>(f.frame().activeDocument()) : &f.frame();
  Trigger(menuOwner, "mnuFOpen");
  if (f.frame().documentWindows().size() == before) return nullptr;
  return f.frame().activeDocument();
}

}  // namespace quillora::test
