#include "support/evolutionbus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <libebook/libebook.h>
#include <tuple>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
const QString registryService = u"org.gnome.evolution.dataserver.Sources5"_s;

struct Reading
{
    QJsonObject printed;
    QString errors;
    qint64 wallMilliseconds = 0;
};

// The module's reading, as a program of its own on `busAddress` prints it.
Reading readEvolution(const QString& busAddress)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, busAddress);
    QProcess reader;
    reader.setProcessEnvironment(environment);
    QElapsedTimer wall;
    wall.start();
    reader.start(QStringLiteral(ZORVAT_EVOLUTION_READER));
    if (!reader.waitForFinished(60'000) || reader.exitStatus() != QProcess::NormalExit ||
        reader.exitCode() != 0) {
        reader.kill();
        reader.waitForFinished();
        return {{}, u"the reader failed: "_s + QString::fromUtf8(reader.readAllStandardError()), 0};
    }
    return {QJsonDocument::fromJson(reader.readAllStandardOutput()).object(),
            QString::fromUtf8(reader.readAllStandardError()), wall.elapsed()};
}

// Each contact on a line, "uid | FN | N or - | family | given names | nicknames", sorted.
QStringList contactLines(const QJsonObject& reading)
{
    QStringList lines;
    for (const QJsonValue& contact : reading[u"contacts"_s].toArray()) {
        const auto names = [&contact](const QString& key) {
            QStringList names;
            for (const QJsonValue& name : contact[key].toArray())
                names.append(name.toString());
            return names.join(u',');
        };
        lines.append(u"%1 | %2 | %3 | %4 | %5 | %6"_s.arg(
            contact[u"uid"_s].toString(), contact[u"formattedName"_s].toString(),
            contact[u"hasName"_s].toBool() ? u"N"_s : u"-"_s, contact[u"familyName"_s].toString(),
            names(u"givenNames"_s), names(u"nicknames"_s)));
    }
    lines.sort();
    return lines;
}

const QStringList everyoneEnabled{
    u"anna | Kovács Anna Mária | N | Kovács | Anna,Mária | "_s,
    u"nagymama | Nagymama | - |  |  | "_s,
    u"odon | dr. Tóth Ödön Ferenc | N | Tóth | Ödön,Ferenc | "_s,
    u"peti | Szabó Péter | N | Szabó | Péter | Peti,Petya"_s,
    u"zsuzsi | Horváth Zsuzsanna | N | Horváth | Zsuzsanna | Zsuzsi"_s,
};
const int cardsEnabled = 6; // the five above and the list "Barátok"

} // namespace

class Evolution : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void readsEveryEnabledAddressBook();
    void namesTheAddressBookThatCannotBeOpened();
    void unreachable_data();
    void unreachable();
    void givesUpOnAServerThatDoesNotAnswer();

private:
    ESource* addAddressBook(const char* name, const char* backend, bool enabled,
                            const QList<const char*>& cards);

    QTemporaryDir m_home;
    QProcess m_bus;
    QString m_busAddress;
    GDBusConnection* m_glibBus = nullptr;
    ESourceRegistry* m_registry = nullptr;
};

void Evolution::initTestCase()
{
    QVERIFY(m_home.isValid());
    const QDir home(m_home.path());
    QVERIFY(evolutionbus::makeOwnHome(home, "home"));
    qunsetenv("DISPLAY");
    // EDS's own activation files, and nothing else installed on this machine.
    m_busAddress = evolutionbus::startBus(
        m_bus, home, {registryService, u"org.gnome.evolution.dataserver.AddressBook10"_s});
    QVERIFY2(!m_busAddress.isEmpty(), "dbus-daemon did not start: install dbus-daemon");
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_busAddress.toUtf8());

    GError* error = nullptr;
    m_glibBus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    QVERIFY2(m_glibBus, error ? error->message : "");
    // The bus stops before this process does.
    g_dbus_connection_set_exit_on_close(m_glibBus, false);
    m_registry = e_source_registry_new_sync(nullptr, &error);
    QVERIFY2(m_registry, error ? error->message : "");

    const std::initializer_list<std::tuple<const char*, bool, QList<const char*>>> addressBooks{
        {"Család",
         true,
         {"BEGIN:VCARD\nVERSION:3.0\nUID:anna\nFN:Kovács Anna Mária\nN:Kovács;Anna,Mária;;;\n"
          "END:VCARD",
          "BEGIN:VCARD\nVERSION:3.0\nUID:peti\nFN:Szabó Péter\nN:Szabó;Péter;;;\n"
          "NICKNAME:Peti,Petya\nEND:VCARD",
          "BEGIN:VCARD\nVERSION:3.0\nUID:nagymama\nFN:Nagymama\nEND:VCARD",
          "BEGIN:VCARD\nVERSION:3.0\nUID:odon\nFN:dr. Tóth Ödön Ferenc\nN:Tóth;Ödön;Ferenc;dr.;\n"
          "END:VCARD",
          "BEGIN:VCARD\nVERSION:3.0\nUID:baratok\nFN:Barátok\nX-EVOLUTION-LIST:TRUE\nEND:VCARD"}},
        {"Munka",
         true,
         {"BEGIN:VCARD\nVERSION:3.0\nUID:zsuzsi\nFN:Horváth Zsuzsanna\nN:Horváth;Zsuzsanna;;;\n"
          "NICKNAME:Zsuzsi\nEND:VCARD"}},
        {"Régi",
         false,
         {"BEGIN:VCARD\nVERSION:3.0\nUID:elek\nFN:Elfelejtett Elek\nN:Elfelejtett;Elek;;;\n"
          "END:VCARD"}},
    };
    for (const auto& [name, enabled, cards] : addressBooks) {
        ESource* source = addAddressBook(name, "local", enabled, cards);
        QVERIFY2(source, name);
        g_object_unref(source);
    }
}

// Every process on the test's bus is the test's or one the bus started for it.
void Evolution::cleanupTestCase()
{
    g_clear_object(&m_registry);
    evolutionbus::stopBus(m_bus, m_busAddress);
    g_clear_object(&m_glibBus);
}

// A new address book of the server's, holding `cards`; null, with a warning, where the server
// refused a step.
ESource* Evolution::addAddressBook(const char* name, const char* backend, bool enabled,
                                   const QList<const char*>& cards)
{
    GError* error = nullptr;
    const auto refused = [&error](ESource* source) -> ESource* {
        qWarning("%s", error->message);
        g_error_free(error);
        g_object_unref(source);
        return nullptr;
    };
    ESource* added = e_source_new(nullptr, nullptr, nullptr);
    e_source_set_display_name(added, name);
    e_source_set_parent(added, "local-stub");
    e_source_backend_set_backend_name(
        E_SOURCE_BACKEND(e_source_get_extension(added, E_SOURCE_EXTENSION_ADDRESS_BOOK)), backend);
    if (!e_source_registry_commit_source_sync(m_registry, added, nullptr, &error))
        return refused(added);
    // The registry's own copy is the one that can be changed.
    ESource* source = e_source_registry_ref_source(m_registry, e_source_get_uid(added));
    g_object_unref(added);
    if (!cards.isEmpty()) {
        EClient* client = e_book_client_connect_sync(source, guint32(-1), nullptr, &error);
        if (!client)
            return refused(source);
        GSList* contacts = nullptr;
        for (const char* card : cards)
            contacts = g_slist_append(contacts, e_contact_new_from_vcard(card));
        const bool added = e_book_client_add_contacts_sync(
            E_BOOK_CLIENT(client), contacts, E_BOOK_OPERATION_FLAG_NONE, nullptr, nullptr, &error);
        g_slist_free_full(contacts, g_object_unref);
        g_object_unref(client);
        if (!added)
            return refused(source);
    }
    e_source_set_enabled(source, enabled);
    if (!e_source_write_sync(source, nullptr, &error))
        return refused(source);
    return source;
}

void Evolution::readsEveryEnabledAddressBook()
{
    const Reading reading = readEvolution(m_busAddress);
    QCOMPARE(reading.errors, QString());
    QCOMPARE(reading.printed[u"problem"_s].toString(), QString());
    QCOMPARE(contactLines(reading.printed), everyoneEnabled);
    QCOMPARE(reading.printed[u"cards"_s].toInt(), cardsEnabled);
    QCOMPARE(reading.printed[u"malformed"_s].toInt(), 0);
}

void Evolution::namesTheAddressBookThatCannotBeOpened()
{
    ESource* broken = addAddressBook("Hibás", "nincs-ilyen", true, {});
    QVERIFY(broken);
    const auto removeBroken = qScopeGuard([broken] {
        e_source_remove_sync(broken, nullptr, nullptr);
        g_object_unref(broken);
    });
    const Reading reading = readEvolution(m_busAddress);
    QCOMPARE(reading.errors, QString());
    const QString problem = reading.printed[u"problem"_s].toString();
    QVERIFY2(problem.startsWith(u"Nem olvasható címjegyzék: „Hibás” – nem nyitható meg ("_s) &&
                 problem.endsWith(u")."_s),
             qPrintable(problem));
    QCOMPARE(contactLines(reading.printed), everyoneEnabled);
    QCOMPARE(reading.printed[u"cards"_s].toInt(), cardsEnabled);
}

void Evolution::unreachable_data()
{
    QTest::addColumn<bool>("bus");
    QTest::addColumn<QString>("problem"); // the Hungarian text before GLib's in parentheses

    QTest::newRow("no bus") << false
                            << u"Nem érhető el a munkamenet D-Bus-busza, ezért az Evolution Data "
                               "Server címjegyzékei nem olvashatók ("_s;
    QTest::newRow("a bus without the server")
        << true
        << u"Az Evolution Data Server nem fut, és ebben a munkamenetben nem is indítható ("_s;
}

void Evolution::unreachable()
{
    QFETCH(bool, bus);
    QFETCH(QString, problem);
    QTemporaryDir folder;
    QProcess serverless;
    QString address = u"unix:path="_s + folder.filePath(u"no-bus"_s);
    if (bus) {
        address = evolutionbus::startBus(serverless, QDir(folder.path()), {});
        QVERIFY(!address.isEmpty());
    }
    const Reading reading = readEvolution(address);
    serverless.terminate();
    serverless.waitForFinished();
    QCOMPARE(reading.errors, QString());
    const QString said = reading.printed[u"problem"_s].toString();
    QVERIFY2(said.startsWith(problem) && said.endsWith(u")."_s) && said.size() > problem.size() + 2,
             qPrintable(said));
    QCOMPARE(reading.printed[u"contacts"_s].toArray().size(), 0);
    QVERIFY2(reading.wallMilliseconds < 5'000,
             qPrintable(QString::number(reading.wallMilliseconds)));
}

void Evolution::givesUpOnAServerThatDoesNotAnswer()
{
    qint64 registry = 0;
    {
        const QDBusConnection bus = QDBusConnection::connectToBus(m_busAddress, u"stopper"_s);
        registry = bus.interface()->servicePid(registryService).value();
    }
    QDBusConnection::disconnectFromBus(u"stopper"_s);
    QVERIFY(registry > 0);
    kill(pid_t(registry), SIGSTOP);
    const Reading reading = readEvolution(m_busAddress);
    kill(pid_t(registry), SIGCONT);
    QCOMPARE(reading.errors, QString());
    QCOMPARE(reading.printed[u"problem"_s].toString(),
             u"Az Evolution Data Server nem válaszolt öt másodpercen belül."_s);
    const qint64 waited = reading.printed[u"milliseconds"_s].toInteger();
    QVERIFY2(waited < 5'000, qPrintable(QString::number(waited)));
}

QTEST_GUILESS_MAIN(Evolution)
#include "tst_evolution.moc"
