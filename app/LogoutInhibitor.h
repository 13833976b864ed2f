#pragma once
// A hold on logging out, taken from the desktop while a document is changed:
// through the desktop portal, or GNOME's session manager where the portal is
// missing. Where neither is on the session bus, nothing happens. The bus is
// first asked when a hold is first wanted.

#include <QDBusObjectPath>
#include <QObject>
#include <optional>

class QWidget;

namespace quillora {

class LogoutInhibitor : public QObject {
  Q_OBJECT
 public:
  // `window`: the window the desktop names in its end-of-session dialog.
  LogoutInhibitor(QObject *parent, QWidget *window);
  void setHeld(bool held);

 private:
  enum class Service { None, Portal, Gnome };
  Service service();
  void take();
  void release();

  // The X window the desktop names, or 0 on Wayland.
  quint32 windowId() const;

  QWidget *m_window;
  std::optional<Service> m_service;
  bool m_wanted = false;
  bool m_asking = false;  // a hold is asked for and not yet answered
  bool m_holding = false;
  QDBusObjectPath m_request;  // the portal's hold
  uint m_cookie = 0;          // GNOME's
};

}  // namespace quillora
