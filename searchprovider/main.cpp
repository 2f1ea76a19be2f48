#include "contacts/sources.h"
#include "searchprovider/searchservice.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>

#include <cstdio>
#include <malloc.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {
void say(const QString& message)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                 qPrintable(message));
}

// The user's people, where sources are configured and the search may show them; read once for
// the life of the service, which ends a minute after the last question.
PersonIndex peopleToSearch()
{
    QString complaint;
    if (const Configuration configuration = readConfiguration(complaint);
        !configuration.contactsInSearch || configuration.sources.isEmpty()) {
        if (!complaint.isEmpty())
            say(complaint);
        return {};
    }
    const ContactSources sources = readContactSources({}, false, complaint);
    if (!complaint.isEmpty())
        say(complaint);
    for (const SourceReading& reading : sources.readings)
        if (!reading.problem.isEmpty())
            say(reading.problem);
    if (!sources.configuration.contactsInSearch)
        return {};
    return personIndexOf(sources);
}
} // namespace

int main(int argc, char* argv[])
{
    // The sources are read on threads of their own, and the people keep strings of what they
    // read: in arenas of their own, 10,000 cards held 5 MiB more for the life of the service.
    mallopt(M_ARENA_MAX, 1);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(u"zorvat-search-provider"_s);

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        say(u"Nem érhető el a munkamenet D-Bus-busza."_s);
        return 1;
    }
    SearchService service(NameDaySearch(peopleToSearch()), 1min);
    QObject::connect(&service, &SearchService::idle, &app, &QCoreApplication::quit);
    // Logging out takes the session bus away, and nobody is left to ask.
    bus.connect(QString(), u"/org/freedesktop/DBus/Local"_s, u"org.freedesktop.DBus.Local"_s,
                u"Disconnected"_s, &app, SLOT(quit()));
    if (!bus.registerObject(searchObjectPath, &service, QDBusConnection::ExportAdaptors) ||
        !bus.registerService(searchBusName)) {
        say(u"A keresőszolgáltatás már fut, vagy nem jegyezhető be a buszon: %1"_s.arg(
            bus.lastError().message()));
        return 1;
    }
    return app.exec();
}
