#include <QDBusConnection>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QString serviceName = u"org.freedesktop.Notifications"_s;
const QString objectPath = u"/org/freedesktop/Notifications"_s;
const QString connectionName = u"private session bus"_s;

// A desktop's notification service on the test's own bus, keeping what it was asked to show.
class FakeNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
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
        return uint(shown.size());
    }
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
    QProcess m_busDaemon;
    QString m_busAddress;
};

void Notification::initTestCase()
{
    m_busDaemon.start(u"dbus-daemon"_s, {u"--session"_s, u"--print-address"_s, u"--nofork"_s});
    QVERIFY2(m_busDaemon.waitForStarted(), "dbus-daemon is missing: install dbus-daemon");
    QTRY_VERIFY(m_busDaemon.canReadLine());
    m_busAddress = QString::fromUtf8(m_busDaemon.readLine().trimmed());
    QVERIFY(QDBusConnection::connectToBus(m_busAddress, connectionName).isConnected());
}

void Notification::cleanupTestCase()
{
    QDBusConnection::disconnectFromBus(connectionName);
    m_busDaemon.kill();
    m_busDaemon.waitForFinished();
}

void Notification::shownByTheService()
{
    QDBusConnection bus(connectionName);
    FakeNotifications service;
    QVERIFY(bus.registerObject(objectPath, &service, QDBusConnection::ExportAllSlots));
    QVERIFY(bus.registerService(serviceName));

    const Finished run =
        notifyThrough(m_busAddress, {u"--date"_s, u"2026-12-24"_s, u"--tomorrow"_s});
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
    QCOMPARE(shown.summary, u"Névnap: KARÁCSONY, Eugénia"_s);
    QCOMPARE(shown.body, u"Holnap: KARÁCSONY, István"_s);
    QCOMPARE(shown.actions, QStringList());
    QCOMPARE(shown.hints, (QVariantMap{{u"desktop-entry"_s, u"hu.zorvat.Zorvat"_s}}));
    QCOMPARE(shown.expireTimeout, -1);
}

void Notification::notShown_data()
{
    QTest::addColumn<bool>("privateBus");
    QTest::addColumn<QString>("complaint");

    QTest::newRow("a bus without the service")
        << true
        << u"Nem fut értesítési szolgáltatás a munkamenetben (org.freedesktop.Notifications)."_s;
    QTest::newRow("no bus") << false
                            << u"Nem érhető el a munkamenet D-Bus-busza, ezért nem küldhető "
                               "értesítés."_s;
}

void Notification::notShown()
{
    QFETCH(bool, privateBus);
    QFETCH(QString, complaint);
    const Finished run = notifyThrough(privateBus ? m_busAddress : u"unix:path=/nonexistent"_s, {});
    QCOMPARE(run.err, u"zorvat-nevnap: "_s + complaint + u'\n');
    QCOMPARE(run.status, 1);
    QCOMPARE(run.out, QByteArray());
}

QTEST_GUILESS_MAIN(Notification)
#include "tst_notification.moc"
