#include "CDesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QVariantMap>

namespace CDesktopNotifier {

namespace {
const QString kService = QStringLiteral("org.freedesktop.Notifications");
constexpr int kTimeoutMs = 2000;
} // namespace

int notify(const QString &strText, const QString &strTitle)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(kService))
        return -1;
    QDBusMessage call = QDBusMessage::createMethodCall(kService, QStringLiteral("/org/freedesktop/Notifications"),
                                                       kService, QStringLiteral("Notify"));
    const QString title = strTitle.isEmpty() ? QStringLiteral("Mirelle") : strTitle;
    call << title << quint32(0) << QString() << title << strText << QStringList() << QVariantMap() << qint32(-1);
    const QDBusMessage reply = bus.call(call, QDBus::Block, kTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return -1;
    return static_cast<int>(reply.arguments().constFirst().toUInt());
}

} // namespace CDesktopNotifier
