// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's membership of the X session: an XSMP client on libSM that
// hands on every message of the session manager as it comes, so that a
// checkpoint, a shutdown that allows no questions and a shutdown cancelled
// by someone else can be told apart (Qt's session manager makes the three
// look alike).

#include <QByteArray>
#include <QObject>

class QSocketNotifier;

namespace quillora {

class SessionClient : public QObject {
  Q_OBJECT
 public:
  // Joins the session at `address` (what SESSION_MANAGER held when the
  // program started); without one, or when the manager does not answer,
  // the client does nothing.
  SessionClient(QObject *parent, const QByteArray &address);
  ~SessionClient() override;
  // The manager's address, taken from the environment before the
  // application starts, so that Qt's own session client stays out, and
  // given back to it for the programs this one starts.
  static QByteArray takeAddress();
  static void giveBackAddress(const QByteArray &address);
  bool connected() const { return m_connection != nullptr; }

  // Asks to talk to the user; interactionGranted follows, or shutdownCancelled.
  void requestInteraction();
  // The questions are answered; `cancelShutdown`: the user chose to stay.
  void interactionDone(bool cancelShutdown);
  void saveDone(bool success);

  // Called by libSM's callbacks.
  void handleSaveYourself(bool shutdown, int interactStyle);
  void handleInteract();
  void handleDie();
  void handleShutdownCancelled();

 signals:
  // `shutdown`: the session ends after this; `questionsAllowed`: the user
  // may be asked (once interaction is granted).
  void saveYourself(bool shutdown, bool questionsAllowed);
  void interactionGranted();
  void die();
  void shutdownCancelled();

 private:
  void setProperties();
  void process();

  void *m_connection = nullptr;  // SmcConn
  QSocketNotifier *m_notifier = nullptr;
};

}  // namespace quillora
