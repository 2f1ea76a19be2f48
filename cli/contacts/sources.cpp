#include "cli/contacts/sources.h"

#include "cli/contacts/configuration.h"
#include "cli/contacts/thunderbirdsource.h"
#include "cli/contacts/vcardfiles.h"
#include "cli/modules.h"

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
        using Read = void (*)(SourceReading&);
        const auto read = reinterpret_cast<Read>(
            moduleFunction(u"zorvat-nevnap-evolution"_s, "zorvatReadEvolution", problem));
        if (!read)
            return unreadable(source, u"A GNOME névjegyei (evolution) csak a zorvat-evolution "
                                      "csomaggal olvashatók. %1"_s.arg(problem));
        SourceReading reading;
        read(reading);
        reading.source = source;
        return reading;
    }

    const QString path = expandedPath(source);
    if (isThunderbirdSource(path)) {
        using Read = void (*)(const QString&, SourceReading&);
        const auto read = reinterpret_cast<Read>(
            moduleFunction(u"zorvat-nevnap-thunderbird"_s, "zorvatReadThunderbird", problem));
        if (!read)
            return unreadable(source, problem);
        SourceReading reading;
        read(path, reading);
        reading.source = source;
        return reading;
    }

    SourceReading reading = readVCardSource(path);
    reading.source = source;
    return reading;
}
