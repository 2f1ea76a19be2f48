#include "contacts/thunderbird/thunderbirdprofiles.h"

#include "contacts/configuration.h"
#include "contacts/thunderbirdsource.h"
#include "system/regularfile.h"
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
// The Path= of the profile that Thunderbird opens: its installation's default, else the one
// marked Default=1, else the only one; empty when the list names none.
QString defaultProfilePath(const QList<IniSection>& sections)
{
    const auto valueOf = [](const IniSection& section, QStringView key) {
        for (const auto& [name, value] : section.values)
            if (name == key)
                return value;
        return QString();
    };
    for (const IniSection& section : sections) {
        const QString path = valueOf(section, u"Default");
        if (section.name.startsWith(u"Install") && !path.isEmpty())
            return path;
    }
    QStringList profiles;
    for (const IniSection& section : sections) {
        const QString path = valueOf(section, u"Path");
        if (!section.name.startsWith(u"Profile") || path.isEmpty())
            continue;
        if (valueOf(section, u"Default") == u"1")
            return path;
        profiles.append(path);
    }
    return profiles.size() == 1 ? profiles.first() : QString();
}

AddressBookFiles booksOfProfile(const QString& folder)
{
    const int descriptor =
        ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
    const QByteArray file = QFile::encodeName(listPath);
    QByteArray list;
    QString problem;
    struct stat status;
    if (::stat(file.constData(), &status) != 0)
        problem = systemErrorText(errno);
    else if (!S_ISREG(status.st_mode))
        problem = notAFileText(status.st_mode);
    else // a list of a few profiles takes a few hundred bytes
        problem = readRegularFile(AT_FDCWD, file.constData(), 1 << 20, list).failure;
    if (!problem.isEmpty())
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
