// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/DocumentWindow.h"

#include "common/Fonts.h"
#include "documents/Documents.h"
#include "documents/FileCommands.h"
#include "documents/Mail.h"
#include "documents/Printing.h"
#include "editing/EditCommands.h"
#include "editing/EditControl.h"
#include "editing/EditHost.h"
#include "editing/Finder.h"
#include "languages/AboutBox.h"
#include "languages/MenuTrees.h"
#include "resources/Pictures.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QVBoxLayout>

namespace quillora {

DocumentWindow::DocumentWindow(Documents &documents, int number)
    : m_documents(documents),
      m_number(number),
      m_text(new EditControl(this)),
      m_menus(new MenuTrees(this, DocumentTrees())) {
  setObjectName(QStringLiteral("frmNotePad"));
  setProperty("tag", QString::number(number));
  setWindowTitle(QString::fromLatin1(text::Untitled));
  setWindowIcon(DocumentIcon());
  setFont(DesignFont());

  // The edit control always fills the window's client area.
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_text);
  // A screen reader names the text by its document.
  m_text->setAccessibleName(windowTitle());
  connect(this, &QWidget::windowTitleChanged, m_text, &QWidget::setAccessibleName);

  connect(m_menus, &MenuTrees::triggered, this, &DocumentWindow::runCommand);
  connect(m_menus, &MenuTrees::optionsShown, this, [this] { emit optionsShown(*m_menus); });
  connect(m_menus, &MenuTrees::windowListShown, this, &DocumentWindow::fillWindowList);
  m_text->setMenuKeys(m_menus);

  connect(m_text, &QPlainTextEdit::textChanged, this, [this] {
    m_changedOnlyByDisk = false;
    setChanged(true);
    emit edited();
  });
  connect(m_text, &EditControl::focusGained, this, [this] { m_documents.finder().raiseDialog(); });
}

DocumentWindow::~DocumentWindow() = default;

EditHost &DocumentWindow::host() const { return m_documents.host(); }

QMdiSubWindow *DocumentWindow::subWindow() const { return qobject_cast<QMdiSubWindow *>(parentWidget()); }

bool DocumentWindow::isUntitled() const { return caption().left(8) == QLatin1String(text::Untitled); }

bool DocumentWindow::changed() const { return m_documents.state(m_number).Changed; }

void DocumentWindow::markChangedByDisk() {
  setChanged(true);
  m_changedOnlyByDisk = true;
}

void DocumentWindow::setChanged(bool changed) {
  if (!changed) m_changedOnlyByDisk = false;
  bool &flag = m_documents.state(m_number).Changed;
  if (flag == changed) return;
  flag = changed;
  emit changedFlipped(changed);
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
  m_documents.closed(*this);
}

void DocumentWindow::fillWindowList(QMenu *menu) {
  for (QAction *action : menu->actions())
    if (action->property("windowList").toBool()) delete action;
  QMdiArea *area = m_documents.mdiArea();
  const QList<QMdiSubWindow *> windows = area->subWindowList(QMdiArea::CreationOrder);
  if (windows.isEmpty()) return;
  QAction *separator = menu->addSeparator();
  separator->setProperty("windowList", true);
  QMdiSubWindow *current = area->currentSubWindow();
  int n = 0;
  for (QMdiSubWindow *sub : windows) {
    QAction *entry = menu->addAction(QStringLiteral("&%1 %2").arg(++n).arg(sub->widget()->windowTitle()));
    entry->setProperty("windowList", true);
    entry->setCheckable(true);
    entry->setChecked(sub == current);
    QPointer<QMdiSubWindow> target(sub);
    connect(entry, &QAction::triggered, this, [area, target] {
      if (target) area->setActiveSubWindow(target);
    });
  }
}

void DocumentWindow::runCommand(Command command, int index, int language) {
  EditControl *active = host().activeText();
  switch (command) {
    case Command::Close: closeDocument(); break;
    case Command::Save: SaveCommand(*this); break;
    case Command::SaveAs: SaveAsCommand(*this); break;
    case Command::Print: PrintCommand(*this); break;
    case Command::SendMail: SendMailCommand(*this, language); break;
    // The Edit items work on the frame's active document, as the toolbar's
    // Cut, Copy and Paste buttons do; every other item works on the window
    // whose menu holds it. The two are one window except while a menu of a
    // window that is not the active one is used.
    case Command::Cut: CutSelection(active); break;
    case Command::Copy: CopySelection(active); break;
    case Command::Paste: PasteClipboard(active); break;
    case Command::Delete: DeleteCommand(active); break;
    case Command::SelectAll: SelectAllCommand(active); break;
    case Command::TimeDate: TimeDateCommand(*m_text); break;
    case Command::Find: m_documents.finder().find(*m_text, language); break;
    case Command::FindNext: m_documents.finder().findNext(*m_text); break;
    case Command::FontName: FontNameCommand(*m_text, index); break;
    case Command::FontSize:
      FontSizeCommand(*m_text, index);
      m_menus->checkOnly(language, Command::FontSize, index);
      break;
    case Command::About: ShowAboutBox(this, language); break;
    case Command::None: break;
    default: emit frameCommand(*m_menus, command, index, language); break;
  }
}

}  // namespace quillora
