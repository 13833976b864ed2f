// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The frame window: the multiple-document parent of every document window,
// with the picture toolbar, the status bar and the frame's own five menu
// trees, shown while no document window is open. It composes the floors'
// own state (the documents, the search, the current language) and runs the
// commands that act on the frame.

#include "editing/EditHost.h"
#include "languages/Catalogue.h"
#include "languages/MenuTrees.h"

#include <QMainWindow>

class QMdiArea;
class QMdiSubWindow;

namespace quillora {

class DocumentWindow;
class Documents;
class EditControl;
class Finder;
class SessionEnd;
class StatusPanels;
class Toolbar;

class MainFrame : public QMainWindow, public EditHost {
  Q_OBJECT
 public:
  // `sessionManager`: the address of the desktop's session manager, if any.
  explicit MainFrame(const QByteArray &sessionManager = {});
  ~MainFrame() override;

  // The start-up sequence: show, change to the program's folder, the first
  // document "Untitled", the status bar, the recent-file menus, search down.
  void startUp();

  // What the documents and the editing ask of the frame.
  EditControl *activeText() const override;
  QWidget *hostWindow() override { return this; }

  DocumentWindow *activeDocument() const;
  QList<DocumentWindow *> documentWindows() const;

  // The one routine of the frame's commands, from its own menus, every
  // document window's and the toolbar.
  void runFrameCommand(MenuTrees &trees, Command command, int index, int language);

  // Ends the program at once: the print job goes to the printer, nothing else runs.
  void endProgram();

 signals:
  // The program ends now (connected to the application's exit; tests count it).
  void programEnds();

 protected:
  void closeEvent(QCloseEvent *event) override;

 private:
  // The Toolbar item of a window's trees. `fromEnglishItem`: the menu has
  // already inverted the English item's check.
  void toolbarToggle(MenuTrees &trees, bool fromEnglishItem);
  void refreshToolbarCheck(MenuTrees &trees);
  void switchLanguage(MenuTrees &trees, int tree, int chosen);
  // The flags show that language alone.
  void showFlagOf(int language);
  void showMenusOf(MenuTrees *trees, bool force = false);
  void onSubWindowActivated(QMdiSubWindow *sub);
  // Every window made is connected as it is made.
  void connectWindow(DocumentWindow *window);
  void onAnyOpenChanged(bool anyOpen);
  void tellOfRescuedTexts();

  QMdiArea *m_mdi;
  StatusPanels *m_panels;
  Toolbar *m_toolbar;
  Finder *m_finder;
  Documents *m_documents;
  Languages *m_languages;
  MenuTrees *m_menus;
  MenuTrees *m_menusShown = nullptr;
  SessionEnd *m_sessionEnd;
  bool m_tearingDown = false;
};

}  // namespace quillora
