#include "contacts/configuration.h"

#include "system/arguments.h"
#include "system/regularfile.h"
#include "system/systemerrors.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {
bool isTrue(const QString& value)
{
    return value.compare(u"true"_s, Qt::CaseInsensitive) == 0 ||
           value.compare(u"yes"_s, Qt::CaseInsensitive) == 0 || value == u"1"_s;
}
constexpr qint64 largestConfiguration = 1024 * 1024;
} // namespace

// QSettings would read a ';' in a value as a comment, a '\\' as an escape and a ',' as a list
// even in a path, which Thunderbird writes into profiles.ini as it is, and the user into a source.
QList<IniSection> parseIni(QByteArrayView text)
{
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    QList<IniSection> sections;
    for (const QString& rawLine : QString::fromUtf8(text).split(u'\n')) {
        const QString line = rawLine.trimmed();
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            sections.append({line.sliced(1, line.size() - 2).trimmed(), {}});
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (sections.isEmpty() || line.startsWith(u'#') || line.startsWith(u';') || equals <= 0)
            continue;
        sections.last().values.append(
            {line.first(equals).trimmed(), line.sliced(equals + 1).trimmed()});
    }
    return sections;
}

Configuration parseConfiguration(QByteArrayView text)
{
    Configuration configuration;
    for (const IniSection& section : parseIni(text)) {
        const QString name = section.name.toLower();
        for (const auto& [key, value] : section.values) {
            if (name == u"contacts" && key.compare(u"sources"_s, Qt::CaseInsensitive) == 0) {
                configuration.sources.clear();
                for (const QString& source : value.split(u',', Qt::SkipEmptyParts))
                    if (!source.trimmed().isEmpty())
                        configuration.sources += source.trimmed();
            } else if (name == u"contacts" && key.compare(u"remind"_s, Qt::CaseInsensitive) == 0) {
                bool number = false;
                const int days = value.toInt(&number);
                if (number && days >= 0 && days <= longestReminder)
                    configuration.reminderDaysBefore = days;
            } else if (name == u"aliases" && !value.isEmpty()) {
                configuration.aliases.insert(key, value);
            } else if (name == u"notification" &&
                       key.compare(u"private"_s, Qt::CaseInsensitive) == 0) {
                configuration.privateNotification = isTrue(value);
            } else if (name == u"search" && key.compare(u"contacts"_s, Qt::CaseInsensitive) == 0) {
                configuration.contactsInSearch = isTrue(value);
            }
        }
    }
    return configuration;
}

QString configurationPath()
{
    QString folder = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!QDir::isAbsolutePath(folder))
        folder = QDir::homePath() + u"/.config"_s;
    return folder + u"/zorvat/zorvat-nevnap.conf"_s;
}

QString expandedPath(const QString& source)
{
    if (source == u"~")
        return QDir::homePath();
    if (source.startsWith(u"~/"))
        return QDir::homePath() + source.sliced(1);
    return source;
}

Configuration readConfiguration(QString& complaint)
{
    const QString path = configurationPath();
    const QByteArray file = QFile::encodeName(path);
    QString problem;
    struct stat status;
    if (stat(file.constData(), &status) != 0) {
        if (errno == ENOENT) // a configuration that is not there sets nothing
            return {};
        problem = systemErrorText(errno);
    } else if (!S_ISREG(status.st_mode)) {
        problem = notAFileText(status.st_mode);
    } else {
        QByteArray text;
        problem = readRegularFile(AT_FDCWD, file.constData(), largestConfiguration, text).failure;
        if (problem.isEmpty())
            return parseConfiguration(text);
    }
    complaint = u"A beállítófájl („%1”) nem olvasható: %2."_s.arg(shownArgument(path), problem);
    return {};
}
