#pragma once
// The end of the desktop session, which users meet far more often than
// Exit: at logout the session manager asks the program to keep what it
// should, and the save question is asked then, for every changed document
// in the order Exit asks it, while the manager waits. Cancel cancels the
// logout; once every question is answered, the program ends when the
// manager says so without asking again. While any document is changed the
// desktop is asked to hold off logging out (LogoutInhibitor).

#include <QObject>

class QSessionManager;

namespace quillora {

class LogoutInhibitor;
class MainFrame;

class SessionEnd : public QObject {
  Q_OBJECT
 public:
  explicit SessionEnd(MainFrame &frame);

  // The session's end was answered for every document: closing the frame
  // at the manager's word asks nothing more. Any key or click after that
  // (the logout was cancelled elsewhere) takes it back.
  bool answered() const { return m_answered; }
  // Holds off logging out while a document is changed.
  void setAnyDocumentChanged(bool changed);

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  void commitData(QSessionManager &manager);
  static void neverRestart(QSessionManager &manager);
  // Where the manager allows no questions: every changed document's text,
  // in a rescue copy. False when one could not be written.
  bool rescueChangedDocuments();
  void setAnswered(bool answered);

  MainFrame &m_frame;
  LogoutInhibitor *m_inhibitor;
  bool m_answered = false;
};

}  // namespace quillora
