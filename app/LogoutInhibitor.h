// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A hold on logging out, taken from the desktop while a document is changed:
// through the desktop portal, or GNOME's session manager where the portal
// is missing or refuses (a portal whose backend cannot hold a logout, as on
// Xfce, answers its request with a refusal). Where neither holds, nothing
// is claimed. Every call is asynchronous: a portal being started by the
// first change never holds the program up.

#include <QDBusObjectPath>
#include <QObject>

class QDBusMessage;
class QWidget;

namespace quillora {

class LogoutInhibitor : public QObject {
  Q_OBJECT
 public:
  // `window`: the window the desktop names in its end-of-session dialog.
  LogoutInhibitor(QObject *parent, QWidget *window);
  void setHeld(bool held);

 private slots:
  void portalResponded(uint response, const QVariantMap &results);

 private:
  enum class Service { None, Portal, Gnome };
  void take(Service service);
  void taken(Service service, const QDBusMessage &reply);
  void release();

  // The X window the desktop names, or 0 on Wayland.
  quint32 windowId() const;

  QWidget *m_window;
  Service m_service = Service::Portal;  // the one tried first; None once neither holds
  bool m_wanted = false;
  bool m_asking = false;  // a hold is asked for and not yet answered
  bool m_holding = false;
  QDBusObjectPath m_request;  // the portal's hold
  uint m_cookie = 0;          // GNOME's
  int m_tokens = 0;
};

}  // namespace quillora
