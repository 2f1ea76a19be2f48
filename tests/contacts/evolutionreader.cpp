#include "contacts/sourcemodule.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPluginLoader>

#include <cstdio>
#include <glib.h>

using namespace Qt::StringLiterals;

// What the D-Bus object manager client of GLib 2.74 leaks as the registry of address books starts:
// a few bytes for every proxy it makes. LeakSanitizer is to report this program's own leaks.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:e_dbus_object_manager_client_new_for_bus_sync\n";
}

// Without frame pointers in GLib, only the slow unwinder finds the callers named above; the
// suppressions used go unsaid, as the errors of the reading are compared with none.
extern "C" const char* __asan_default_options()
{
    return "fast_unwind_on_malloc=0:print_suppressions=0";
}

// Reads the source "evolution" as zorvat-nevnap does, in a process of its own: loads the module,
// calls it once and prints the reading as JSON, with how long the call took.
int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QPluginLoader module(QStringLiteral(ZORVAT_EVOLUTION_MODULE));
    auto* reader = qobject_cast<ContactSourceModule*>(module.instance());
    if (!reader) {
        std::fprintf(stderr, "%s\n", qPrintable(module.errorString()));
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    const SourceReading reading = reader->read(u"evolution"_s);
    const qint64 milliseconds = timer.elapsed();
    // As libebook's threads may say something after a reading: it must not reach the terminal.
    g_warning("GLib's own warning after the reading");

    QJsonArray contacts;
    for (const Contact& contact : reading.contacts)
        contacts.append(
            QJsonObject{{u"uid"_s, contact.uid},
                        {u"formattedName"_s, contact.formattedName},
                        {u"hasName"_s, contact.hasName},
                        {u"familyName"_s, contact.familyName},
                        {u"givenNames"_s, QJsonArray::fromStringList(contact.givenNames)},
                        {u"nicknames"_s, QJsonArray::fromStringList(contact.nicknames)}});
    const QJsonObject printed{{u"contacts"_s, contacts},
                              {u"cards"_s, reading.cards},
                              {u"malformed"_s, reading.malformed},
                              {u"problem"_s, reading.problem},
                              {u"milliseconds"_s, milliseconds}};
    std::fputs(QJsonDocument(printed).toJson(QJsonDocument::Compact).constData(), stdout);
    return 0;
}
