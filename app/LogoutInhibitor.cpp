// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LogoutInhibitor.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QGuiApplication>
#include <QVariantMap>
#include <QWidget>

namespace quillora {

namespace {
const QString Portal = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalRequest = QStringLiteral("org.freedesktop.portal.Request");
const QString Gnome = QStringLiteral("org.gnome.SessionManager");
const QString Reason = QStringLiteral("Unsaved documents");
constexpr uint LogoutFlag = 1;
}  // namespace

LogoutInhibitor::LogoutInhibitor(QObject *parent, QWidget *window) : QObject(parent), m_window(window) {}

quint32 LogoutInhibitor::windowId() const {
  return QGuiApplication::platformName() == QLatin1String("xcb") ? quint32(m_window->winId()) : 0;
}

void LogoutInhibitor::setHeld(bool held) {
  m_wanted = held;
  if (held && !m_holding && !m_asking && m_service != Service::None) take(m_service);
  if (!held && m_holding) release();
}

void LogoutInhibitor::take(Service service) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) {
    m_service = Service::None;
    return;
  }
  m_service = service;
  QDBusMessage call;
  if (service == Service::Portal) {
    // The portal answers on a request object whose path the token makes
    // known beforehand: its answer is listened for before it is asked.
    const QString token = QStringLiteral("quillora%1").arg(++m_tokens);
    QString sender = bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    m_request = QDBusObjectPath(QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token));
    bus.connect(Portal, m_request.path(), PortalRequest, QStringLiteral("Response"), this,
                SLOT(portalResponded(uint, QVariantMap)));
    call = QDBusMessage::createMethodCall(Portal, QStringLiteral("/org/freedesktop/portal/desktop"),
                                          QStringLiteral("org.freedesktop.portal.Inhibit"), QStringLiteral("Inhibit"));
    call << (windowId() ? QStringLiteral("x11:%1").arg(windowId(), 0, 16) : QString()) << LogoutFlag
         << QVariantMap{{QStringLiteral("reason"), Reason}, {QStringLiteral("handle_token"), token}};
  } else {
    call = QDBusMessage::createMethodCall(Gnome, QStringLiteral("/org/gnome/SessionManager"), Gnome,
                                          QStringLiteral("Inhibit"));
    call << QStringLiteral("org.quillora.Quillora") << uint(windowId()) << Reason << LogoutFlag;
  }
  m_asking = true;
  auto *answer = new QDBusPendingCallWatcher(bus.asyncCall(call), this);
  connect(answer, &QDBusPendingCallWatcher::finished, this, [this, answer, service] {
    answer->deleteLater();
    taken(service, answer->reply());
  });
}

void LogoutInhibitor::taken(Service service, const QDBusMessage &reply) {
  m_asking = false;
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
    // Not on the bus, or no backend that can hold: the next service, if any.
    if (service == Service::Portal) {
      QDBusConnection::sessionBus().disconnect(Portal, m_request.path(), PortalRequest, QStringLiteral("Response"),
                                               this, SLOT(portalResponded(uint, QVariantMap)));
      m_service = Service::Gnome;
      if (m_wanted) take(Service::Gnome);
    } else {
      m_service = Service::None;
    }
    return;
  }
  if (service == Service::Portal)
    m_request = qvariant_cast<QDBusObjectPath>(reply.arguments().constFirst());
  else
    m_cookie = reply.arguments().constFirst().toUInt();
  m_holding = true;
  setHeld(m_wanted);  // let go at once when nothing is changed any more
}

void LogoutInhibitor::portalResponded(uint response, const QVariantMap &) {
  if (response == 0 || m_service != Service::Portal) return;
  // The portal could not hold: its request is over, and GNOME's session
  // manager is asked instead.
  QDBusConnection::sessionBus().disconnect(Portal, m_request.path(), PortalRequest, QStringLiteral("Response"), this,
                                           SLOT(portalResponded(uint, QVariantMap)));
  m_holding = false;
  m_service = Service::Gnome;
  if (m_wanted && !m_asking) take(Service::Gnome);
}

void LogoutInhibitor::release() {
  m_holding = false;
  QDBusMessage call;
  if (m_service == Service::Portal) {
    call = QDBusMessage::createMethodCall(Portal, m_request.path(), PortalRequest, QStringLiteral("Close"));
  } else {
    call = QDBusMessage::createMethodCall(Gnome, QStringLiteral("/org/gnome/SessionManager"), Gnome,
                                          QStringLiteral("Uninhibit"));
    call << m_cookie;
  }
  QDBusConnection::sessionBus().asyncCall(call);
}

}  // namespace quillora
