#include "cli/outputs.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace {
QString notify(const DayNames& day, const DayNames& next)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return u"Nem érhető el a munkamenet D-Bus-busza, ezért nem küldhető értesítés."_s;

    QDBusMessage notify = QDBusMessage::createMethodCall(
        u"org.freedesktop.Notifications"_s, u"/org/freedesktop/Notifications"_s,
        u"org.freedesktop.Notifications"_s, u"Notify"_s);
    const QString appId = QStringLiteral(ZORVAT_APP_ID);
    const int defaultExpiry = -1;
    notify << u"Zorvat"_s << 0u << appId << u"Névnap: "_s + day.names << u"Holnap: "_s + next.names
           << QStringList() << QVariantMap{{u"desktop-entry"_s, appId}} << defaultExpiry;
    const QDBusMessage reply = bus.call(notify);
    if (reply.type() != QDBusMessage::ErrorMessage)
        return {};
    if (QDBusError(reply).type() == QDBusError::ServiceUnknown)
        return u"Nem fut értesítési szolgáltatás a munkamenetben (org.freedesktop.Notifications)."_s;
    return u"Az értesítés nem jelent meg: %1"_s.arg(reply.errorMessage());
}
} // namespace

// The entry that zorvat-nevnap looks up when it loads this module.
extern "C" Q_DECL_EXPORT QString zorvatNotifyNameDays(const DayNames& day, const DayNames& next)
{
    // Qt D-Bus registers its types only once its connection manager exists, so at exit Qt's
    // type registry would go first, while the connection's thread may still be reading a
    // message that needs it. A type registered first keeps the registry until the manager
    // and its thread are gone.
    qRegisterMetaType<QDBusObjectPath>();
    return notify(day, next);
}
