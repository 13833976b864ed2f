// SPDX-License-Identifier: GPL-3.0-or-later
#include "documents/Documents.h"

#include "documents/DiskWatch.h"
#include "documents/DocumentWindow.h"
#include "documents/FileDialog.h"
#include "documents/Printing.h"
#include "editing/EditControl.h"
#include "editing/EditHost.h"

#include <QGuiApplication>
#include <QHash>
#include <QIcon>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QStyle>

namespace quillora {

Documents::Documents(EditHost &host, Finder &finder, QMdiArea *area)
    : QObject(area),
      m_host(host),
      m_finder(finder),
      m_area(area),
      m_fileDialog(new FileDialog(host.hostWindow())),
      m_printJob(std::make_unique<PrintJob>()),
      m_diskWatch(new DiskWatch(*this)) {
  // A window that becomes active, or the program coming back to the front,
  // looks at its file again: a watch may miss a change on a network file system.
  connect(area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow *sub) {
    if (auto *window = sub ? qobject_cast<DocumentWindow *>(sub->widget()) : nullptr)
      if (!state(window->number()).Closed) m_diskWatch->check(*window);
  });
  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState now) {
    if (DocumentWindow *window = active(); window && now == Qt::ApplicationActive) m_diskWatch->check(*window);
  });
}

Documents::~Documents() = default;

void Documents::initialise() { DocumentStates.assign(2, DocumentState{}); }

int Documents::AcquireDocumentSlot() {
  const int n = upperBound();
  for (int i = 1; i <= n; ++i) {
    if (state(i).Closed) {
      state(i).Closed = false;
      return i;
    }
  }
  DocumentStates.emplace_back();
  return n + 1;
}

bool Documents::AnyDocumentOpen() const {
  for (int i = 1; i <= upperBound(); ++i)
    if (!state(i).Closed) return true;
  return false;
}

DocumentWindow *Documents::window(int number) const {
  for (DocumentWindow *window : windows())
    if (window->number() == number && !state(number).Closed) return window;
  return nullptr;
}

QList<DocumentWindow *> Documents::windows() const {
  QList<DocumentWindow *> windows;
  for (QMdiSubWindow *sub : m_area->subWindowList(QMdiArea::CreationOrder))
    if (auto *window = qobject_cast<DocumentWindow *>(sub->widget())) windows.append(window);
  return windows;
}

DocumentWindow *Documents::active() const {
  QMdiSubWindow *sub = m_area->currentSubWindow();
  return sub ? qobject_cast<DocumentWindow *>(sub->widget()) : nullptr;
}

bool Documents::anyChanged() const {
  for (DocumentWindow *window : windows())
    if (!state(window->number()).Closed && window->changed()) return true;
  return false;
}

DocumentWindow *Documents::create(int number, const QString &caption) {
  auto *window = new DocumentWindow(*this, number);
  window->setCaption(caption);
  connect(window, &DocumentWindow::changedFlipped, this, [this] { emit anyChangedChanged(anyChanged()); });
  QMdiSubWindow *sub = m_area->addSubWindow(window);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  // A new window takes three quarters of the frame's client area, one
  // title-bar step below and right of the window before it.
  const QSize area = m_area->viewport()->size();
  if (area.width() > 200 && area.height() > 150) {
    const QSize size = area * 3 / 4;
    sub->resize(size);
    const int step = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
    const int k = int(m_area->subWindowList().size()) - 1;
    const int room = qMax(1, qMin(area.width() - size.width(), area.height() - size.height()) / step + 1);
    sub->move(QPoint(step, step) * (k % room));
  }
  sub->setWindowIcon(window->windowIcon());
  // The system menu's own keys (Ctrl+W, Ctrl+F4 …) would make our shortcuts
  // ambiguous. Its pictures, made anew for every window, are those of the
  // first window, shared.
  static QHash<QString, QIcon> systemMenuIcons;  // by the item's caption
  if (QMenu *system = sub->systemMenu()) {
    for (QAction *action : system->actions()) {
      action->setShortcut(QKeySequence());
      if (action->icon().isNull()) continue;
      auto shared = systemMenuIcons.constFind(action->text());
      if (shared == systemMenuIcons.constEnd())
        systemMenuIcons.insert(action->text(), action->icon());
      else
        action->setIcon(*shared);
    }
  }
  // A minimised window comes to the front.
  connect(sub, &QMdiSubWindow::windowStateChanged, sub, [sub](Qt::WindowStates, Qt::WindowStates now) {
    if (now & Qt::WindowMinimized) sub->raise();
  });
  emit windowCreated(window);
  return window;
}

void Documents::show(DocumentWindow *window) {
  QMdiSubWindow *sub = window->subWindow();
  sub->show();
  m_area->setActiveSubWindow(sub);
  window->Text1()->setFocus();
  emit windowShown(window);
  if (!m_anyOpen) {
    m_anyOpen = true;
    emit anyOpenChanged(true);
  }
}

void Documents::openAttempted() {
  if (NoDocumentsOpen && AnyDocumentOpen()) NoDocumentsOpen = false;
}

void Documents::closed(DocumentWindow &window) {
  state(window.number()).Closed = true;
  const bool last = !AnyDocumentOpen();
  if (last) NoDocumentsOpen = true;
  m_diskWatch->follow();
  emit windowClosed(&window);
  if (last && m_anyOpen) {
    m_anyOpen = false;
    emit anyOpenChanged(false);
  }
  emit anyChangedChanged(anyChanged());
}

void NewDocument(Documents &documents) {
  const int i = documents.AcquireDocumentSlot();
  DocumentWindow *window = documents.create(i, QString::fromLatin1(text::UntitledPrefix) + QString::number(i));
  window->setChanged(false);
  documents.show(window);
}

}  // namespace quillora
