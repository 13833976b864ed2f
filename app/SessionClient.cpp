// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SessionClient.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>
#include <pwd.h>
#include <unistd.h>
#include <cstdlib>
#include <string>
#include <vector>

namespace quillora {

namespace {

SmcConn connectionOf(void *connection) { return static_cast<SmcConn>(connection); }
SessionClient *clientOf(SmPointer data) { return static_cast<SessionClient *>(data); }

void onSaveYourself(SmcConn, SmPointer data, int, Bool shutdown, int interactStyle, Bool) {
  clientOf(data)->handleSaveYourself(shutdown, interactStyle);
}
void onDie(SmcConn, SmPointer data) { clientOf(data)->handleDie(); }
void onSaveComplete(SmcConn, SmPointer) {}
void onShutdownCancelled(SmcConn, SmPointer data) { clientOf(data)->handleShutdownCancelled(); }
void onInteract(SmcConn, SmPointer data) { clientOf(data)->handleInteract(); }

// A property of one or more strings.
struct Property {
  std::string name;
  std::string type;
  std::vector<std::string> values;
};

}  // namespace

SessionClient::SessionClient(QObject *parent, const QByteArray &address) : QObject(parent) {
  if (address.isEmpty()) return;
  SmcCallbacks callbacks{};
  callbacks.save_yourself.callback = onSaveYourself;
  callbacks.save_yourself.client_data = this;
  callbacks.die.callback = onDie;
  callbacks.die.client_data = this;
  callbacks.save_complete.callback = onSaveComplete;
  callbacks.save_complete.client_data = this;
  callbacks.shutdown_cancelled.callback = onShutdownCancelled;
  callbacks.shutdown_cancelled.client_data = this;
  const unsigned long mask =
      SmcSaveYourselfProcMask | SmcDieProcMask | SmcSaveCompleteProcMask | SmcShutdownCancelledProcMask;
  // A manager that goes away must not take the program with it (ICE's own
  // handler would end the process).
  IceSetIOErrorHandler([](IceConn) {});
  QByteArray ids = address;
  char *clientId = nullptr;
  char error[256] = "";
  SmcConn connection = SmcOpenConnection(ids.data(), this, SmProtoMajor, SmProtoMinor, mask, &callbacks, nullptr,
                                         &clientId, sizeof error, error);
  std::free(clientId);
  if (!connection) return;
  m_connection = connection;
  m_notifier = new QSocketNotifier(IceConnectionNumber(SmcGetIceConnection(connection)), QSocketNotifier::Read, this);
  connect(m_notifier, &QSocketNotifier::activated, this, &SessionClient::process);
  setProperties();
}

QByteArray SessionClient::takeAddress() {
  QByteArray address = qgetenv("SESSION_MANAGER");
  qunsetenv("SESSION_MANAGER");
  return address;
}

void SessionClient::giveBackAddress(const QByteArray &address) {
  if (!address.isEmpty()) qputenv("SESSION_MANAGER", address);
}

SessionClient::~SessionClient() {
  if (m_connection) SmcCloseConnection(connectionOf(m_connection), 0, nullptr);
}

void SessionClient::process() {
  IceConn ice = SmcGetIceConnection(connectionOf(m_connection));
  if (IceProcessMessages(ice, nullptr, nullptr) == IceProcessMessagesIOError) {
    // The manager is gone: the program goes on outside any session.
    m_notifier->setEnabled(false);
    SmcCloseConnection(connectionOf(m_connection), 0, nullptr);
    m_connection = nullptr;
  }
}

void SessionClient::setProperties() {
  const QByteArray program = QCoreApplication::applicationFilePath().toLocal8Bit();
  const passwd *user = ::getpwuid(::geteuid());
  const std::string userName = user && user->pw_name ? user->pw_name : std::to_string(::geteuid());
  // The program reads no command line, so there is nothing to restart it
  // with: the manager is told never to.
  const char never = SmRestartNever;
  std::vector<Property> properties = {
      {SmProgram, SmARRAY8, {program.toStdString()}},
      {SmUserID, SmARRAY8, {userName}},
      {SmRestartCommand, SmLISTofARRAY8, {program.toStdString()}},
      {SmCloneCommand, SmLISTofARRAY8, {program.toStdString()}},
      {SmProcessID, SmARRAY8, {std::to_string(::getpid())}},
      {SmRestartStyleHint, SmCARD8, {std::string(1, never)}},
  };
  std::vector<SmProp> props(properties.size());
  std::vector<std::vector<SmPropValue>> values(properties.size());
  std::vector<SmProp *> list;
  for (std::size_t i = 0; i < properties.size(); ++i) {
    for (std::string &value : properties[i].values) values[i].push_back({int(value.size()), value.data()});
    props[i] = {properties[i].name.data(), properties[i].type.data(), int(values[i].size()), values[i].data()};
    list.push_back(&props[i]);
  }
  SmcSetProperties(connectionOf(m_connection), int(list.size()), list.data());
}

void SessionClient::handleSaveYourself(bool shutdown, int interactStyle) {
  emit saveYourself(shutdown, interactStyle == SmInteractStyleAny);
}

void SessionClient::handleInteract() { emit interactionGranted(); }
void SessionClient::handleDie() { emit die(); }
void SessionClient::handleShutdownCancelled() { emit shutdownCancelled(); }

void SessionClient::requestInteraction() {
  if (m_connection) SmcInteractRequest(connectionOf(m_connection), SmDialogNormal, onInteract, this);
}

void SessionClient::interactionDone(bool cancelShutdown) {
  if (m_connection) SmcInteractDone(connectionOf(m_connection), cancelShutdown);
}

void SessionClient::saveDone(bool success) {
  if (m_connection) SmcSaveYourselfDone(connectionOf(m_connection), success);
}

}  // namespace quillora
