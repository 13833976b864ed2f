// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The end of the desktop session, which users meet far more often than
// Exit. Only the manager's Die ends the program without the save question:
// - a checkpoint (a save that is no shutdown) writes nothing, asks nothing
//   and changes nothing;
// - a shutdown that allows questions asks the save question for every
//   changed document, in the order Exit asks it, while the manager waits;
//   Cancel cancels the shutdown;
// - a shutdown that allows none keeps every changed text in a copy of its
//   own in the rescue folder, and reports success only when all are kept;
// - a shutdown cancelled (by the user of another program), or any change to
//   a document after the answers, puts everything back: any later close
//   asks again.
// While any document is changed the desktop is asked to hold off logging
// out (LogoutInhibitor).

#include <QObject>

class QWidget;

namespace quillora {

class LogoutInhibitor;
class Documents;
class SessionClient;

class SessionEnd : public QObject {
  Q_OBJECT
 public:
  // `address`: the session manager's, as SESSION_MANAGER gave it at start.
  // `frame` holds the documents; it is closed at the manager's word.
  SessionEnd(QWidget &frame, Documents &documents, const QByteArray &address);

  // The session's end was answered for every document: closing the frame
  // at the manager's word asks nothing more.
  bool answered() const { return m_answered; }
  // Holds off logging out while a document is changed.
  void setAnyDocumentChanged(bool changed);
  // A document's text changed: an answer given before no longer holds.
  void documentEdited() { m_answered = false; }

 private:
  void saveYourself(bool shutdown, bool questionsAllowed);
  void ask();
  void shutdownCancelled();
  // Every changed document's text, in a rescue copy. False when one could not be written.
  bool rescueChangedDocuments();

  QWidget &m_frame;
  Documents &m_documents;
  LogoutInhibitor *m_inhibitor;
  SessionClient *m_client;
  enum class Step { Idle, WaitingToAsk, Asking };
  Step m_step = Step::Idle;
  bool m_cancelled = false;  // the shutdown was cancelled while the questions were open
  bool m_answered = false;
};

}  // namespace quillora
