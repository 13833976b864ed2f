#pragma once
// The frame window: the multiple-document parent of every document window,
// with the picture toolbar, the status bar, the file dialog and the frame's
// own five menu trees, shown while no document window is open.

#include "common/Twips.h"
#include "documents/DocumentHost.h"
#include "documents/DocumentTable.h"
#include "editing/Search.h"
#include "languages/MenuTrees.h"

#include <QHash>
#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

class QMdiArea;
class QMdiSubWindow;

namespace quillora {

class DocumentWindow;
class FileDialog;
class FindDialog;
class PrintJob;
class SessionEnd;
class StatusPanels;
class Toolbar;

class MainFrame : public QMainWindow, public DocumentHost {
  Q_OBJECT
 public:
  MainFrame();
  ~MainFrame() override;

  // The start-up sequence: show, change to the program's folder, the first
  // document "Untitled", the status bar, the recent-file menus, search down.
  void startUp();

  // What the documents and the editing ask of the frame.
  DocumentTable &documents() override { return m_documents; }
  SearchState &search() override { return m_search; }
  QMdiArea *mdiArea() const override { return m_mdi; }
  FileDialog &fileDialog() const override { return *m_fileDialog; }
  PrintJob &printer() const override { return *m_printer; }
  MenuTrees &menus() override { return *m_menus; }
  // The installed font families, in the platform's order. Qt reads the
  // installed fonts once per run, so every window of the run sees this one
  // list; it is read when first needed, not at start-up.
  const QStringList &fontFamilies() override;
  const QIcon &documentIcon() const override { return m_documentIcon; }
  EditControl *activeText() const override;
  int currentLanguage() const override { return CurrentLanguage; }
  QWidget *hostWindow() override { return this; }
  // The Find dialog, created on first use; nullptr when it does not exist.
  FindDialog *findDialog(bool create) override;
  void raiseFindDialog() override;
  void addDocumentWindow(DocumentWindow *window) override;
  void showDocumentWindow(DocumentWindow *window) override;
  void documentClosed(DocumentWindow &window) override;
  void showDocumentButtons() override;
  void showFlagOf(int language) override;
  void refreshToolbarCheck(MenuTrees &trees) override;
  // The one routine of the frame's commands, from its own menus and from
  // every document window's.
  void runFrameCommand(MenuTrees &trees, Command command, int index, int language) override;

  StatusPanels &statusPanels() const { return *m_panels; }
  Toolbar &toolbar() const { return *m_toolbar; }

  // The language last chosen in any Languages menu (0 English … 4 Italian).
  int CurrentLanguage = English;

  // The frame's active document window: the current child, even while
  // another top-level window such as the Find dialog is active.
  DocumentWindow *activeDocument() const;
  QList<DocumentWindow *> documentWindows() const;
  // Some open document's text differs from its file.
  bool anyDocumentChanged() const;
  // What closing the frame asks first: the save question of every changed
  // document, in turn; false at the first Cancel.
  bool askToSaveEveryDocument();
  void hideDocumentButtons();

  // Ends the program at once: the print job goes to the printer, nothing else runs.
  void endProgram();
  // What ending the program does (tests replace it).
  void setTerminateHook(std::function<void()> hook) { m_terminate = std::move(hook); }

 protected:
  void closeEvent(QCloseEvent *event) override;

 private:
  // A toolbar button: the routine of its command.
  void runToolbarCommand(Command command);
  // The Toolbar item of a window's trees (the frame's or a document's).
  // `fromEnglishItem`: the menu has already inverted the English item's check.
  void toolbarToggle(MenuTrees &trees, bool isFrame, bool fromEnglishItem);
  void switchLanguage(MenuTrees &trees, int tree, int chosen);
  void openRecentEntry(MenuTrees &trees, int index);
  void showMenusOf(MenuTrees *trees, bool force = false);
  void onSubWindowActivated(QMdiSubWindow *sub);

  DocumentTable m_documents;
  SearchState m_search;
  std::optional<QStringList> m_families;
  QIcon m_documentIcon;
  QMdiArea *m_mdi;
  StatusPanels *m_panels;
  Toolbar *m_toolbar;
  FileDialog *m_fileDialog;
  std::unique_ptr<PrintJob> m_printer;
  std::unique_ptr<MenuTrees> m_menus;
  MenuTrees *m_menusShown = nullptr;
  QHash<QString, QIcon> m_systemMenuIcons;  // by the system menu item's caption
  QPointer<FindDialog> m_findDialog;
  std::function<void()> m_terminate;
  SessionEnd *m_sessionEnd;
  bool m_tearingDown = false;
};

}  // namespace quillora
