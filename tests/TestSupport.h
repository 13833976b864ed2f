// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared helpers for the suites: scripted answers for message boxes and file
// dialogs, a frame that does not end the test process, and menu look-ups.

#include "app/MainFrame.h"
#include "app/StatusPanels.h"
#include "app/Toolbar.h"
#include "common/Fonts.h"
#include "common/Prompts.h"
#include "documents/Documents.h"
#include "editing/EditHost.h"
#include "editing/Finder.h"

#include <QAction>
#include <QList>
#include <QTemporaryDir>
#include <memory>
#include <optional>

class QMdiArea;
class QMenu;

namespace quillora::test {

struct ShownMessage {
  QString text;
  int code;
  QString title;
};

class ScriptedPrompts : public Prompts {
 public:
  ScriptedPrompts();
  ~ScriptedPrompts() override;

  int messageBox(QWidget *parent, const QString &text, int code, const QString &title) override;
  std::optional<QString> fileName(QWidget *parent, const FileDialogRequest &request) override;

  // Answers are taken in turn; with none left a box answers OK (Cancel for
  // Yes/No/Cancel, its default button for Yes/No) and a file dialog is cancelled.
  QList<int> answers;
  QList<std::optional<QString>> files;

  QList<ShownMessage> messages;
  QList<FileDialogRequest> requests;
};

// What the documents and the search need of the window that holds them, and
// no frame: the active text is the one the test names.
class StubHost : public EditHost {
 public:
  EditControl *activeText() const override { return text; }
  QWidget *hostWindow() override { return &window; }
  EditControl *text = nullptr;
  QWidget window;
};

// A frame as the program starts it, with the settings store in a fresh folder.
class Fixture {
 public:
  Fixture();
  ~Fixture();
  MainFrame &frame() { return *m_frame; }
  ScriptedPrompts &prompts() { return m_prompts; }
  int terminated = 0;
  QString dir() const { return m_dir.path(); }
  QString path(const QString &name) const { return m_dir.filePath(name); }

 private:
  QTemporaryDir m_dir;
  ScriptedPrompts m_prompts;
  std::unique_ptr<MainFrame> m_frame;
};

// Points the settings store at a fresh folder; call before any QSettings exists.
void IsolateSettings();
QString SettingsFile();
// What the settings store holds once every update asked for is written.
QByteArray SettingsBytes();

// The frame's parts, found as tools find them: by objectName, or by type
// where the frame holds one.
Documents &DocumentsOf(MainFrame &frame);
Toolbar &ToolbarOf(MainFrame &frame);
StatusPanels &PanelsOf(MainFrame &frame);
QMdiArea *MdiAreaOf(MainFrame &frame);
Finder &FinderOf(MainFrame &frame);
Languages &LanguagesOf(MainFrame &frame);

// The menu trees of the frame or of a document window.
MenuTrees &TreesOf(QWidget *window);
// An item of a window by objectName (and array index), whatever its tree.
QAction *Item(QWidget *window, const QString &name, int index = -1);
// The menu a menu item opens; a hidden tree's menus are made for it.
QMenu *MenuOf(QWidget *window, const char *name);
// Triggers an item; fails the test when it does not exist, is hidden in a
// shown tree or disabled.
void Trigger(QWidget *window, const QString &name, int index = -1);
// File > Open of the active window (or the frame's), the dialog answered with
// the path; the new document's window, or null when none was opened.
DocumentWindow *OpenThroughMenu(Fixture &f, const QString &path);
// The objectNames of the visible top-level menus in the frame's menu bar.
QStringList ShownMenuBar(MainFrame &frame);
QByteArray ReadFile(const QString &path);
void WriteFile(const QString &path, const QByteArray &bytes);

}  // namespace quillora::test
