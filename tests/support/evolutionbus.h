#pragma once

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

// Evolution Data Server on a session bus of the test's own, in a home of the test's own.

// What the D-Bus object manager client of GLib 2.74 leaks: a few bytes for every proxy that a
// registry of sources makes. LeakSanitizer is to report the test's own leaks.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libedataserver-1.2.so\nleak:libecal-2.0.so\n";
}

// Without frame pointers in GLib, only the slow unwinder finds the callers named above.
extern "C" const char* __asan_default_options()
{
    return "fast_unwind_on_malloc=0:print_suppressions=0";
}

namespace evolutionbus {

// HOME (the folder `homeFolder` of `home`) and the XDG folders in `home`, and GSettings in
// memory, so that nothing of the user who runs the test is read or written.
inline bool makeOwnHome(const QDir& home, const char* homeFolder)
{
    for (const auto& [variable, folder] : {std::pair{"HOME", homeFolder},
                                           {"XDG_CONFIG_HOME", "config"},
                                           {"XDG_DATA_HOME", "data"},
                                           {"XDG_CACHE_HOME", "cache"},
                                           {"XDG_RUNTIME_DIR", "runtime"}}) {
        if (!home.mkpath(QString::fromLatin1(folder)))
            return false;
        qputenv(variable, QFile::encodeName(home.absoluteFilePath(QString::fromLatin1(folder))));
    }
    qputenv("GSETTINGS_BACKEND", "memory");
    return QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                                 QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// A session bus that ends with the test, even a killed one, and starts only the services of
// Evolution Data Server named, from their installed files; its address, empty where it failed.
inline QString startBus(QProcess& daemon, const QDir& folder, const QStringList& services)
{
    const QString serviceFolder = folder.filePath(QStringLiteral("services"));
    if (!QDir().mkpath(serviceFolder))
        return {};
    for (const QString& service : services) {
        const QString file = service + QStringLiteral(".service");
        if (!QFile::copy(QStringLiteral("/usr/share/dbus-1/services/") + file,
                         serviceFolder + u'/' + file)) {
            qWarning("EDS's service files are missing: install evolution-data-server");
            return {};
        }
    }
    QFile configuration(folder.filePath(QStringLiteral("bus.conf")));
    if (!configuration.open(QIODevice::WriteOnly))
        return {};
    configuration.write(
        QStringLiteral(R"(<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen>
<servicedir>%1</servicedir><auth>EXTERNAL</auth><policy context="default">
<allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/><allow own="*"/>
</policy></busconfig>)")
            .arg(serviceFolder)
            .toUtf8());
    configuration.close();
    daemon.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGTERM); });
    daemon.start(QStringLiteral("dbus-daemon"),
                 {QStringLiteral("--config-file"), configuration.fileName(),
                  QStringLiteral("--print-address"), QStringLiteral("--nofork")});
    if (!daemon.waitForStarted() || !daemon.waitForReadyRead(10'000))
        return {};
    return QString::fromUtf8(daemon.readLine().trimmed());
}

inline bool running(qint64 process)
{
    QFile status(QStringLiteral("/proc/%1/stat").arg(process));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = status.readAll();
    return line.mid(line.lastIndexOf(')') + 2, 1) != "Z";
}

// Every process on the bus is the test's or one the bus started for it: those end, then the bus.
inline void stopBus(QProcess& daemon, const QString& address)
{
    QList<qint64> started;
    {
        const QDBusConnection bus =
            QDBusConnection::connectToBus(address, QStringLiteral("cleanup"));
        for (const QString& name : bus.interface()->registeredServiceNames().value()) {
            const qint64 process = name.startsWith(u':') ? bus.interface()->servicePid(name) : 0;
            if (process > 0 && process != getpid())
                started.append(process);
        }
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("cleanup"));
    for (const qint64 process : std::as_const(started))
        kill(pid_t(process), SIGTERM);
    QElapsedTimer waited;
    waited.start();
    while (std::ranges::any_of(started, running) && waited.elapsed() < 5'000)
        QTest::qWait(50);
    for (const qint64 process : std::as_const(started))
        if (running(process))
            kill(pid_t(process), SIGKILL);
    daemon.terminate();
    daemon.waitForFinished();
}

} // namespace evolutionbus
