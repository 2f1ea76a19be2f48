#include "support/privatebus.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QString serviceName = u"org.freedesktop.Notifications"_s;
const QString objectPath = u"/org/freedesktop/Notifications"_s;
const QString connectionName = u"private session bus"_s;

// A desktop's notification service on the test's own bus, keeping what it was asked to show;
// a silent one never answers.
class FakeNotifications : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    explicit FakeNotifications(bool silent = false)
        : m_silent(silent)
    {
    }

    struct Shown
    {
        QString appName;
        uint replacesId;
        QString appIcon;
        QString summary;
        QString body;
        QStringList actions;
        QVariantMap hints;
        int expireTimeout;
    };
    QList<Shown> shown;

public Q_SLOTS:
    uint Notify(const QString& appName, uint replacesId, const QString& appIcon,
                const QString& summary, const QString& body, const QStringList& actions,
                const QVariantMap& hints, int expireTimeout)
    {
        shown.append({appName, replacesId, appIcon, summary, body, actions, hints, expireTimeout});
        if (m_silent)
            setDelayedReply(true);
        return uint(shown.size());
    }

private:
    bool m_silent;
};

struct Finished
{
    int status;
    QByteArray out;
    QString err;
};

// Runs the program against a bus address while this process keeps answering on its bus.
Finished notifyThrough(const QString& busAddress, const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, busAddress);
    QProcess program;
    program.setProcessEnvironment(environment);
    QSignalSpy finished(&program, &QProcess::finished);
    program.start(QStringLiteral(ZORVAT_NEVNAP_BINARY), QStringList{u"--notify"_s} + arguments);
    if (!finished.wait(10'000) || program.exitStatus() != QProcess::NormalExit)
        return {-1, {}, u"did not finish"_s};
    return {program.exitCode(), program.readAllStandardOutput(),
            QString::fromUtf8(program.readAllStandardError())};
}
} // namespace

class Notification : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void shownByTheService();
    void notShown_data();
    void notShown();

private:
    std::unique_ptr<PrivateBus> m_bus;
};

void Notification::initTestCase()
{
    m_bus = std::make_unique<PrivateBus>();
    QVERIFY2(!m_bus->address().isEmpty(), "dbus-daemon is missing: install dbus-daemon");
    QVERIFY(QDBusConnection::connectToBus(m_bus->address(), connectionName).isConnected());
}

void Notification::cleanupTestCase()
{
    QDBusConnection::disconnectFromBus(connectionName);
    m_bus.reset();
}

void Notification::shownByTheService()
{
    QDBusConnection bus(connectionName);
    FakeNotifications service;
    QVERIFY(bus.registerObject(objectPath, &service, QDBusConnection::ExportAllSlots));
    QVERIFY(bus.registerService(serviceName));

    // A day far from the machine's clock, so the summary names it by its date.
    const Finished run =
        notifyThrough(m_bus->address(), {u"--date"_s, u"2004-12-24"_s, u"--tomorrow"_s});
    bus.unregisterService(serviceName);
    bus.unregisterObject(objectPath);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    QCOMPARE(run.out, QByteArray());

    QCOMPARE(service.shown.size(), 1);
    const FakeNotifications::Shown& shown = service.shown.first();
    QCOMPARE(shown.appName, u"Zorvat"_s);
    QCOMPARE(shown.replacesId, 0u);
    QCOMPARE(shown.appIcon, u"hu.zorvat.Zorvat"_s);
    QCOMPARE(shown.summary, u"2004. december 25., szombat: KARÁCSONY, Eugénia"_s);
    QCOMPARE(shown.body, u"Másnap: KARÁCSONY, István"_s);
    QCOMPARE(shown.actions, QStringList());
    QCOMPARE(shown.hints, (QVariantMap{{u"desktop-entry"_s, u"hu.zorvat.Zorvat"_s}}));
    QCOMPARE(shown.expireTimeout, -1);
}

// Every failure told in Hungarian, the bus's own words only after it; never a wait of D-Bus's
// 25 seconds.
void Notification::notShown_data()
{
    QTest::addColumn<QString>("bus");
    QTest::addColumn<QString>("complaint"); // the start of what the program says

    QTest::newRow("a bus without the service")
        << u"private"_s
        << u"Nem fut értesítési szolgáltatás a munkamenetben (org.freedesktop.Notifications)."_s;
    QTest::newRow("no bus") << u"none"_s
                            << u"Nem érhető el a munkamenet D-Bus-busza, ezért nem küldhető "
                               "értesítés."_s;
    QTest::newRow("a service that never answers")
        << u"silent service"_s
        << u"Az értesítési szolgáltatás nem válaszolt 5 másodpercen belül. "
           "(org.freedesktop.DBus.Error.NoReply: "_s;
    QTest::newRow("a service that dies as it starts")
        << u"dying service"_s
        << u"Az értesítési szolgáltatás nem indult el, vagy indulás közben leállt. "
           "(org.freedesktop.DBus.Error.Spawn.ChildSignaled: "_s;
}

void Notification::notShown()
{
    QFETCH(QString, bus);
    QFETCH(QString, complaint);

    QString address = m_bus->address();
    QDBusConnection connection(connectionName);
    FakeNotifications silent(true);
    const QTemporaryDir services;
    std::unique_ptr<PrivateBus> ownBus;
    if (bus == u"none") {
        address = u"unix:path=/nonexistent"_s;
    } else if (bus == u"silent service") {
        QVERIFY(connection.registerObject(objectPath, &silent, QDBusConnection::ExportAllSlots));
        QVERIFY(connection.registerService(serviceName));
    } else if (bus == u"dying service") {
        QFile service(services.filePath(u"notifications.service"_s));
        QVERIFY(service.open(QIODevice::WriteOnly));
        service.write("[D-BUS Service]\nName=org.freedesktop.Notifications\n"
                      "Exec=/bin/sh -c 'kill -TRAP $$'\n");
        service.close();
        ownBus = std::make_unique<PrivateBus>(services.path());
        address = ownBus->address();
    }

    QElapsedTimer clock;
    clock.start();
    const Finished run = notifyThrough(address, {});
    const qint64 waited = clock.elapsed();
    connection.unregisterService(serviceName);
    connection.unregisterObject(objectPath);
    QVERIFY2(run.err.startsWith(u"zorvat-nevnap: "_s + complaint), qPrintable(run.err));
    QVERIFY(run.err.endsWith(u'\n') && run.err.count(u'\n') == 1);
    QCOMPARE(run.status, 1);
    QCOMPARE(run.out, QByteArray());
    QVERIFY2(waited < 8000, qPrintable(QString::number(waited)));
}

QTEST_GUILESS_MAIN(Notification)
#include "tst_notification.moc"
