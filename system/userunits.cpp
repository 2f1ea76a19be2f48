#include "system/userunits.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {
struct Answer
{
    bool done = false;
    QString said; // what systemctl printed, or why it did not run
};

Answer systemctl(const QStringList& arguments)
{
    const QString program = QStandardPaths::findExecutable(u"systemctl"_s);
    if (program.isEmpty())
        return {false, u"nincs systemctl ezen a rendszeren"_s};
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, QStringList{u"--user"_s, u"--no-pager"_s, u"--quiet"_s} + arguments,
                  QIODevice::ReadOnly);
    if (!process.waitForFinished(30'000)) {
        process.kill();
        process.waitForFinished();
        return {false, u"a systemctl nem válaszolt fél percen belül"_s};
    }
    const QString said = QString::fromUtf8(process.readAll()).trimmed();
    return {process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0, said};
}

QString problemOf(const Answer& answer)
{
    if (answer.done)
        return {};
    return answer.said.isEmpty() ? u"a systemctl nem sikerült"_s : answer.said;
}
} // namespace

UserManager userManager()
{
    // systemctl --user reaches the manager through this socket of the user's runtime folder.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!QDir::isAbsolutePath(runtime) || !QFileInfo::exists(runtime + u"/systemd/private"_s) ||
        QStandardPaths::findExecutable(u"systemctl"_s).isEmpty())
        return UserManager::Absent;
    return UserManager::Running;
}

bool isUserUnitEnabled(const QString& unit)
{
    const Answer answer = systemctl({u"is-enabled"_s, unit});
    return answer.done;
}

QString enableUserUnit(const QString& unit)
{
    return problemOf(systemctl({u"enable"_s, u"--now"_s, unit}));
}

QString disableUserUnit(const QString& unit)
{
    QStringList arguments{u"disable"_s, unit};
    if (userManager() == UserManager::Running)
        arguments.insert(1, u"--now"_s);
    return problemOf(systemctl(arguments));
}
