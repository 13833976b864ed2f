#pragma once
// The frame window: the multiple-document parent of every document window,
// with the picture toolbar, the status bar, the file dialog and the frame's
// own five menu trees, shown while no document window is open.

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
class StatusPanels;
class Toolbar;

class MainFrame : public QMainWindow {
  Q_OBJECT
 public:
  MainFrame();
  ~MainFrame() override;

  // The start-up sequence: show, change to the program's folder, the first
  // document "Untitled", the status bar, the recent-file menus, search down.
  void startUp();

  DocumentTable &documents() { return m_documents; }
  SearchState &search() { return m_search; }
  QMdiArea *mdiArea() const { return m_mdi; }
  StatusPanels &statusPanels() const { return *m_panels; }
  Toolbar &toolbar() const { return *m_toolbar; }
  FileDialog &CMDialog1() const { return *m_fileDialog; }
  PrintJob &printer() const { return *m_printer; }
  MenuTrees &menus() { return *m_menus; }
  // The installed font families, in the platform's order. Qt reads the
  // installed fonts once per run, so every window of the run sees this one
  // list; it is read when first needed, not at start-up.
  const QStringList &fontFamilies();
  // Every document window shows the same icon, read once.
  const QIcon &documentIcon() const { return m_documentIcon; }

  // The language last chosen in any Languages menu (0 English … 4 Italian).
  int CurrentLanguage = English;

  // The frame's active document window: the current child, even while
  // another top-level window such as the Find dialog is active.
  DocumentWindow *activeDocument() const;
  QList<DocumentWindow *> documentWindows() const;

  // Called by the document lifecycle.
  void addDocumentWindow(DocumentWindow *window);
  void showDocumentWindow(DocumentWindow *window);
  void documentClosed(DocumentWindow &window);
  void showDocumentButtons();
  void hideDocumentButtons();

  // The Toolbar item of a window (the frame or a document) and the check refresh.
  // `fromEnglishItem`: the menu has already inverted the English item's check.
  void toolbarToggle(MenuTrees &window, bool isFrame, bool fromEnglishItem);
  void refreshToolbarCheck(MenuTrees &window);
  void switchLanguage(MenuTrees &window, int tree, int chosen);
  void openRecentEntry(MenuTrees &window, int index);

  // The Find dialog, created on first use; nullptr when it does not exist.
  FindDialog *findDialog(bool create);
  void raiseFindDialog();

  // Ends the program at once: the print job goes to the printer, nothing else runs.
  void endProgram();
  // What ending the program does (tests replace it).
  void setTerminateHook(std::function<void()> hook) { m_terminate = std::move(hook); }

 protected:
  void closeEvent(QCloseEvent *event) override;

 private:
  void runCommand(Command command, int index, int language);
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
  bool m_tearingDown = false;
};

// Twips to logical pixels at the screen's logical DPI.
int TwipsX(const QWidget *widget, int twips);
int TwipsY(const QWidget *widget, int twips);

}  // namespace quillora
