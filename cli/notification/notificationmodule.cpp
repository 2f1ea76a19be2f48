#include "cli/notifier.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QVariantMap>

using namespace Qt::StringLiterals;

namespace {
constexpr int replyWait = 5000; // ms: a morning notification is not worth a longer wait

// What the session bus answered, in Hungarian, with the bus's own words after it.
QString failureText(const QDBusError& error)
{
    const QString name = error.name();
    QString text;
    switch (error.type()) {
    case QDBusError::ServiceUnknown:
        return u"Nem fut értesítési szolgáltatás a munkamenetben (org.freedesktop.Notifications)."_s;
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
        text = u"Az értesítési szolgáltatás nem válaszolt %1 másodpercen belül."_s.arg(replyWait /
                                                                                       1000);
        break;
    case QDBusError::Disconnected:
    case QDBusError::NoServer:
    case QDBusError::NoNetwork:
        text = u"Megszakadt a kapcsolat a munkamenet D-Bus-buszával."_s;
        break;
    case QDBusError::AccessDenied:
        text = u"A munkamenet D-Bus-busza nem engedi az értesítést."_s;
        break;
    case QDBusError::UnknownMethod:
    case QDBusError::UnknownObject:
    case QDBusError::UnknownInterface:
    case QDBusError::InvalidArgs:
    case QDBusError::InvalidSignature:
        text = u"Az értesítési szolgáltatás nem ismeri az értesítések szabványos kérését."_s;
        break;
    default:
        text = name.startsWith(u"org.freedesktop.DBus.Error.Spawn."_s)
                   ? u"Az értesítési szolgáltatás nem indult el, vagy indulás közben leállt."_s
                   : u"Az értesítési szolgáltatás hibát jelzett."_s;
    }
    return text + u" (%1: %2)"_s.arg(name, error.message());
}

QString notifyOnSessionBus(const QString& summary, const QString& body)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return u"Nem érhető el a munkamenet D-Bus-busza, ezért nem küldhető értesítés."_s;

    QDBusMessage notify = QDBusMessage::createMethodCall(
        u"org.freedesktop.Notifications"_s, u"/org/freedesktop/Notifications"_s,
        u"org.freedesktop.Notifications"_s, u"Notify"_s);
    const QString appId = QStringLiteral(ZORVAT_APP_ID);
    const int defaultExpiry = -1;
    notify << u"Zorvat"_s << 0u << appId << summary << body << QStringList()
           << QVariantMap{{u"desktop-entry"_s, appId}} << defaultExpiry;
    const QDBusMessage reply = bus.call(notify, QDBus::Block, replyWait);
    if (reply.type() != QDBusMessage::ErrorMessage)
        return {};
    return failureText(QDBusError(reply));
}
} // namespace

// What zorvat-nevnap loads for --notify.
class NotificationModule : public QObject, public Notifier
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID Notifier_iid)
    Q_INTERFACES(Notifier)

public:
    QString notify(const QString& summary, const QString& body) override
    {
        // Qt D-Bus registers its types only once its connection manager exists, so at exit Qt's
        // type registry would go first, while the connection's thread may still be reading a
        // message that needs it. A type registered first keeps the registry until the manager
        // and its thread are gone.
        qRegisterMetaType<QDBusObjectPath>();
        return notifyOnSessionBus(summary, body);
    }
};

#include "notificationmodule.moc"
