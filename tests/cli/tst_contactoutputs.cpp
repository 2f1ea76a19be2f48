#include "cli/outputs.h"
#include "support/fakeclock.h"
#include "support/inprocess.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {
// An address book as a phone or a server would give it; "Kati" is an alias of the
// configuration, "Peter" is written without accents, "Jánosné" is a married name.
const QByteArray cards = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:kiss-ambrus\r\nFN:Kiss Ambrus\r\n"
                         "N:Kiss;Ambrus;;;\r\nEND:VCARD\r\n"
                         "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Tóth Ambrus\r\nN:Tóth;Ambrus;;;\r\n"
                         "END:VCARD\r\n"
                         "BEGIN:VCARD\r\nVERSION:4.0\r\nFN:Kiss Mátyás\r\nEND:VCARD\r\n"
                         "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Nagy Peter\r\nN:Nagy;Peter;;;\r\n"
                         "END:VCARD\r\n"
                         "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Szabó Kati\r\nNICKNAME:Kati\r\n"
                         "END:VCARD\r\n"
                         "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Kovács Jánosné\r\nEND:VCARD\r\n"
                         "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:broken\r\n";

void writeFile(const QString& path, const QByteArray& text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}
} // namespace

class ContactOutputs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void whoCelebrates_data();
    void whoCelebrates();
    void calendarOfPeople();
    void unreadableSources_data();
    void unreadableSources();
    void checkOfExports();
    void privateNotification();
    void configurationThatIsAPipe();

private:
    QTemporaryDir m_home;
    QByteArray m_configurationHome;
};

void ContactOutputs::initTestCase()
{
    writeFile(m_home.filePath(u"people.vcf"_s), cards);
    QVERIFY(QDir(m_home.path()).mkpath(u"config/zorvat"_s));
    writeFile(m_home.filePath(u"config/zorvat/zorvat-nevnap.conf"_s),
              "[contacts]\nsources=" + QFile::encodeName(m_home.filePath(u"people.vcf"_s)) +
                  "\n[aliases]\nKati=Katalin\n");
    m_configurationHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(u"config"_s)));
}

void ContactOutputs::cleanupTestCase()
{
    qputenv("XDG_CONFIG_HOME", m_configurationHome);
}

void ContactOutputs::whoCelebrates_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("out");

    QTest::newRow("two people") << QStringList{u"--date"_s, u"2026-12-07"_s}
                                << u"Ambrus — Kiss Ambrus, Tóth Ambrus\n"_s;
    QTest::newRow("nobody") << QStringList{u"--date"_s, u"2026-12-08"_s} << u"Mária\n"_s;
    QTest::newRow("leap year") << QStringList{u"--date"_s, u"2024-02-25"_s}
                               << u"Géza/Mátyás — Kiss Mátyás\n"_s;
    QTest::newRow("common year") << QStringList{u"--date"_s, u"2025-02-24"_s}
                                 << u"Mátyás — Kiss Mátyás\n"_s;
    QTest::newRow("written without accents")
        << QStringList{u"--date"_s, u"2026-06-29"_s} << u"Péter, Pál — Nagy Peter\n"_s;
    QTest::newRow("nickname through an alias")
        << QStringList{u"--date"_s, u"2026-11-25"_s} << u"Katalin — Szabó Kati\n"_s;
    QTest::newRow("--no-contacts")
        << QStringList{u"--date"_s, u"2026-12-07"_s, u"--no-contacts"_s} << u"Ambrus\n"_s;
    QTest::newRow("json")
        << QStringList{u"--json"_s, u"--date"_s, u"2026-12-06"_s}
        << u"{\"celebrated\":[\"Miklós\"],\"contacts\":[],\"date\":\"2026-12-06\",\"names\":"
           "\"Miklós\",\"red\":true,\"title\":null,\"tomorrow\":{\"celebrated\":[\"Ambrus\"],"
           "\"contacts\":[{\"celebrates\":\"Ambrus\",\"name\":\"Kiss Ambrus\"},{\"celebrates\":"
           "\"Ambrus\",\"name\":\"Tóth Ambrus\"}],\"date\":\"2026-12-07\",\"names\":\"Ambrus\","
           "\"red\":false,\"title\":null}}\n"_s;
    QTest::newRow("waybar, someone tomorrow")
        << QStringList{u"--waybar"_s, u"--date"_s, u"2026-12-06"_s}
        << u"{\"class\":[\"red\"],\"text\":\"Miklós\",\"tooltip\":\"2026  december 6, vasárnap\\n"
           "Miklós\\nHolnap: Ambrus\\nHolnap ismerőseid: Kiss Ambrus, Tóth Ambrus\"}\n"_s;
    QTest::newRow("waybar, someone today")
        << QStringList{u"--waybar"_s, u"--date"_s, u"2026-12-07"_s}
        << u"{\"class\":[\"contacts\"],\"text\":\"Ambrus\",\"tooltip\":\"2026  december 7, "
           "hétfő\\nAmbrus\\nIsmerőseid: Kiss Ambrus, Tóth Ambrus\\nHolnap: Mária\"}\n"_s;
    QTest::newRow("--name, an alias") << QStringList{u"--name"_s, u"kati"_s, u"--year"_s, u"2026"_s}
                                      << u"2026-04-30\n2026-11-25\n"_s;
    QTest::newRow("--name without accents")
        << QStringList{u"--name"_s, u" Peter "_s, u"--year"_s, u"2024"_s}
        << u"2024-04-29\n2024-06-29\n"_s;
    QTest::newRow("--name in a leap year")
        << QStringList{u"--name"_s, u"Mátyás"_s, u"--year"_s, u"2024"_s} << u"2024-02-25\n"_s;
    QTest::newRow("--name, a part of a name")
        << QStringList{u"--name"_s, u"Ann"_s, u"--year"_s, u"2026"_s} << QString();
    QTest::newRow("--check-contacts")
        << QStringList{u"--check-contacts"_s}
        << u"%1\n  névjegy: 7\n  hibás, kihagyva: 1\n  nem személy (csoport vagy szervezet): 0\n"
           "  névnappal: 4\n  névnappal, csak ékezet nélkül egyező névvel: 1\n  névnap nélkül: 1\n"
           "  Javítandó névjegyek:\n    „%1” 7. névjegye (30. sor): kihagyva, mert nincs vége "
           "(END:VCARD), mielőtt a fájl véget ér\n\nNévnap nélküli ismerősök (a "
           "beállítófájl [aliases] részében becenévvel párosíthatók egy névnaphoz, például "
           "Pisti=István):\n  Kovács Jánosné\n"_s.arg(m_home.filePath(u"people.vcf"_s));
}

void ContactOutputs::whoCelebrates()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, out);
    const InProcessRun answer = run(arguments);
    QCOMPARE(answer.err, QString());
    QCOMPARE(answer.status, 0);
    QCOMPARE(answer.out, out);
}

// One private event per person and name day, the same UIDs in every export.
void ContactOutputs::calendarOfPeople()
{
    const FakeClock clock(at(2026, 12, 7));
    const QStringList arguments = {u"--ical-contacts"_s, u"2024:2025"_s, u"--remind"_s, u"3"_s};
    const InProcessRun first = run(arguments);
    QCOMPARE(first.err, QString());
    QCOMPARE(first.status, 0);
    QCOMPARE(first.out.count(u"BEGIN:VEVENT"), 2 * (2 + 1 + 2 + 2));
    QVERIFY(first.out.contains(u"X-WR-CALNAME:Ismerőseim névnapjai\r\n"));
    QVERIFY(first.out.contains(u"DTSTART;VALUE=DATE:20240225\r\nDTEND;VALUE=DATE:20240226\r\n"
                               "SUMMARY:Kiss Mátyás névnapja\r\nDESCRIPTION:Mátyás\r\n"
                               "CLASS:PRIVATE\r\nTRANSP:TRANSPARENT\r\nCATEGORIES:Névnap\r\n"
                               "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-P3D\r\n"));
    QVERIFY(first.out.contains(u"DTSTART;VALUE=DATE:20250224\r\n"));
    QVERIFY(!first.out.contains(u"Jánosné"));

    const auto uids = [](const QString& calendar) {
        QStringList lines = calendar.split(u"\r\n"_s).filter(u"UID:"_s);
        lines.sort();
        return lines;
    };
    const QStringList firstUids = uids(first.out);
    QCOMPARE(QSet<QString>(firstUids.cbegin(), firstUids.cend()).size(), firstUids.size());
    QCOMPARE(uids(run(arguments).out), firstUids);
}

void ContactOutputs::unreadableSources_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");

    // polybar shows its failure format for a status that is not 0: the day's names stay.
    QTest::newRow("the day's names") << QStringList{u"--date"_s, u"2026-12-07"_s} << 0
                                     << u"Ambrus — Kiss Ambrus, Tóth Ambrus\n"_s;
    QTest::newRow("--check-contacts") << QStringList{u"--check-contacts"_s} << 1 << QString();
}

void ContactOutputs::unreadableSources()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, out);
    const QString missing = m_home.filePath(u"missing.vcf"_s);
    const QString problem =
        u"Nem olvashatók a névjegyek innen: „%1” – Nincs ilyen fájl vagy mappa (No such file "
        "or directory)."_s.arg(missing);
    const InProcessRun answer =
        run(arguments + QStringList{u"--contacts"_s, m_home.filePath(u"people.vcf"_s),
                                    u"--contacts"_s, missing});
    QCOMPARE(answer.status, status);
    if (status == 0) {
        QCOMPARE(answer.out, out);
        QCOMPARE(answer.err, u"tst_contactoutputs: "_s + problem + u'\n');
    } else {
        QVERIFY2(answer.out.contains(missing + u"\n  "_s + problem + u'\n'),
                 qPrintable(answer.out));
    }
}

// The counts of cards that other programs export, and where the cards are that need mending.
void ContactOutputs::checkOfExports()
{
    const QDir data(QFINDTESTDATA("../contacts/data"));
    const QString groups = data.filePath(u"groups.vcf"_s);
    const QString unnamed = data.filePath(u"outlook-no-charset.vcf"_s);
    const InProcessRun answer =
        run({u"--check-contacts"_s, u"--contacts"_s, groups, u"--contacts"_s, unnamed});
    QCOMPARE(answer.err, QString());
    QCOMPARE(answer.status, 0);
    QCOMPARE(answer.out,
             u"%1\n  névjegy: 5\n  hibás, kihagyva: 0\n  nem személy (csoport vagy szervezet): 4\n"
             "  névnappal: 1\n  névnappal, csak ékezet nélkül egyező névvel: 0\n"
             "  névnap nélkül: 0\n"
             "%2\n  névjegy: 3\n  hibás, kihagyva: 0\n  nem személy (csoport vagy szervezet): 0\n"
             "  névnappal: 3\n  névnappal, csak ékezet nélkül egyező névvel: 0\n"
             "  névnap nélkül: 0\n  Javítandó névjegyek:\n"
             "    „%2” 1. névjegye (1. sor): N, FN: kódlap megadása nélkül, windows-1250-ként "
             "olvasva\n"
             "    „%2” 2. névjegye (6. sor): N, FN: kódlap megadása nélkül, windows-1250-ként "
             "olvasva\n"
             "    „%2” 3. névjegye (11. sor): N: kódlap megadása nélkül, windows-1250-ként "
             "olvasva\n"_s.arg(groups, unnamed));
}

void ContactOutputs::privateNotification()
{
    const QList<Person> people = {{u"Kiss Ambrus"_s, {}, {u"Ambrus"_s}},
                                  {u"Tóth Ambrus"_s, {}, {u"Ambrus"_s}}};
    const DayReport day{dayOn(QDate(2026, 12, 7)), people};
    const DayReport next{dayOn(QDate(2026, 12, 8)), QList<Person>{}};
    const Notification open = notificationOf(day, next, QDate(2026, 12, 7));
    QCOMPARE(open.summary, u"Mai névnap: Kiss Ambrus, Tóth Ambrus"_s);
    QCOMPARE(open.body, u"Ambrus\nHolnap: Mária"_s);
    const Notification discreet = notificationOf(next, day, QDate(2026, 12, 7), true);
    QCOMPARE(discreet.summary, u"Holnapi névnap: Mária"_s);
    QCOMPARE(discreet.body, u"Holnapután: Ambrus\nHolnapután ismerőseid: 2 ismerősöd"_s);
}

// A configuration that is no file is said, never waited for, and costs the day's names nothing.
void ContactOutputs::configurationThatIsAPipe()
{
    const QTemporaryDir home;
    QVERIFY(QDir(home.path()).mkpath(u"zorvat"_s));
    const QString pipe = home.filePath(u"zorvat/zorvat-nevnap.conf"_s);
    QCOMPARE(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path()));
    const InProcessRun answer = run({u"--date"_s, u"2026-12-07"_s});
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(u"config"_s)));
    QCOMPARE(answer.status, 0);
    QCOMPARE(answer.out, u"Ambrus\n"_s);
    QCOMPARE(answer.err, u"tst_contactoutputs: A beállítófájl („%1”) nem olvasható: ez nem fájl és "
                         "nem mappa, hanem cső (FIFO).\n"_s.arg(pipe));
}

QTEST_GUILESS_MAIN(ContactOutputs)
#include "tst_contactoutputs.moc"
