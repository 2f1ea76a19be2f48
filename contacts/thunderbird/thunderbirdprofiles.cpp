#include "contacts/thunderbird/thunderbirdprofiles.h"

#include "contacts/thunderbirdsource.h"
#include "system/systemerrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
struct IniSection
{
    QString name;
    QHash<QString, QString> values;
};

// profiles.ini as Thunderbird writes it: [sections] of key=value lines.
QList<IniSection> parseIni(const QByteArray& text)
{
    QList<IniSection> sections;
    for (const QByteArray& rawLine : text.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            sections.append({line.sliced(1).chopped(1), {}});
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (sections.isEmpty() || line.startsWith(u';') || line.startsWith(u'#') || equals < 1)
            continue;
        sections.last().values.insert(line.first(equals).trimmed(),
                                      line.sliced(equals + 1).trimmed());
    }
    return sections;
}

// The Path= of the profile that Thunderbird opens: its installation's default, else the one
// marked Default=1, else the only one; empty when the list names none.
QString defaultProfilePath(const QList<IniSection>& sections)
{
    for (const IniSection& section : sections) {
        const QString path = section.values.value(u"Default"_s);
        if (section.name.startsWith(u"Install") && !path.isEmpty())
            return path;
    }
    QStringList profiles;
    for (const IniSection& section : sections) {
        const QString path = section.values.value(u"Path"_s);
        if (!section.name.startsWith(u"Profile") || path.isEmpty())
            continue;
        if (section.values.value(u"Default"_s) == u"1")
            return path;
        profiles.append(path);
    }
    return profiles.size() == 1 ? profiles.first() : QString();
}

// Opens without blocking on a pipe or taking a terminal, so that a wrong path cannot stall.
int openForReading(const QString& path, int flags = 0)
{
    return ::open(QFile::encodeName(path).constData(),
                  O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | flags);
}

// The bytes of profiles.ini, or why it could not be read.
QString readProfileList(const QString& path, QByteArray& content)
{
    const int descriptor = openForReading(path);
    if (descriptor < 0)
        return systemErrorText(errno);
    // A list of a few profiles takes a few hundred bytes.
    const qint64 sizeLimit = 1 << 20;
    QString problem;
    struct stat status;
    if (::fstat(descriptor, &status) != 0) {
        problem = systemErrorText(errno);
    } else if (!S_ISREG(status.st_mode)) {
        problem = u"ez nem közönséges fájl"_s;
    } else {
        content.resize(std::min<qint64>(status.st_size, sizeLimit));
        const ssize_t count = ::read(descriptor, content.data(), content.size());
        if (count < 0)
            problem = systemErrorText(errno);
        content.truncate(std::max<ssize_t>(count, 0));
    }
    ::close(descriptor);
    return problem;
}

AddressBookFiles booksOfProfile(const QString& folder)
{
    const int descriptor = openForReading(folder, O_DIRECTORY);
    if (descriptor < 0)
        return {{},
                u"Nem érhető el a Thunderbird-profil: „%1” – %2."_s.arg(folder,
                                                                        systemErrorText(errno))};
    ::close(descriptor);

    QStringList names = QDir(folder).entryList({u"abook*.sqlite"_s}, QDir::Files);
    names.removeIf([](const QString& name) { return !isAddressBookFileName(name); });
    if (names.isEmpty())
        return {{},
                u"Nincs címjegyzék (abook.sqlite) a Thunderbird-profilban: „%1”."_s.arg(folder)};
    // abook.sqlite, abook-1.sqlite … abook-9.sqlite, abook-10.sqlite …
    std::sort(names.begin(), names.end(), [](const QString& left, const QString& right) {
        return std::pair(left.size(), left) < std::pair(right.size(), right);
    });
    QStringList files;
    for (const QString& name : names)
        files.append(QDir(folder).filePath(name));
    return {files, {}};
}

AddressBookFiles booksOfDefaultProfile(const QString& thunderbirdFolder)
{
    const QString listPath = QDir(thunderbirdFolder).filePath(u"profiles.ini"_s);
    QByteArray list;
    if (const QString problem = readProfileList(listPath, list); !problem.isEmpty())
        return {{},
                u"Nem olvasható a Thunderbird profillistája: „%1” – %2."_s.arg(listPath, problem)};
    const QString profile = defaultProfilePath(parseIni(list));
    if (profile.isEmpty())
        return {{},
                u"A Thunderbird profillistája („%1”) nem nevez meg alapértelmezett profilt."_s.arg(
                    listPath)};
    // QDir keeps an absolute Path= (IsRelative=0) as it is.
    return booksOfProfile(QDir::cleanPath(QDir(thunderbirdFolder).filePath(profile)));
}
} // namespace

AddressBookFiles findAddressBooks(const QString& source)
{
    if (source.compare(u"thunderbird", Qt::CaseInsensitive) == 0) {
        const QString home = QDir::homePath();
        const QStringList folders = {home + u"/.thunderbird"_s,
                                     home + u"/.var/app/org.mozilla.Thunderbird/.thunderbird"_s,
                                     home + u"/snap/thunderbird/common/.thunderbird"_s};
        for (const QString& folder : folders) {
            if (QFileInfo::exists(folder + u"/profiles.ini"_s))
                return booksOfDefaultProfile(folder);
        }
        return {{},
                u"Nem található Thunderbird: nincs profiles.ini itt: „%1”."_s.arg(
                    folders.join(u"”, „"_s))};
    }
    struct stat status;
    if (::stat(QFile::encodeName(source).constData(), &status) != 0)
        return {{},
                u"Nem érhető el a Thunderbird-címjegyzék: „%1” – %2."_s.arg(
                    source, systemErrorText(errno))};
    if (!S_ISDIR(status.st_mode))
        return {{source}, {}};
    if (QFileInfo::exists(QDir(source).filePath(u"profiles.ini"_s)))
        return booksOfDefaultProfile(source);
    return booksOfProfile(source);
}
