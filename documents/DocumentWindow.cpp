#include "documents/DocumentWindow.h"

#include "app/MainFrame.h"
#include "app/StatusPanels.h"
#include "app/WindowCommands.h"
#include "documents/FileCommands.h"
#include "documents/Mail.h"
#include "documents/Printing.h"
#include "editing/EditCommands.h"
#include "editing/EditControl.h"
#include "editing/Search.h"
#include "languages/AboutBox.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QVBoxLayout>

namespace quillora {

DocumentWindow::DocumentWindow(MainFrame &frame, int number)
    : m_frame(frame), m_number(number), m_text(new EditControl(this)) {
  setObjectName(QStringLiteral("frmNotePad"));
  setProperty("tag", QString::number(number));
  setWindowTitle(QString::fromLatin1(text::Untitled));
  setWindowIcon(frame.documentIcon());
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPointSizeF(8.25);
  font.setBold(true);
  setFont(font);

  // The edit control always fills the window's client area.
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_text);
  // A screen reader names the text by its document.
  m_text->setAccessibleName(windowTitle());
  connect(this, &QWidget::windowTitleChanged, m_text, &QWidget::setAccessibleName);

  MenuTrees::Hooks hooks;
  hooks.optionsShown = [this] { m_frame.refreshToolbarCheck(*m_menus); };
  hooks.windowListShown = [this](QMenu *menu) { fillWindowList(menu); };
  hooks.fontFamilies = [&frame]() -> const QStringList & { return frame.fontFamilies(); };
  m_menus = std::make_unique<MenuTrees>(
      this, DocumentTrees(), [this](Command c, int index, int language) { runCommand(c, index, language); },
      std::move(hooks));
  m_text->setMenuKeyFilter([this](const QKeySequence &key) { return m_menus->shownTreeOwnsKey(key); });

  connect(m_text, &QPlainTextEdit::textChanged, this, [this] { setChanged(true); });
  connect(m_text, &EditControl::focusGained, this, [this] { m_frame.raiseFindDialog(); });
}

DocumentWindow::~DocumentWindow() = default;

QMdiSubWindow *DocumentWindow::subWindow() const { return qobject_cast<QMdiSubWindow *>(parentWidget()); }

bool DocumentWindow::isUntitled() const { return caption().left(8) == QLatin1String(text::Untitled); }

bool DocumentWindow::changed() const { return m_frame.documents().state(m_number).Changed; }

void DocumentWindow::setChanged(bool changed) {
  m_frame.documents().state(m_number).Changed = changed;
  setWindowModified(changed);
}

bool DocumentWindow::closeDocument() {
  QMdiSubWindow *sub = subWindow();
  return sub ? sub->close() : close();
}

void DocumentWindow::closeEvent(QCloseEvent *event) {
  if (!m_closeApproved && !QueryClose(*this)) {
    event->ignore();
    return;
  }
  event->accept();
  m_frame.documentClosed(*this);
}

void DocumentWindow::fillWindowList(QMenu *menu) {
  for (QAction *action : menu->actions())
    if (action->property("windowList").toBool()) delete action;
  const QList<QMdiSubWindow *> windows = m_frame.mdiArea()->subWindowList(QMdiArea::CreationOrder);
  if (windows.isEmpty()) return;
  QAction *separator = menu->addSeparator();
  separator->setProperty("windowList", true);
  QMdiSubWindow *current = m_frame.mdiArea()->currentSubWindow();
  int n = 0;
  for (QMdiSubWindow *sub : windows) {
    QAction *entry = menu->addAction(QStringLiteral("&%1 %2").arg(++n).arg(sub->widget()->windowTitle()));
    entry->setProperty("windowList", true);
    entry->setCheckable(true);
    entry->setChecked(sub == current);
    QPointer<QMdiSubWindow> target(sub);
    connect(entry, &QAction::triggered, this, [this, target] {
      if (target) m_frame.mdiArea()->setActiveSubWindow(target);
    });
  }
}

void DocumentWindow::onSizeItem(int language, int index) {
  // Only this tree's marks change; the other trees keep theirs.
  const QList<QAction *> &sizes = m_menus->items(language, Command::FontSize);
  for (QAction *item : sizes) item->setChecked(false);
  QFont font = m_text->font();
  font.setPointSize(FontSizes.at(std::size_t(index)));
  m_text->setFont(font);
  sizes.at(index)->setChecked(true);
}

void DocumentWindow::runCommand(Command command, int index, int language) {
  switch (command) {
    case Command::New: NewDocument(m_frame); break;
    case Command::Open: OpenDocumentCommand(m_frame); break;
    case Command::Close: closeDocument(); break;
    case Command::Save: SaveCommand(*this); break;
    case Command::SaveAs: SaveAsCommand(*this); break;
    case Command::Print: PrintCommand(*this); break;
    case Command::SendMail: SendMailCommand(*this, language); break;
    case Command::Exit: m_frame.close(); break;
    case Command::Cut: CutSelection(m_frame); break;
    case Command::Copy: CopySelection(m_frame); break;
    case Command::Paste: PasteClipboard(m_frame); break;
    case Command::Delete: DeleteCommand(m_frame); break;
    case Command::SelectAll: SelectAllCommand(m_frame); break;
    case Command::TimeDate: TimeDateCommand(*this); break;
    case Command::Find: FindCommand(m_frame, *this, language); break;
    case Command::FindNext: FindNextCommand(m_frame, *this); break;
    case Command::Toolbar: m_frame.toolbarToggle(*m_menus, false, language == English); break;
    case Command::Language: m_frame.switchLanguage(*m_menus, language, index); break;
    case Command::FontName: FontNameCommand(*this, index); break;
    case Command::FontSize: onSizeItem(language, index); break;
    case Command::Cascade: Arrange(*m_frame.mdiArea(), ArrangeCode::Cascade); break;
    case Command::Tile: Arrange(*m_frame.mdiArea(), ArrangeCode::TileHorizontal); break;
    case Command::ArrangeIcons: Arrange(*m_frame.mdiArea(), ArrangeCode::ArrangeIcons); break;
    case Command::About: ShowAboutBox(this, language); break;
    case Command::RecentFile: m_frame.openRecentEntry(*m_menus, index); break;
    case Command::None: break;
  }
}

DocumentWindow *CreateDocumentWindow(MainFrame &frame, int number, const QString &caption) {
  auto *window = new DocumentWindow(frame, number);
  window->setCaption(caption);
  frame.documents().DocumentWindows.at(std::size_t(number)) = window;
  frame.addDocumentWindow(window);
  return window;
}

void NewDocument(MainFrame &frame) {
  const int i = frame.documents().AcquireDocumentSlot();
  DocumentWindow *window =
      CreateDocumentWindow(frame, i, QString::fromLatin1(text::UntitledPrefix) + QString::number(i));
  window->setChanged(false);
  frame.showDocumentWindow(window);
  frame.showDocumentButtons();
  // A new window shows its English tree: the flags go back to English.
  StatusPanels &panels = frame.statusPanels();
  panels.setFlagVisible(English, true);
  for (int language = French; language < LanguageCount; ++language) panels.setFlagVisible(language, false);
}

}  // namespace quillora
