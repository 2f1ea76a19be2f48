#include "cli/outputs.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace {
// A connection of its own, closed before the program ends: the shared session connection would
// still be taking messages from its thread while the program's exit tears Qt down.
QString notify(QDBusConnection& bus, const DayNames& day, const DayNames& next)
{
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
    const QString name = u"zorvat-nevnap"_s;
    QString problem;
    {
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
        problem = notify(bus, day, next);
    }
    QDBusConnection::disconnectFromBus(name);
    return problem;
}
