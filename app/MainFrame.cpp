#include "app/MainFrame.h"

#include "app/SessionEnd.h"
#include "app/StatusPanels.h"
#include "app/Toolbar.h"
#include "app/WindowCommands.h"
#include "common/Prompts.h"
#include "documents/DocumentWindow.h"
#include "documents/FileCommands.h"
#include "documents/FileDialog.h"
#include "documents/Printing.h"
#include "editing/EditControl.h"
#include "editing/FindDialog.h"
#include "resources/Pictures.h"
#include "settings/RecentFiles.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QStyle>
#include <QVBoxLayout>

namespace quillora {

MainFrame::MainFrame()
    : m_mdi(new QMdiArea(this)),
      m_panels(new StatusPanels(this)),
      m_toolbar(new Toolbar(this)),
      m_fileDialog(new FileDialog(this)),
      m_printer(std::make_unique<PrintJob>()),
      m_terminate([] { QCoreApplication::exit(0); }),
      m_sessionEnd(new SessionEnd(*this)) {
  setObjectName(QStringLiteral("frmMDI"));
  setWindowTitle(QString::fromLatin1(AppTitle));
  setWindowIcon(IconPicture(QStringLiteral("icons/quillora")));
  m_documentIcon = IconPicture(QStringLiteral("icons/document"));

  auto *central = new QWidget(this);
  auto *layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_toolbar);
  layout->addWidget(m_mdi, 1);
  setCentralWidget(central);
  setStatusBar(m_panels);
  m_mdi->setObjectName(QStringLiteral("mdiArea"));

  MenuTrees::Hooks hooks;
  hooks.optionsShown = [this] { refreshToolbarCheck(*m_menus); };
  m_menus = std::make_unique<MenuTrees>(
      this, FrameTrees(), [this](Command c, int index, int language) { runFrameCommand(*m_menus, c, index, language); },
      std::move(hooks));
  showMenusOf(m_menus.get());

  connect(m_mdi, &QMdiArea::subWindowActivated, this, &MainFrame::onSubWindowActivated);
  connect(m_toolbar, &Toolbar::commandClicked, this, &MainFrame::runToolbarCommand);

  // The client area at first show, in twips.
  resize(TwipsX(this, 10125), TwipsY(this, 6870) + menuBar()->sizeHint().height() + m_panels->sizeHint().height());
  move(TwipsX(this, 1770), TwipsY(this, 3165));
}

MainFrame::~MainFrame() {
  m_tearingDown = true;
  // A mail launcher still running is ended without reporting to a frame that is going.
  for (QProcess *mail : findChildren<QProcess *>()) mail->disconnect();
  delete m_findDialog.data();
  // Document windows go before the tables and menus they refer to.
  const auto subs = m_mdi->subWindowList();
  for (QMdiSubWindow *sub : subs) delete sub;
}

void MainFrame::startUp() {
  show();
  QDir::setCurrent(QCoreApplication::applicationDirPath());
  m_documents.initialise();
  DocumentWindow *first = CreateDocumentWindow(*this, 1, QString::fromLatin1(text::Untitled));
  m_documents.state(1).Changed = false;
  showDocumentWindow(first);
  m_search.FindDirection = 1;
}

const QStringList &MainFrame::fontFamilies() {
  if (!m_families) m_families = QFontDatabase::families();
  return *m_families;
}

EditControl *MainFrame::activeText() const {
  DocumentWindow *window = activeDocument();
  return window ? window->Text1() : nullptr;
}

DocumentWindow *MainFrame::activeDocument() const {
  QMdiSubWindow *sub = m_mdi->currentSubWindow();
  return sub ? qobject_cast<DocumentWindow *>(sub->widget()) : nullptr;
}

QList<DocumentWindow *> MainFrame::documentWindows() const {
  QList<DocumentWindow *> windows;
  for (QMdiSubWindow *sub : m_mdi->subWindowList(QMdiArea::CreationOrder))
    if (auto *window = qobject_cast<DocumentWindow *>(sub->widget())) windows.append(window);
  return windows;
}

void MainFrame::addDocumentWindow(DocumentWindow *window) {
  QMdiSubWindow *sub = m_mdi->addSubWindow(window);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  // A new window takes three quarters of the frame's client area, one
  // title-bar step below and right of the window before it.
  const QSize area = m_mdi->viewport()->size();
  if (area.width() > 200 && area.height() > 150) {
    const QSize size = area * 3 / 4;
    sub->resize(size);
    const int step = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
    const int k = int(m_mdi->subWindowList().size()) - 1;
    const int room = qMax(1, qMin(area.width() - size.width(), area.height() - size.height()) / step + 1);
    sub->move(QPoint(step, step) * (k % room));
  }
  sub->setWindowIcon(window->windowIcon());
  // The system menu's own keys (Ctrl+W, Ctrl+F4 …) would make our shortcuts
  // ambiguous. Its pictures, made anew for every window, are those of the
  // first window, shared.
  if (QMenu *system = sub->systemMenu()) {
    for (QAction *action : system->actions()) {
      action->setShortcut(QKeySequence());
      if (action->icon().isNull()) continue;
      auto shared = m_systemMenuIcons.constFind(action->text());
      if (shared == m_systemMenuIcons.constEnd())
        m_systemMenuIcons.insert(action->text(), action->icon());
      else
        action->setIcon(*shared);
    }
  }
  connect(window, &DocumentWindow::changedFlipped, this,
          [this] { m_sessionEnd->setAnyDocumentChanged(anyDocumentChanged()); });
  // A minimised window comes to the front.
  connect(sub, &QMdiSubWindow::windowStateChanged, sub, [sub](Qt::WindowStates, Qt::WindowStates now) {
    if (now & Qt::WindowMinimized) sub->raise();
  });
}

void MainFrame::showDocumentWindow(DocumentWindow *window) {
  QMdiSubWindow *sub = window->subWindow();
  sub->show();
  m_mdi->setActiveSubWindow(sub);
  window->Text1()->setFocus();
  showMenusOf(&window->menus());
}

void MainFrame::documentClosed(DocumentWindow &window) {
  m_documents.state(window.number()).Closed = true;
  m_sessionEnd->setAnyDocumentChanged(anyDocumentChanged());
  if (m_menusShown == &window.menus()) m_menusShown = nullptr;
  if (!m_documents.AnyDocumentOpen()) {
    hideDocumentButtons();
    m_documents.NoDocumentsOpen = true;
    showMenusOf(m_menus.get());
  }
}

void MainFrame::showDocumentButtons() { m_toolbar->setDocumentButtonsVisible(true); }

void MainFrame::showFlagOf(int language) {
  // The flag shown first, so the panels never stand empty.
  m_panels->setFlagVisible(language, true);
  for (int other = English; other < LanguageCount; ++other)
    if (other != language) m_panels->setFlagVisible(other, false);
}
void MainFrame::hideDocumentButtons() { m_toolbar->setDocumentButtonsVisible(false); }

void MainFrame::showMenusOf(MenuTrees *trees, bool force) {
  if (!trees || (m_menusShown == trees && !force)) return;
  QMenuBar *bar = menuBar();
  bar->setUpdatesEnabled(false);
  bar->clear();
  bar->addActions(trees->menuBarActions());
  bar->setUpdatesEnabled(true);
  if (m_menusShown && m_menusShown != trees) m_menusShown->releaseMenus();
  m_menusShown = trees;
  m_toolbar->setLanguage(trees->shownLanguage());
}

void MainFrame::onSubWindowActivated(QMdiSubWindow *sub) {
  if (m_tearingDown) return;
  if (!sub) sub = m_mdi->currentSubWindow();
  auto *window = sub ? qobject_cast<DocumentWindow *>(sub->widget()) : nullptr;
  if (window && !m_documents.state(window->number()).Closed) showMenusOf(&window->menus());
}

void MainFrame::toolbarToggle(MenuTrees &trees, bool isFrame, bool fromEnglishItem) {
  QAction *check = trees.action(English, "mnuOToolbar");
  if (!fromEnglishItem) check->setChecked(!check->isChecked());
  if (!isFrame) m_menus->action(English, "mnuOToolbar")->setChecked(check->isChecked());
  m_toolbar->setVisible(check->isChecked());
}

void MainFrame::refreshToolbarCheck(MenuTrees &trees) {
  trees.action(English, "mnuOToolbar")->setChecked(m_toolbar->isVisible());
}

void MainFrame::switchLanguage(MenuTrees &trees, int tree, int chosen) {
  const LanguageSwitch change = SwitchLanguage(trees, tree, chosen);
  m_panels->setFlagVisible(change.hiddenFlag, false);
  if (change.shownLanguage) {
    CurrentLanguage = *change.shownLanguage;
    m_panels->setFlagVisible(CurrentLanguage, true);
  }
  // The menu bar is filled anew in one repaint.
  if (m_menusShown == &trees) showMenusOf(&trees, true);
}

void MainFrame::openRecentEntry(MenuTrees &trees, int index) {
  for (QAction *entry : trees.items(English, Command::RecentFile))
    if (entry->data().toInt() == index) LoadDocumentFile(*this, entry->text());
}

void MainFrame::runFrameCommand(MenuTrees &trees, Command command, int index, int language) {
  const bool fromFrame = &trees == m_menus.get();
  switch (command) {
    case Command::New: NewDocument(*this); break;
    case Command::Open: OpenDocumentCommand(*this); break;
    // The frame's Exit ends the program at once; a document's asks about every document first.
    case Command::Exit: fromFrame ? endProgram() : void(close()); break;
    case Command::Toolbar: toolbarToggle(trees, fromFrame, language == English); break;
    case Command::Language: switchLanguage(trees, language, index); break;
    case Command::RecentFile: openRecentEntry(trees, index); break;
    case Command::Cascade: Arrange(*m_mdi, ArrangeCode::Cascade); break;
    case Command::Tile: Arrange(*m_mdi, ArrangeCode::TileHorizontal); break;
    case Command::ArrangeIcons: Arrange(*m_mdi, ArrangeCode::ArrangeIcons); break;
    default: break;
  }
}

void MainFrame::runToolbarCommand(Command command) {
  DocumentWindow *active = activeDocument();
  switch (command) {
    // The toolbar's Save and Find are not the menus': Save always asks for a
    // name, Find only shows the dialog in the current language.
    case Command::Save: ToolbarSaveCommand(*this, active); break;
    case Command::Find: ToolbarFindCommand(*this); break;
    case Command::New:
    case Command::Open: runFrameCommand(*m_menus, command, -1, CurrentLanguage); break;
    default:
      if (active) active->runCommand(command, -1, CurrentLanguage);
      break;
  }
}

FindDialog *MainFrame::findDialog(bool create) {
  if (m_findDialog && m_findDialog->isClosing()) m_findDialog.clear();
  if (!m_findDialog && create) m_findDialog = new FindDialog(*this);
  return m_findDialog;
}

void MainFrame::raiseFindDialog() {
  if (m_findDialog && m_findDialog->isVisible()) m_findDialog->raise();
}

void MainFrame::endProgram() {
  const QString error = m_printer->finish();
  if (!error.isEmpty())
    MsgBox(this, QStringLiteral("The printed text could not be handed to the printer. ") + error, msg::Exclamation);
  m_terminate();
}

bool MainFrame::anyDocumentChanged() const {
  for (DocumentWindow *window : documentWindows())
    if (!m_documents.state(window->number()).Closed && window->changed()) return true;
  return false;
}

bool MainFrame::askToSaveEveryDocument() {
  for (DocumentWindow *window : documentWindows())
    if (!QueryClose(*window)) return false;
  return true;
}

void MainFrame::closeEvent(QCloseEvent *event) {
  // Every document is asked first, unless the session's end asked already;
  // one refusal keeps everything open.
  if (!m_sessionEnd->answered() && !askToSaveEveryDocument()) {
    event->ignore();
    return;
  }
  const QList<DocumentWindow *> windows = documentWindows();
  for (DocumentWindow *window : windows) {
    window->approveClose();
    window->closeDocument();
  }
  if (m_documents.AnyDocumentOpen()) {
    event->ignore();
    return;
  }
  event->accept();
  endProgram();
}

}  // namespace quillora
