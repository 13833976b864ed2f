#include "app/SessionEnd.h"

#include "app/LogoutInhibitor.h"
#include "app/MainFrame.h"
#include "documents/DocumentWindow.h"
#include "documents/RescueFolder.h"
#include "documents/TextCodec.h"
#include "editing/EditControl.h"

#include <QEvent>
#include <QGuiApplication>
#include <QSessionManager>

namespace quillora {

SessionEnd::SessionEnd(MainFrame &frame)
    : QObject(&frame), m_frame(frame), m_inhibitor(new LogoutInhibitor(this, &frame)) {
  // Answered before the handler returns: the manager waits for it.
  connect(qApp, &QGuiApplication::commitDataRequest, this, &SessionEnd::commitData, Qt::DirectConnection);
  connect(qApp, &QGuiApplication::saveStateRequest, this, &SessionEnd::neverRestart, Qt::DirectConnection);
}

void SessionEnd::neverRestart(QSessionManager &manager) {
  // The program reads no command line, so there is nothing to restart it
  // with. Told at every save, the global one at logout included, which
  // asks for no state.
  manager.setRestartHint(QSessionManager::RestartNever);
}

void SessionEnd::setAnyDocumentChanged(bool changed) { m_inhibitor->setHeld(changed); }

void SessionEnd::commitData(QSessionManager &manager) {
  neverRestart(manager);
  if (!m_frame.anyDocumentChanged()) return;  // nothing to ask: answered at once
  if (!manager.allowsInteraction()) {
    // No question may be asked (a fast shutdown): the texts go to rescue
    // copies, and where one cannot be written the manager hears that not
    // everything was kept.
    if (rescueChangedDocuments())
      setAnswered(true);
    else
      manager.cancel();
    return;
  }
  if (m_frame.askToSaveEveryDocument()) {
    setAnswered(true);
    manager.release();
  } else {
    manager.cancel();  // the logout is cancelled; every window stays as it was
  }
}

bool SessionEnd::rescueChangedDocuments() {
  // Each text is a new file of its own: no rescue ever replaces another's.
  std::optional<RescueFolder> rescue = RescueFolder::open();
  bool kept = true;
  for (DocumentWindow *window : m_frame.documentWindows()) {
    if (!window->changed()) continue;
    TextFormat format = window->format();
    const QByteArray bytes = EncodeText(window->Text1()->text(), format);
    kept = rescue && rescue->keep(bytes, window->caption(), window->path()) && kept;
  }
  return kept;
}

void SessionEnd::setAnswered(bool answered) {
  m_answered = answered;
  if (answered)
    qApp->installEventFilter(this);
  else
    qApp->removeEventFilter(this);
}

bool SessionEnd::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress) setAnswered(false);
  return QObject::eventFilter(watched, event);
}

}  // namespace quillora
