// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SessionEnd.h"

#include "app/LogoutInhibitor.h"
#include "app/SessionClient.h"
#include "documents/DocumentWindow.h"
#include "documents/Documents.h"
#include "documents/FileCommands.h"
#include "documents/RescueFolder.h"
#include "documents/TextCodec.h"
#include "editing/EditControl.h"

#include <QTimer>

namespace quillora {

SessionEnd::SessionEnd(QWidget &frame, Documents &documents, const QByteArray &address)
    : QObject(&frame),
      m_frame(frame),
      m_documents(documents),
      m_inhibitor(new LogoutInhibitor(this, &frame)),
      m_client(new SessionClient(this, address)) {
  connect(m_client, &SessionClient::saveYourself, this, &SessionEnd::saveYourself);
  // The questions are asked outside the manager's message, which waits.
  connect(m_client, &SessionClient::interactionGranted, this, [this] {
    if (m_step == Step::WaitingToAsk) QTimer::singleShot(0, this, &SessionEnd::ask);
  });
  connect(m_client, &SessionClient::shutdownCancelled, this, &SessionEnd::shutdownCancelled);
  connect(m_client, &SessionClient::die, this, [this] { QTimer::singleShot(0, &m_frame, &QWidget::close); });
}

void SessionEnd::setAnyDocumentChanged(bool changed) { m_inhibitor->setHeld(changed); }

void SessionEnd::saveYourself(bool shutdown, bool questionsAllowed) {
  // A checkpoint: the session goes on, and so does every document.
  if (!shutdown) {
    m_client->saveDone(true);
    return;
  }
  m_answered = !m_documents.anyChanged();
  if (m_answered) {
    m_client->saveDone(true);
    return;
  }
  if (questionsAllowed) {
    m_step = Step::WaitingToAsk;
    m_cancelled = false;
    m_client->requestInteraction();
    return;
  }
  // No question may be asked: the texts go to rescue copies, and where one
  // cannot be written the manager hears that not everything was kept.
  const bool kept = rescueChangedDocuments();
  m_answered = kept;
  m_client->saveDone(kept);
}

void SessionEnd::ask() {
  m_step = Step::Asking;
  const bool everyAnswered = AskToSaveEveryDocument(m_documents);
  m_step = Step::Idle;
  if (m_cancelled) {
    // Someone else cancelled the shutdown while the questions were open:
    // the answers saved what they saved, and the next close asks again.
    m_client->saveDone(false);
    return;
  }
  m_answered = everyAnswered;
  m_client->interactionDone(!everyAnswered);
  m_client->saveDone(everyAnswered);
}

void SessionEnd::shutdownCancelled() {
  m_answered = false;
  if (m_step == Step::Asking) {
    m_cancelled = true;
    return;
  }
  if (m_step == Step::WaitingToAsk) {
    // Interaction never came: nothing was written, nothing asked.
    m_step = Step::Idle;
    m_client->saveDone(false);
  }
}

bool SessionEnd::rescueChangedDocuments() {
  // Each text is a new file of its own: no rescue ever replaces another's.
  std::optional<RescueFolder> rescue = RescueFolder::open();
  bool kept = true;
  for (DocumentWindow *window : m_documents.windows()) {
    if (!window->changed()) continue;
    TextFormat format = window->format();
    const EditControl &text = *window->Text1();
    const QByteArray bytes = EncodeText(text.text(), text.lineBreak(), format);
    kept = rescue && rescue->keep(bytes, window->caption(), window->path()) && kept;
  }
  return kept;
}

}  // namespace quillora
