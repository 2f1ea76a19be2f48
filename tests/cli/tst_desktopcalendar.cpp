#include "support/evolutionbus.h"
#include "support/fakeclock.h"
#include "support/inprocess.h"
#include "support/reference.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <libecal/libecal.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
const QString nameDaysUid = u"zorvat-nevnapok"_s;
const QString peopleUid = u"zorvat-ismerosok-nevnapjai"_s;
const QString factoryService = u"org.gnome.evolution.dataserver.Calendar8"_s;

// Kovács Mátyás celebrates on 24 February, and on the 25th in a leap year.
const QByteArray twoPeople = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:ambrus\r\nFN:Kiss Ambrus\r\n"
                             "N:Kiss;Ambrus;;;\r\nEND:VCARD\r\n"
                             "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:matyas\r\nFN:Kovács Mátyás\r\n"
                             "N:Kovács;Mátyás;;;\r\nEND:VCARD\r\n";
// Kiss Ambrus deleted, Tóth Ödön added.
const QByteArray twoOtherPeople = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:matyas\r\nFN:Kovács Mátyás\r\n"
                                  "N:Kovács;Mátyás;;;\r\nEND:VCARD\r\n"
                                  "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:odon\r\nFN:Tóth Ödön\r\n"
                                  "N:Tóth;Ödön;;;\r\nEND:VCARD\r\n";

// A session bus that ends with the test and activates only what `services` holds.
bool writeFile(const QString& path, const QByteArray& text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// One event of a calendar as Evolution Data Server gives it to its clients.
struct Event
{
    QString summary;
    bool isPrivate = false;
    int reminderSeconds = 0; // before the event: negative; 0 for none
};

// The events on the day, noon to noon and a second, so that the zone does not matter.
QList<Event> eventsOn(ECalClient* client, const QDate& day)
{
    const QString noon = day.toString(u"yyyyMMdd'T120000Z'");
    const QString query = u"(occur-in-time-range? (make-time \"%1\") (make-time \"%2\"))"_s.arg(
        noon, day.toString(u"yyyyMMdd'T120001Z'"));
    GSList* components = nullptr;
    GError* error = nullptr;
    QList<Event> events;
    if (!e_cal_client_get_object_list_as_comps_sync(client, query.toUtf8().constData(), &components,
                                                    nullptr, &error)) {
        qWarning("%s", error->message);
        g_error_free(error);
        return {{u"(the query failed)"_s}};
    }
    for (GSList* item = components; item; item = item->next) {
        auto* component = E_CAL_COMPONENT(item->data);
        Event event;
        ECalComponentText* summary = e_cal_component_get_summary(component);
        event.summary = QString::fromUtf8(e_cal_component_text_get_value(summary));
        e_cal_component_text_free(summary);
        event.isPrivate =
            e_cal_component_get_classification(component) == E_CAL_COMPONENT_CLASS_PRIVATE;
        GSList* alarms = e_cal_component_get_all_alarms(component);
        if (alarms)
            event.reminderSeconds = i_cal_duration_as_int(
                e_cal_component_alarm_trigger_get_duration(e_cal_component_alarm_get_trigger(
                    static_cast<ECalComponentAlarm*>(alarms->data))));
        g_slist_free_full(alarms, e_cal_component_alarm_free);
        events.append(event);
    }
    g_slist_free_full(components, g_object_unref);
    return events;
}

QStringList summariesOn(ECalClient* client, const QDate& day)
{
    QStringList summaries;
    for (const Event& event : eventsOn(client, day))
        summaries.append(event.summary);
    return summaries;
}

int eventCount(ECalClient* client)
{
    GSList* components = nullptr;
    if (!e_cal_client_get_object_list_as_comps_sync(client, "#t", &components, nullptr, nullptr))
        return -1;
    const int count = int(g_slist_length(components));
    g_slist_free_full(components, g_object_unref);
    return count;
}

} // namespace

class DesktopCalendarTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void yearsAtTheCalendarsEdges_data();
    void yearsAtTheCalendarsEdges();
    void registeredBeforeTheRegistryStarts();
    void eventsAsTheServerReadsThem_data();
    void eventsAsTheServerReadsThem();
    void rewriteSeenWithoutRestartingTheFactory();
    void secondOnDoublesNothing();
    void offLeavesNothingBehind();
    void programOnTodayWhileTheRegistryRuns();

private:
    bool isRegistered(const QString& uid) const;
    int sourcesNamed(const char* name) const;
    ECalClient* connect(const QString& uid) const;
    qint64 factoryProcess() const;

    QTemporaryDir m_folder;
    QString m_home;
    QProcess m_bus;
    QString m_busAddress;
    ESourceRegistry* m_registry = nullptr;
    ECalClient* m_nameDays = nullptr;
    ECalClient* m_people = nullptr;
};

void DesktopCalendarTest::initTestCase()
{
    QVERIFY(m_folder.isValid());
    // A space and accents, which the sources must carry as a URI.
    m_home = m_folder.filePath(u"Névnap teszt"_s);
    const QDir home(m_home);
    QVERIFY(evolutionbus::makeOwnHome(home, "."));
    QVERIFY(home.mkpath(u"config/zorvat"_s));
    QVERIFY(writeFile(home.filePath(u"people.vcf"_s), twoPeople));
    QVERIFY(writeFile(home.filePath(u"config/zorvat/zorvat-nevnap.conf"_s),
                      "[contacts]\nsources=~/people.vcf\nremind=2\n"));

    m_busAddress =
        evolutionbus::startBus(m_bus, QDir(m_folder.path()),
                               {u"org.gnome.evolution.dataserver.Sources5"_s, factoryService});
    QVERIFY2(!m_busAddress.isEmpty(), "dbus-daemon did not start: install dbus-daemon");
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_busAddress.toUtf8());
}

// Every process on the test's bus is the test's or one the bus started for it.
void DesktopCalendarTest::cleanupTestCase()
{
    g_clear_object(&m_nameDays);
    g_clear_object(&m_people);
    g_clear_object(&m_registry);
    evolutionbus::stopBus(m_bus, m_busAddress);
}

bool DesktopCalendarTest::isRegistered(const QString& uid) const
{
    ESource* source = e_source_registry_ref_source(m_registry, uid.toUtf8().constData());
    if (source)
        g_object_unref(source);
    return source;
}

int DesktopCalendarTest::sourcesNamed(const char* name) const
{
    GList* sources = e_source_registry_list_sources(m_registry, E_SOURCE_EXTENSION_CALENDAR);
    int count = 0;
    for (GList* item = sources; item; item = item->next)
        count += qstrcmp(e_source_get_display_name(E_SOURCE(item->data)), name) == 0;
    g_list_free_full(sources, g_object_unref);
    return count;
}

ECalClient* DesktopCalendarTest::connect(const QString& uid) const
{
    ESource* source = e_source_registry_ref_source(m_registry, uid.toUtf8().constData());
    if (!source)
        return nullptr;
    GError* error = nullptr;
    EClient* client = e_cal_client_connect_sync(source, E_CAL_CLIENT_SOURCE_TYPE_EVENTS,
                                                guint32(-1), nullptr, &error);
    g_object_unref(source);
    if (!client) {
        qWarning("%s", error->message);
        g_error_free(error);
    }
    return E_CAL_CLIENT(client);
}

qint64 DesktopCalendarTest::factoryProcess() const
{
    const qint64 process = [this] {
        const QDBusConnection bus = QDBusConnection::connectToBus(m_busAddress, u"factory"_s);
        return qint64(bus.interface()->servicePid(factoryService).value());
    }();
    QDBusConnection::disconnectFromBus(u"factory"_s);
    return process;
}

void DesktopCalendarTest::yearsAtTheCalendarsEdges_data()
{
    QTest::addColumn<QDateTime>("clock");
    QTest::addColumn<QString>("firstDay");
    QTest::addColumn<QString>("lastDay");
    QTest::addColumn<int>("days");

    QTest::newRow("the calendar's first year")
        << at(1900, 3, 1) << u"19000101"_s << u"19011231"_s << 365 + 365;
    QTest::newRow("its last year, not a leap year")
        << at(2100, 3, 1) << u"20990101"_s << u"21001231"_s << 365 + 365;
    QTest::newRow("a leap year last year, on New Year's Eve")
        << at(2025, 12, 31, 23, 59, 59) << u"20240101"_s << u"20261231"_s << 366 + 365 + 365;
}

// Written while no registry runs: the file holds the years and nothing is left after off.
void DesktopCalendarTest::yearsAtTheCalendarsEdges()
{
    QFETCH(QDateTime, clock);
    QFETCH(QString, firstDay);
    QFETCH(QString, lastDay);
    QFETCH(int, days);
    const FakeClock fixed(clock);
    const InProcessRun on = run({u"--desktop-calendar"_s, u"on"_s});
    QCOMPARE(on.status, 0);
    QFile file(m_home + u"/data/zorvat/nevnapok.ics"_s);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList starts =
        QString::fromUtf8(file.readAll()).split(u"\r\n"_s).filter(u"DTSTART;VALUE=DATE:"_s);
    QCOMPARE(starts.size(), days);
    QCOMPARE(starts.constFirst(), u"DTSTART;VALUE=DATE:"_s + firstDay);
    QCOMPARE(starts.constLast(), u"DTSTART;VALUE=DATE:"_s + lastDay);
    QCOMPARE(run({u"--desktop-calendar"_s, u"off"_s}).status, 0);
    QVERIFY(!QFileInfo::exists(m_home + u"/data/zorvat"_s));
}

void DesktopCalendarTest::registeredBeforeTheRegistryStarts()
{
    const FakeClock clock(at(2027, 6, 15));
    const InProcessRun on = run({u"--desktop-calendar"_s, u"on"_s});
    QCOMPARE(on.err, QString());
    QCOMPARE(on.status, 0);
    const QStringList said = on.out.split(u'\n');
    QCOMPARE(said.mid(0, 4),
             (QStringList{u"Névnapok: bejegyezve, 2026–2028"_s,
                          u"  "_s + m_home + u"/data/zorvat/nevnapok.ics"_s,
                          u"Ismerősök névnapjai: bejegyezve, 2026–2028"_s,
                          u"  "_s + m_home + u"/data/zorvat/ismerosok-nevnapjai.ics"_s}));
    QVERIFY2(said.value(4).startsWith(u"Napi frissítés: nincs bekapcsolva, mert nem fut "
                                      "felhasználói szolgáltatáskezelő (systemd --user)"_s),
             qPrintable(on.out));

    GError* error = nullptr;
    m_registry = e_source_registry_new_sync(nullptr, &error);
    QVERIFY2(m_registry, error ? error->message : "");
    QVERIFY(isRegistered(nameDaysUid));
    QVERIFY(isRegistered(peopleUid));
    m_nameDays = connect(nameDaysUid);
    m_people = connect(peopleUid);
    QVERIFY(m_nameDays && m_people);
    QVERIFY(e_client_is_readonly(E_CLIENT(m_nameDays)));
    QVERIFY(e_client_is_readonly(E_CLIENT(m_people)));
    QCOMPARE(eventCount(m_nameDays), 365 + 365 + 366);
}

void DesktopCalendarTest::eventsAsTheServerReadsThem_data()
{
    QTest::addColumn<bool>("people");
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QString>("summary"); // empty where no event should be there

    for (const QDate& day :
         {QDate(2027, 6, 15), QDate(2026, 1, 1), QDate(2028, 2, 23), QDate(2028, 2, 24),
          QDate(2028, 2, 25), QDate(2028, 2, 29), QDate(2028, 12, 31)})
        QTest::addRow("name days, %s", qPrintable(day.toString(Qt::ISODate)))
            << false << day << u"Névnap: "_s + reference::day(day).names;
    QTest::newRow("name days, the year before last") << false << QDate(2025, 12, 31) << QString();
    QTest::newRow("name days, the year after next") << false << QDate(2029, 1, 1) << QString();
    QTest::newRow("a person, this year") << true << QDate(2027, 12, 7) << u"Kiss Ambrus névnapja"_s;
    QTest::newRow("a person, a common year's 24 February")
        << true << QDate(2027, 2, 24) << u"Kovács Mátyás névnapja"_s;
    QTest::newRow("a person, a leap year's 24 February") << true << QDate(2028, 2, 24) << QString();
    QTest::newRow("a person, a leap year's 25 February")
        << true << QDate(2028, 2, 25) << u"Kovács Mátyás névnapja"_s;
    QTest::newRow("a person, nobody's day") << true << QDate(2027, 6, 15) << QString();
}

void DesktopCalendarTest::eventsAsTheServerReadsThem()
{
    QFETCH(bool, people);
    QFETCH(QDate, day);
    QFETCH(QString, summary);
    QVERIFY(m_nameDays && m_people);
    const QList<Event> events = eventsOn(people ? m_people : m_nameDays, day);
    QCOMPARE(events.size(), summary.isEmpty() ? 0 : 1);
    if (summary.isEmpty())
        return;
    QCOMPARE(events.constFirst().summary, summary);
    QCOMPARE(events.constFirst().isPrivate, people);
    QCOMPARE(events.constFirst().reminderSeconds, people ? -2 * 24 * 60 * 60 : 0);
}

// The people's file changes within the second it was written in, on the same fake clock.
void DesktopCalendarTest::rewriteSeenWithoutRestartingTheFactory()
{
    QVERIFY(m_people);
    const qint64 factory = factoryProcess();
    QVERIFY(factory > 0);
    QVERIFY(writeFile(m_home + u"/people.vcf"_s, twoOtherPeople));
    const FakeClock clock(at(2027, 6, 15));
    const InProcessRun refresh = run({u"--desktop-calendar"_s, u"refresh"_s});
    QCOMPARE(refresh.err, QString());
    QCOMPARE(refresh.status, 0);
    QVERIFY2(refresh.out.contains(u"Ismerősök névnapjai: frissítve, 2026–2028\n"_s),
             qPrintable(refresh.out));
    QTRY_COMPARE_WITH_TIMEOUT(summariesOn(m_people, QDate(2027, 11, 16)),
                              QStringList{u"Tóth Ödön névnapja"_s}, 10'000);
    QCOMPARE(summariesOn(m_people, QDate(2027, 12, 7)), QStringList());
    QCOMPARE(factoryProcess(), factory);
}

void DesktopCalendarTest::secondOnDoublesNothing()
{
    QVERIFY(m_nameDays);
    const FakeClock clock(at(2027, 6, 15));
    QCOMPARE(run({u"--desktop-calendar"_s, u"on"_s}).status, 0);
    QTest::qWait(4'000); // longer than the registry takes to see a new source
    QCOMPARE(sourcesNamed("Névnapok"), 1);
    QCOMPARE(sourcesNamed("Ismerősök névnapjai"), 1);
    QCOMPARE(QDir(m_home + u"/config/evolution/sources"_s).entryList({u"zorvat*"_s}),
             (QStringList{peopleUid + u".source"_s, nameDaysUid + u".source"_s}));
    QCOMPARE(eventCount(m_nameDays), 365 + 365 + 366);
    QCOMPARE(summariesOn(m_nameDays, QDate(2027, 6, 15)), QStringList{u"Névnap: Jolán, Vid"_s});
}

void DesktopCalendarTest::offLeavesNothingBehind()
{
    g_clear_object(&m_nameDays);
    g_clear_object(&m_people);
    const InProcessRun off = run({u"--desktop-calendar"_s, u"off"_s});
    QCOMPARE(off.err, QString());
    QCOMPARE(off.status, 0);
    QCOMPARE(off.out, u"Névnapok: eltávolítva, a fájljával együtt\n"
                      "Ismerősök névnapjai: eltávolítva, a fájljával együtt\n"_s);
    QTRY_VERIFY_WITH_TIMEOUT(!isRegistered(nameDaysUid) && !isRegistered(peopleUid), 10'000);
    QStringList left;
    for (QDirIterator files(m_home, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                            QDirIterator::Subdirectories);
         files.hasNext();) {
        const QString path = files.next().sliced(m_home.size());
        if (path.contains(u"zorvat"_s, Qt::CaseInsensitive) || path.contains(u"nevnap"_s))
            left.append(path);
    }
    QCOMPARE(left, (QStringList{u"/config/zorvat"_s, u"/config/zorvat/zorvat-nevnap.conf"_s}));
    QCOMPARE(run({u"--desktop-calendar"_s}).out,
             u"Névnapok: nincs bejegyezve\nIsmerősök névnapjai: nincs bejegyezve\n"
             "Napi frissítés: nincs bekapcsolva\n"
             "Bekapcsolás: zorvat-nevnap --desktop-calendar on\n"_s);
}

// The program itself, on the real day, while the registry runs: the source is picked up.
void DesktopCalendarTest::programOnTodayWhileTheRegistryRuns()
{
    QProcess program;
    program.start(QStringLiteral(ZORVAT_NEVNAP_BINARY), {u"--desktop-calendar"_s, u"on"_s});
    QVERIFY(program.waitForFinished(30'000));
    QCOMPARE(QString::fromUtf8(program.readAllStandardError()), QString());
    QCOMPARE(program.exitCode(), 0);
    const QDate today = QDate::currentDate();
    QVERIFY(
        QString::fromUtf8(program.readAllStandardOutput())
            .startsWith(
                u"Névnapok: bejegyezve, %1–%2\n"_s.arg(today.year() - 1).arg(today.year() + 1)));
    QTRY_VERIFY_WITH_TIMEOUT(isRegistered(nameDaysUid) && isRegistered(peopleUid), 10'000);
    m_nameDays = connect(nameDaysUid);
    QVERIFY(m_nameDays);
    QCOMPARE(summariesOn(m_nameDays, today),
             QStringList{u"Névnap: "_s + reference::day(today).names});
    const QDate nextYear(today.year() + 1, 12, 24);
    QCOMPARE(summariesOn(m_nameDays, nextYear), QStringList{u"Névnap: Ádám, Éva"_s});
    g_clear_object(&m_nameDays);
    QCOMPARE(run({u"--desktop-calendar"_s, u"off"_s}).status, 0);
}

QTEST_GUILESS_MAIN(DesktopCalendarTest)
#include "tst_desktopcalendar.moc"
