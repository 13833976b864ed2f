// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainFrame.h"

#include "app/SessionEnd.h"
#include "app/StatusPanels.h"
#include "app/Toolbar.h"
#include "app/WindowCommands.h"
#include "common/Prompts.h"
#include "common/Twips.h"
#include "documents/DocumentWindow.h"
#include "documents/Documents.h"
#include "documents/FileCommands.h"
#include "documents/Printing.h"
#include "documents/RescueFolder.h"
#include "editing/EditControl.h"
#include "editing/Finder.h"
#include "resources/Pictures.h"
#include "settings/RecentFiles.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProcess>
#include <QTimer>
#include <QVBoxLayout>

namespace quillora {

MainFrame::MainFrame(const QByteArray &sessionManager)
    : m_mdi(new QMdiArea(this)),
      m_panels(new StatusPanels(this)),
      m_toolbar(new Toolbar(this)),
      m_finder(new Finder(*this)),
      m_documents(new Documents(*this, *m_finder, m_mdi)),
      m_languages(new Languages(this)),
      m_menus(new MenuTrees(this, FrameTrees())),
      m_sessionEnd(new SessionEnd(*this, *m_documents, sessionManager)) {
  setObjectName(QStringLiteral("frmMDI"));
  setWindowTitle(QString::fromLatin1(AppTitle));
  setWindowIcon(IconPicture(QStringLiteral("icons/quillora")));
  m_finder->setParent(this);

  auto *central = new QWidget(this);
  auto *layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(m_toolbar);
  layout->addWidget(m_mdi, 1);
  setCentralWidget(central);
  setStatusBar(m_panels);
  m_mdi->setObjectName(QStringLiteral("mdiArea"));

  connect(m_menus, &MenuTrees::triggered, this,
          [this](Command command, int index, int language) { runFrameCommand(*m_menus, command, index, language); });
  connect(m_menus, &MenuTrees::optionsShown, this, [this] { refreshToolbarCheck(*m_menus); });
  showMenusOf(m_menus);

  // What happens to the documents.
  connect(m_documents, &Documents::windowShown, this,
          [this](DocumentWindow *window) { showMenusOf(&window->menus()); });
  connect(m_documents, &Documents::windowCreated, this, &MainFrame::connectWindow);
  connect(m_documents, &Documents::windowClosed, this, [this](DocumentWindow *window) {
    if (m_menusShown == &window->menus()) m_menusShown = nullptr;
  });
  connect(m_documents, &Documents::anyOpenChanged, this, &MainFrame::onAnyOpenChanged);
  connect(m_documents, &Documents::anyChangedChanged, m_sessionEnd, &SessionEnd::setAnyDocumentChanged);
  connect(m_mdi, &QMdiArea::subWindowActivated, this, &MainFrame::onSubWindowActivated);
  connect(m_toolbar, &Toolbar::commandClicked, this, [this](Command command, bool onDocument) {
    const int language = m_languages->CurrentLanguage;
    if (!onDocument)
      runFrameCommand(*m_menus, command, -1, language);
    else if (DocumentWindow *active = activeDocument())
      active->runCommand(command, -1, language);
  });

  // The client area at first show, in twips.
  resize(TwipsX(this, 10125), TwipsY(this, 6870) + menuBar()->sizeHint().height() + m_panels->sizeHint().height());
  move(TwipsX(this, 1770), TwipsY(this, 3165));
}

MainFrame::~MainFrame() {
  m_tearingDown = true;
  // A mail launcher still running is ended without reporting to a frame that is going.
  for (QProcess *mail : findChildren<QProcess *>()) mail->disconnect();
  // Document windows go before the search, the tables and the menus they refer to.
  const auto subs = m_mdi->subWindowList();
  for (QMdiSubWindow *sub : subs) delete sub;
  delete m_finder;
}

void MainFrame::startUp() {
  show();
  QDir::setCurrent(QCoreApplication::applicationDirPath());
  m_documents->initialise();
  DocumentWindow *first = m_documents->create(1, QString::fromLatin1(text::Untitled));
  m_documents->state(1).Changed = false;
  m_documents->show(first);
  m_finder->state().FindDirection = 1;
  // Texts kept at the end of an earlier session without questions are
  // told of once, after the window is up.
  QTimer::singleShot(0, this, &MainFrame::tellOfRescuedTexts);
}

void MainFrame::tellOfRescuedTexts() {
  std::optional<RescueFolder> rescue = RescueFolder::existing();
  const int untold = rescue ? rescue->takeUntold() : 0;
  if (untold == 0) return;
  MsgBox(this, QStringLiteral("%1 of your texts %2 kept in the folder %3 when they could not be saved where they "
                              "belong (the session ended without a chance to ask, or a save did not end). The "
                              "file named index there says what each one is.")
                   .arg(QString::number(untold), untold == 1 ? QStringLiteral("was") : QStringLiteral("were"),
                        rescue->path()));
}

EditControl *MainFrame::activeText() const {
  DocumentWindow *window = activeDocument();
  return window ? window->Text1() : nullptr;
}

DocumentWindow *MainFrame::activeDocument() const { return m_documents->active(); }

QList<DocumentWindow *> MainFrame::documentWindows() const { return m_documents->windows(); }

void MainFrame::connectWindow(DocumentWindow *window) {
  connect(window, &DocumentWindow::frameCommand, this, &MainFrame::runFrameCommand);
  connect(window, &DocumentWindow::optionsShown, this, &MainFrame::refreshToolbarCheck);
  connect(window, &DocumentWindow::edited, m_sessionEnd, &SessionEnd::documentEdited);
}

void MainFrame::onAnyOpenChanged(bool anyOpen) {
  m_toolbar->setDocumentButtonsVisible(anyOpen);
  if (!anyOpen) showMenusOf(m_menus);
}

void MainFrame::showFlagOf(int language) {
  // The flag shown first, so the panels never stand empty.
  m_panels->setFlagVisible(language, true);
  for (int other = English; other < LanguageCount; ++other)
    if (other != language) m_panels->setFlagVisible(other, false);
}

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
  if (window && !m_documents->state(window->number()).Closed) showMenusOf(&window->menus());
}

void MainFrame::toolbarToggle(MenuTrees &trees, bool fromEnglishItem) {
  QAction *check = trees.action(English, "mnuOToolbar");
  if (!fromEnglishItem) check->setChecked(!check->isChecked());
  // The frame's own item follows a document window's.
  m_menus->action(English, "mnuOToolbar")->setChecked(check->isChecked());
  m_toolbar->setVisible(check->isChecked());
}

void MainFrame::refreshToolbarCheck(MenuTrees &trees) {
  trees.action(English, "mnuOToolbar")->setChecked(m_toolbar->isVisible());
}

void MainFrame::switchLanguage(MenuTrees &trees, int tree, int chosen) {
  const LanguageSwitch change = m_languages->Switch(trees, tree, chosen);
  m_panels->setFlagVisible(change.hiddenFlag, false);
  if (change.shownLanguage) m_panels->setFlagVisible(*change.shownLanguage, true);
  // The menu bar is filled anew in one repaint.
  if (m_menusShown == &trees) showMenusOf(&trees, true);
}

void MainFrame::runFrameCommand(MenuTrees &trees, Command command, int index, int language) {
  switch (command) {
    case Command::New:
      NewDocument(*m_documents);
      // A new window shows its English tree: the flags go back to English.
      showFlagOf(English);
      break;
    case Command::Open: OpenDocumentCommand(*m_documents); break;
    case Command::EndProgram: endProgram(); break;
    case Command::Exit: close(); break;
    case Command::Toolbar: toolbarToggle(trees, language == English); break;
    case Command::Language: switchLanguage(trees, language, index); break;
    case Command::RecentFile: LoadDocumentFile(*m_documents, RecentEntryCaptions().value(index - 1)); break;
    case Command::Cascade: Arrange(*m_mdi, ArrangeCode::Cascade); break;
    case Command::Tile: Arrange(*m_mdi, ArrangeCode::TileHorizontal); break;
    case Command::ArrangeIcons: Arrange(*m_mdi, ArrangeCode::ArrangeIcons); break;
    case Command::SaveAskingName: SaveAskingNameCommand(*m_documents); break;
    case Command::ShowFindDialog: m_finder->showDialog(language); break;
    default: break;
  }
}

void MainFrame::endProgram() {
  FinishRecentFilesUpdates();
  const QString error = m_documents->printJob().finish();
  if (!error.isEmpty())
    MsgBox(this, QStringLiteral("The printed text could not be handed to the printer. ") + error, msg::Exclamation);
  emit programEnds();
}

void MainFrame::closeEvent(QCloseEvent *event) {
  // Every document is asked first, unless the session's end asked already;
  // one refusal keeps everything open.
  if (!m_sessionEnd->answered() && !AskToSaveEveryDocument(*m_documents)) {
    event->ignore();
    return;
  }
  for (DocumentWindow *window : documentWindows()) {
    window->approveClose();
    window->closeDocument();
  }
  if (m_documents->AnyDocumentOpen()) {
    event->ignore();
    return;
  }
  event->accept();
  endProgram();
}

}  // namespace quillora
