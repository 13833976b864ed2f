#include "app/LogoutInhibitor.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QVariantMap>
#include <QWidget>

namespace quillora {

namespace {
const QString Portal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString Gnome = QStringLiteral("org.gnome.SessionManager");
const QString Reason = QStringLiteral("Unsaved documents");
constexpr uint LogoutFlag = 1;
}  // namespace

LogoutInhibitor::LogoutInhibitor(QObject *parent, QWidget *window) : QObject(parent), m_window(window) {}

quint32 LogoutInhibitor::windowId() const {
  return QGuiApplication::platformName() == QLatin1String("xcb") ? quint32(m_window->winId()) : 0;
}

LogoutInhibitor::Service LogoutInhibitor::service() {
  if (m_service) return *m_service;
  m_service = Service::None;
  const QDBusConnection bus = QDBusConnection::sessionBus();
  QDBusConnectionInterface *names = bus.isConnected() ? bus.interface() : nullptr;
  if (!names) return *m_service;
  const QStringList startable = names->activatableServiceNames();
  const auto offered = [&](const QString &name) {
    return names->isServiceRegistered(name) || startable.contains(name);
  };
  if (offered(Portal))
    m_service = Service::Portal;
  else if (offered(Gnome))
    m_service = Service::Gnome;
  return *m_service;
}

void LogoutInhibitor::setHeld(bool held) {
  m_wanted = held;
  if (held && !m_holding && !m_asking) take();
  if (!held && m_holding) release();
}

void LogoutInhibitor::take() {
  QDBusMessage call;
  switch (service()) {
    case Service::None: return;
    case Service::Portal:
      call =
          QDBusMessage::createMethodCall(Portal, QStringLiteral("/org/freedesktop/portal/desktop"),
                                         QStringLiteral("org.freedesktop.portal.Inhibit"), QStringLiteral("Inhibit"));
      call << (windowId() ? QStringLiteral("x11:%1").arg(windowId(), 0, 16) : QString()) << LogoutFlag
           << QVariantMap{{QStringLiteral("reason"), Reason}};
      break;
    case Service::Gnome:
      call = QDBusMessage::createMethodCall(Gnome, QStringLiteral("/org/gnome/SessionManager"), Gnome,
                                            QStringLiteral("Inhibit"));
      call << QStringLiteral("org.quillora.Quillora") << uint(windowId()) << Reason << LogoutFlag;
      break;
  }
  m_asking = true;
  auto *answer = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(call), this);
  connect(answer, &QDBusPendingCallWatcher::finished, this, [this, answer] {
    answer->deleteLater();
    m_asking = false;
    const QDBusMessage reply = answer->reply();
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return;
    if (*m_service == Service::Portal)
      m_request = qvariant_cast<QDBusObjectPath>(reply.arguments().constFirst());
    else
      m_cookie = reply.arguments().constFirst().toUInt();
    m_holding = true;
    setHeld(m_wanted);  // let go at once when nothing is changed any more
  });
}

void LogoutInhibitor::release() {
  m_holding = false;
  QDBusMessage call;
  if (*m_service == Service::Portal) {
    call = QDBusMessage::createMethodCall(Portal, m_request.path(), QStringLiteral("org.freedesktop.portal.Request"),
                                          QStringLiteral("Close"));
  } else {
    call = QDBusMessage::createMethodCall(Gnome, QStringLiteral("/org/gnome/SessionManager"), Gnome,
                                          QStringLiteral("Uninhibit"));
    call << m_cookie;
  }
  QDBusConnection::sessionBus().asyncCall(call);
}

}  // namespace quillora
