#pragma once

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

// A dbus-daemon with the tests' own session configuration (ZORVAT_TEST_BUS_CONFIG), and where
// given a folder of services it may start, in the environment they start in.
class PrivateBus
{
public:
    explicit PrivateBus(
        const QString& serviceFolder = {},
        const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
    {
        QFile base(QStringLiteral(ZORVAT_TEST_BUS_CONFIG));
        QFile config(m_folder.filePath(QStringLiteral("bus.conf")));
        if (!base.open(QIODevice::ReadOnly) || !config.open(QIODevice::WriteOnly))
            return;
        QByteArray text = base.readAll();
        if (!serviceFolder.isEmpty())
            text.replace("</busconfig>",
                         "  <servicedir>" + serviceFolder.toUtf8() + "</servicedir>\n</busconfig>");
        config.write(text);
        config.close();
        m_daemon.setProcessEnvironment(environment);
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--config-file"), config.fileName(),
                        QStringLiteral("--print-address"), QStringLiteral("--nofork")});
        if (m_daemon.waitForStarted() && m_daemon.waitForReadyRead(10'000))
            m_address = QString::fromUtf8(m_daemon.readLine().trimmed());
    }
    ~PrivateBus()
    {
        m_daemon.kill();
        m_daemon.waitForFinished();
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    QString address() const { return m_address; }

private:
    QTemporaryDir m_folder;
    QProcess m_daemon;
    QString m_address;
};
