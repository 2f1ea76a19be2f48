#include "cli/contacts/people.h"

#include "cli/contacts/regularfile.h"
#include "cli/contacts/sources.h"
#include "dates/arguments.h"
#include "dates/systemerrors.h"

#include <QCollator>
#include <QFile>
#include <QLocale>

#include <cerrno>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace {
constexpr qint64 largestConfiguration = 1024 * 1024;

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

} // namespace

People readPeople(const QStringList& namedSources, bool noSources, QString& complaint)
{
    People people;
    people.configuration = readConfiguration(complaint);
    if (noSources)
        return people;
    const QStringList sources =
        namedSources.isEmpty() ? people.configuration.sources : namedSources;
    // The sources are read side by side; GNOME's address books on this thread, as GLib wants.
    std::vector<std::future<SourceReading>> reading;
    for (const QString& source : sources)
        reading.push_back(
            std::async(source == u"evolution" ? std::launch::deferred : std::launch::async,
                       readContactSource, source));
    for (std::future<SourceReading>& source : reading)
        people.readings += source.get();
    return people;
}

Acquaintances acquaintancesOf(const People& people, const NameMatcher& matcher)
{
    Acquaintances acquaintances;
    for (const SourceReading& reading : people.readings)
        acquaintances.add(reading.contacts, matcher);
    return acquaintances;
}

QString contactCheck(const People& people, const NameMatcher& matcher)
{
    QString report;
    QStringList nameless;
    for (const SourceReading& reading : people.readings) {
        report += u"%1\n"_s.arg(reading.source);
        if (!reading.problem.isEmpty()) {
            report += u"  %1\n"_s.arg(reading.problem);
            continue;
        }
        int matched = 0;
        int onlyWithoutAccents = 0;
        for (const Contact& contact : reading.contacts) {
            const QList<NameMatcher::Match> names = matcher.namesOf(contact);
            if (names.isEmpty()) {
                if (const QString name = shownName(contact); !name.isEmpty())
                    nameless += name;
            } else if (std::ranges::all_of(names, &NameMatcher::Match::withoutAccents)) {
                ++onlyWithoutAccents;
            } else {
                ++matched;
            }
        }
        report += u"  névjegy: %1\n"_s.arg(reading.cards);
        report += u"  hibás, kihagyva: %1\n"_s.arg(reading.malformed);
        report += u"  névnappal: %1\n"_s.arg(matched);
        report += u"  névnappal, csak ékezet nélkül egyező névvel: %1\n"_s.arg(onlyWithoutAccents);
        report +=
            u"  névnap nélkül: %1\n"_s.arg(reading.contacts.size() - matched - onlyWithoutAccents);
    }
    if (!nameless.isEmpty()) {
        QCollator hungarianOrder{QLocale(QLocale::Hungarian)};
        std::ranges::sort(nameless, hungarianOrder);
        report += u"\nNévnap nélküli ismerősök (a beállítófájl [aliases] részében becenévvel "
                  "párosíthatók egy névnaphoz, például Pisti=István):\n"_s;
        for (const QString& name : std::as_const(nameless))
            report += u"  "_s + name + u'\n';
    }
    return report;
}
