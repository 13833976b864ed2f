#include "documents/DocumentWindow.h"

#include "documents/DocumentHost.h"
#include "documents/DocumentTable.h"
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

DocumentWindow::DocumentWindow(DocumentHost &host, int number)
    : m_host(host), m_number(number), m_text(new EditControl(this)) {
  setObjectName(QStringLiteral("frmNotePad"));
  setProperty("tag", QString::number(number));
  setWindowTitle(QString::fromLatin1(text::Untitled));
  setWindowIcon(host.documentIcon());
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
  hooks.optionsShown = [this] { m_host.refreshToolbarCheck(*m_menus); };
  hooks.windowListShown = [this](QMenu *menu) { fillWindowList(menu); };
  hooks.fontFamilies = [&host]() -> const QStringList & { return host.fontFamilies(); };
  m_menus = std::make_unique<MenuTrees>(
      this, DocumentTrees(), [this](Command c, int index, int language) { runCommand(c, index, language); },
      std::move(hooks));
  m_text->setMenuKeyFilter([this](const QKeySequence &key) { return m_menus->shownTreeOwnsKey(key); });

  connect(m_text, &QPlainTextEdit::textChanged, this, [this] { setChanged(true); });
  connect(m_text, &EditControl::focusGained, this, [this] { m_host.raiseFindDialog(); });
}

DocumentWindow::~DocumentWindow() = default;

QMdiSubWindow *DocumentWindow::subWindow() const { return qobject_cast<QMdiSubWindow *>(parentWidget()); }

bool DocumentWindow::isUntitled() const { return caption().left(8) == QLatin1String(text::Untitled); }

bool DocumentWindow::changed() const { return m_host.documents().state(m_number).Changed; }

void DocumentWindow::setChanged(bool changed) {
  bool &flag = m_host.documents().state(m_number).Changed;
  const bool flipped = flag != changed;
  flag = changed;
  setWindowModified(changed);
  if (flipped) emit changedFlipped(changed);
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
  m_host.documentClosed(*this);
}

void DocumentWindow::fillWindowList(QMenu *menu) {
  for (QAction *action : menu->actions())
    if (action->property("windowList").toBool()) delete action;
  const QList<QMdiSubWindow *> windows = m_host.mdiArea()->subWindowList(QMdiArea::CreationOrder);
  if (windows.isEmpty()) return;
  QAction *separator = menu->addSeparator();
  separator->setProperty("windowList", true);
  QMdiSubWindow *current = m_host.mdiArea()->currentSubWindow();
  int n = 0;
  for (QMdiSubWindow *sub : windows) {
    QAction *entry = menu->addAction(QStringLiteral("&%1 %2").arg(++n).arg(sub->widget()->windowTitle()));
    entry->setProperty("windowList", true);
    entry->setCheckable(true);
    entry->setChecked(sub == current);
    QPointer<QMdiSubWindow> target(sub);
    connect(entry, &QAction::triggered, this, [this, target] {
      if (target) m_host.mdiArea()->setActiveSubWindow(target);
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
    case Command::Close: closeDocument(); break;
    case Command::Save: SaveCommand(*this); break;
    case Command::SaveAs: SaveAsCommand(*this); break;
    case Command::Print: PrintCommand(*this); break;
    case Command::SendMail: SendMailCommand(*this, language); break;
    // Cut, Copy, Paste, Delete and Select All act on the active document's text.
    case Command::Cut: CutSelection(m_host.activeText()); break;
    case Command::Copy: CopySelection(m_host.activeText()); break;
    case Command::Paste: PasteClipboard(m_host.activeText()); break;
    case Command::Delete: DeleteCommand(m_host.activeText()); break;
    case Command::SelectAll: SelectAllCommand(m_host.activeText()); break;
    case Command::TimeDate: TimeDateCommand(*m_text); break;
    case Command::Find: FindCommand(m_host, *m_text, language); break;
    case Command::FindNext: FindNextCommand(m_host, *m_text); break;
    case Command::FontName: FontNameCommand(*m_text, m_host.fontFamilies(), index); break;
    case Command::FontSize: onSizeItem(language, index); break;
    case Command::About: ShowAboutBox(this, language); break;
    case Command::None: break;
    default: m_host.runFrameCommand(*m_menus, command, index, language); break;
  }
}

DocumentWindow *CreateDocumentWindow(DocumentHost &host, int number, const QString &caption) {
  auto *window = new DocumentWindow(host, number);
  window->setCaption(caption);
  host.documents().DocumentWindows.at(std::size_t(number)) = window;
  host.addDocumentWindow(window);
  return window;
}

void NewDocument(DocumentHost &host) {
  const int i = host.documents().AcquireDocumentSlot();
  DocumentWindow *window =
      CreateDocumentWindow(host, i, QString::fromLatin1(text::UntitledPrefix) + QString::number(i));
  window->setChanged(false);
  host.showDocumentWindow(window);
  host.showDocumentButtons();
  // A new window shows its English tree: the flags go back to English.
  host.showFlagOf(English);
}

}  // namespace quillora
