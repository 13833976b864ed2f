// SPDX-License-Identifier: GPL-3.0-or-later
// A small X session manager for the journeys, speaking XSMP through libSM
// and libICE as a desktop's manager does. It prints the address for
// SESSION_MANAGER on its first line, then takes commands on standard input:
//   logout       SaveYourself (global, shutdown, interaction allowed)
//   fast-logout  the same with no interaction allowed
//   checkpoint   SaveYourself (both, no shutdown, no interaction), as a
//                desktop's Save Session sends it
//   refuse       the next interaction request is answered with
//                ShutdownCancelled, as when another program's user cancelled
//   no-die       the next shutdown waits instead of sending Die
//   cancel       ShutdownCancelled to every client
// It grants every interaction request and, once every client has answered,
// sends Die unless a client cancelled the shutdown (then ShutdownCancelled).
// Every event goes to the log named on the command line, one line each, in
// the order it happened.

#include <X11/ICE/ICElib.h>
#include <X11/SM/SMlib.h>

#include <poll.h>
#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

FILE *logFile = nullptr;

void note(const std::string &line) {
  std::fprintf(logFile, "%s\n", line.c_str());
  std::fflush(logFile);
}

struct Client {
  SmsConn connection;
  bool answering = false;  // a SaveYourself is out
};
std::vector<Client> clients;
std::vector<IceConn> iceConnections;
bool cancelled = false;
bool shuttingDown = false;
bool refuseInteraction = false;
bool holdDie = false;

void cancelShutdown() {
  cancelled = true;
  for (Client &c : clients) SmsShutdownCancelled(c.connection);
  note("shutdown cancelled");
}

Client *clientOf(SmsConn connection) {
  for (Client &c : clients)
    if (c.connection == connection) return &c;
  return nullptr;
}

Bool anyHost(char *) { return True; }

Status registerClient(SmsConn connection, SmPointer, char *) {
  char *id = SmsGenerateClientID(connection);
  SmsRegisterClientReply(connection, id);
  note("registered");
  std::free(id);
  return 1;
}

void interactRequest(SmsConn connection, SmPointer, int) {
  note("interaction requested");
  if (refuseInteraction) {
    refuseInteraction = false;
    cancelShutdown();
    return;
  }
  SmsInteract(connection);
  note("interaction granted");
}

void interactDone(SmsConn, SmPointer, Bool cancelShutdown) {
  note(cancelShutdown ? "interaction done, logout cancelled" : "interaction done");
  if (cancelShutdown && !cancelled) {
    cancelled = true;
    for (Client &c : clients) SmsShutdownCancelled(c.connection);
  }
}

void saveYourselfDone(SmsConn connection, SmPointer, Bool success) {
  note(success ? "save done" : "save done, not all kept");
  if (Client *c = clientOf(connection)) c->answering = false;
  for (const Client &c : clients)
    if (c.answering) return;
  if (cancelled || !shuttingDown) return;
  if (holdDie) {
    holdDie = false;
    note("all saved, no die");
    return;
  }
  for (Client &c : clients) SmsDie(c.connection);
  note("die");
}

void saveYourselfPhase2Request(SmsConn connection, SmPointer) { SmsSaveYourselfPhase2(connection); }

void setProperties(SmsConn, SmPointer, int count, SmProp **properties) {
  for (int i = 0; i < count; ++i) {
    if (std::strcmp(properties[i]->name, SmRestartStyleHint) == 0 && properties[i]->num_vals > 0 &&
        properties[i]->vals[0].length > 0)
      note("restart hint " + std::to_string(int(static_cast<unsigned char *>(properties[i]->vals[0].value)[0])));
    SmFreeProperty(properties[i]);
  }
  std::free(properties);
}

void deleteProperties(SmsConn, SmPointer, int count, char **names) {
  for (int i = 0; i < count; ++i) std::free(names[i]);
  std::free(names);
}

void getProperties(SmsConn connection, SmPointer) { SmsReturnProperties(connection, 0, nullptr); }

void closeConnection(SmsConn connection, SmPointer, int count, char **reasons) {
  note("closed");
  SmFreeReasons(count, reasons);
  IceConn ice = SmsGetIceConnection(connection);
  SmsCleanUp(connection);
  IceSetShutdownNegotiation(ice, False);
  IceCloseConnection(ice);
  for (auto it = clients.begin(); it != clients.end(); ++it)
    if (it->connection == connection) {
      clients.erase(it);
      break;
    }
  for (auto it = iceConnections.begin(); it != iceConnections.end(); ++it)
    if (*it == ice) {
      iceConnections.erase(it);
      break;
    }
}

Status newClient(SmsConn connection, SmPointer, unsigned long *mask, SmsCallbacks *callbacks, char **) {
  clients.push_back({connection});
  *mask = SmsRegisterClientProcMask | SmsInteractRequestProcMask | SmsInteractDoneProcMask |
          SmsSaveYourselfRequestProcMask | SmsSaveYourselfP2RequestProcMask | SmsSaveYourselfDoneProcMask |
          SmsCloseConnectionProcMask | SmsSetPropertiesProcMask | SmsDeletePropertiesProcMask |
          SmsGetPropertiesProcMask;
  callbacks->register_client.callback = registerClient;
  callbacks->interact_request.callback = interactRequest;
  callbacks->interact_done.callback = interactDone;
  callbacks->save_yourself_request.callback = [](SmsConn, SmPointer, int, Bool, int, Bool, Bool) {};
  callbacks->save_yourself_phase2_request.callback = saveYourselfPhase2Request;
  callbacks->save_yourself_done.callback = saveYourselfDone;
  callbacks->close_connection.callback = closeConnection;
  callbacks->set_properties.callback = setProperties;
  callbacks->delete_properties.callback = deleteProperties;
  callbacks->get_properties.callback = getProperties;
  return 1;
}

void logout(int interactStyle) {
  cancelled = false;
  shuttingDown = true;
  note(interactStyle == SmInteractStyleAny ? "logout" : "fast logout");
  for (Client &c : clients) {
    c.answering = true;
    SmsSaveYourself(c.connection, SmSaveGlobal, True, interactStyle, False);
  }
}

void checkpoint() {
  shuttingDown = false;
  note("checkpoint");
  for (Client &c : clients) {
    c.answering = true;
    SmsSaveYourself(c.connection, SmSaveBoth, False, SmInteractStyleNone, False);
  }
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: xsmp_manager LOG\n");
    return 2;
  }
  logFile = std::fopen(argv[1], "w");
  char error[256] = "";
  if (!SmsInitialize("quillora-tests", "1.0", newClient, nullptr, anyHost, sizeof error, error)) {
    std::fprintf(stderr, "SmsInitialize: %s\n", error);
    return 1;
  }
  int count = 0;
  IceListenObj *listeners = nullptr;
  if (!IceListenForConnections(&count, &listeners, sizeof error, error)) {
    std::fprintf(stderr, "IceListenForConnections: %s\n", error);
    return 1;
  }
  for (int i = 0; i < count; ++i) IceSetHostBasedAuthProc(listeners[i], anyHost);
  char *address = IceComposeNetworkIdList(count, listeners);
  std::printf("%s\n", address);
  std::fflush(stdout);
  std::free(address);
  std::string command;
  for (;;) {
    std::vector<pollfd> fds{{STDIN_FILENO, POLLIN, 0}};
    for (int i = 0; i < count; ++i) fds.push_back({IceGetListenConnectionNumber(listeners[i]), POLLIN, 0});
    for (IceConn ice : iceConnections) fds.push_back({IceConnectionNumber(ice), POLLIN, 0});
    if (poll(fds.data(), fds.size(), -1) < 0) continue;
    if (fds[0].revents & (POLLIN | POLLHUP)) {
      char c = 0;
      if (read(STDIN_FILENO, &c, 1) <= 0) return 0;  // the journey is over
      if (c != '\n') {
        command += c;
      } else {
        if (command == "logout") logout(SmInteractStyleAny);
        if (command == "fast-logout") logout(SmInteractStyleNone);
        if (command == "checkpoint") checkpoint();
        if (command == "refuse") refuseInteraction = true;
        if (command == "no-die") holdDie = true;
        if (command == "cancel") cancelShutdown();
        command.clear();
      }
    }
    for (int i = 0; i < count; ++i) {
      if (!(fds[std::size_t(i) + 1].revents & POLLIN)) continue;
      IceAcceptStatus accepted;
      IceConn ice = IceAcceptConnection(listeners[i], &accepted);
      if (!ice) continue;
      while (IceConnectionStatus(ice) == IceConnectPending) IceProcessMessages(ice, nullptr, nullptr);
      if (IceConnectionStatus(ice) == IceConnectAccepted)
        iceConnections.push_back(ice);
      else
        IceCloseConnection(ice);
    }
    const std::vector<IceConn> open = iceConnections;
    for (std::size_t k = 0; k < open.size(); ++k) {
      if (!(fds[std::size_t(count) + 1 + k].revents & (POLLIN | POLLHUP))) continue;
      if (IceProcessMessages(open[k], nullptr, nullptr) == IceProcessMessagesIOError) {
        for (auto it = iceConnections.begin(); it != iceConnections.end(); ++it)
          if (*it == open[k]) {
            iceConnections.erase(it);
            break;
          }
        IceSetShutdownNegotiation(open[k], False);
        IceCloseConnection(open[k]);
      }
    }
  }
}
