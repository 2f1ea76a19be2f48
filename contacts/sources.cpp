#include "contacts/sources.h"

#include "contacts/namematcher.h"
#include "contacts/sourcemodule.h"
#include "contacts/thunderbirdsource.h"
#include "contacts/vcardfiles.h"
#include "system/modules.h"

#include <future>
#include <vector>

using namespace Qt::StringLiterals;

namespace {
SourceReading unreadable(const QString& source, const QString& problem)
{
    SourceReading reading;
    reading.source = source;
    reading.problem = problem;
    return reading;
}
} // namespace

SourceReading readContactSource(const QString& source)
{
    QString problem;
    if (source == u"evolution") {
        auto* module = loadModule<ContactSourceModule>(u"zorvat-nevnap-evolution"_s, problem);
        if (!module)
            return unreadable(source, u"A GNOME névjegyei (evolution) csak a zorvat-evolution "
                                      "csomaggal olvashatók. %1"_s.arg(problem));
        return module->read(source);
    }

    const QString path = expandedPath(source);
    if (isThunderbirdSource(path)) {
        auto* module = loadModule<ContactSourceModule>(u"zorvat-nevnap-thunderbird"_s, problem);
        if (!module)
            return unreadable(source, problem);
        SourceReading reading = module->read(path);
        reading.source = source;
        return reading;
    }

    SourceReading reading = readVCardSource(path);
    reading.source = source;
    return reading;
}

ContactSources readContactSources(const QStringList& namedSources, bool noSources,
                                  QString& complaint)
{
    ContactSources read;
    read.configuration = readConfiguration(complaint);
    if (noSources)
        return read;
    const QStringList sources = namedSources.isEmpty() ? read.configuration.sources : namedSources;
    // Side by side, a status bar waits for the slowest source only; GNOME's address books on
    // this thread, as GLib wants.
    std::vector<std::future<SourceReading>> readings;
    for (const QString& source : sources)
        readings.push_back(
            std::async(source == u"evolution" ? std::launch::deferred : std::launch::async,
                       readContactSource, source));
    for (std::future<SourceReading>& reading : readings)
        read.readings += reading.get();
    return read;
}

PersonIndex personIndexOf(const ContactSources& sources)
{
    const NameMatcher matcher(sources.configuration.aliases);
    PersonIndex people;
    for (const SourceReading& reading : sources.readings)
        people.add(reading.contacts, matcher);
    return people;
}
