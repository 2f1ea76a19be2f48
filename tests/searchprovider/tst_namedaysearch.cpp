#include "contacts/configuration.h"
#include "contacts/namematcher.h"
#include "searchprovider/searchservice.h"
#include "support/fakeclock.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {
Contact card(const QString& formattedName, const QStringList& givenNames, const QString& uid = {})
{
    Contact contact;
    contact.uid = uid;
    contact.formattedName = formattedName;
    contact.hasName = !givenNames.isEmpty();
    contact.givenNames = givenNames;
    return contact;
}

// People as an address book gives them: two cards of one person, a card that celebrates two
// names, and one whose name is no name of the table.
PersonIndex people()
{
    PersonIndex index;
    index.add({card(u"Kiss Anna"_s, {u"Anna"_s}, u"kiss-anna"_s),
               card(u"Kiss Anna (munka)"_s, {u"Anna"_s}, u"kiss-anna"_s),
               card(u"Kiss Judit"_s, {u"Judit"_s}),
               card(u"Tóth Mária Magdolna"_s, {u"Mária"_s, u"Magdolna"_s}),
               card(u"Szabó Xavér"_s, {u"Xavér"_s})},
              NameMatcher());
    return index;
}

QStringList lines(const QList<SearchResult>& results)
{
    QStringList texts;
    for (const SearchResult& result : results)
        texts += result.description.isEmpty() ? result.text
                                              : result.text + u" | "_s + result.description;
    return texts;
}
} // namespace

class NameDaySearching : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answers_data();
    void answers();
    void people_data();
    void people();
    void nobodyWithoutPeople();
    void hostileQueries_data();
    void hostileQueries();
    void daysOfResults_data();
    void daysOfResults();
    void contactsKeptOutOfTheSearch_data();
    void contactsKeptOutOfTheSearch();
    void endsWhenNotAsked();
};

// The days counted by hand from the fake today; the weekdays from a printed calendar.
void NameDaySearching::answers_data()
{
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("expected");

    const QDateTime december9 = at(2026, 12, 9);
    QTest::newRow("a name, next year")
        << december9 << u"Anna"_s
        << QStringList{u"Anna — július 26., hétfő: 229 nap múlva"_s,
                       u"Annamária — július 1., csütörtök: 204 nap múlva"_s};
    QTest::newRow("its beginning, in capitals")
        << december9 << u"ANN"_s
        << QStringList{u"Anna — július 26., hétfő: 229 nap múlva"_s,
                       u"Annamária — július 1., csütörtök: 204 nap múlva"_s};
    QTest::newRow("without accents, two days")
        << december9 << u"arpad"_s
        << QStringList{u"Árpád — december 11., péntek: 2 nap múlva | Napjai egy éven belül: "
                       "december 11., március 31."_s};
    QTest::newRow("accents typed as separate marks")
        << december9 << u"A\u0301rpa\u0301d"_s
        << QStringList{u"Árpád — december 11., péntek: 2 nap múlva | Napjai egy éven belül: "
                       "december 11., március 31."_s};
    QTest::newRow("the name is today") << at(2026, 7, 26) << u"anna"_s
                                       << QStringList{u"Anna — július 26., vasárnap: ma"_s,
                                                      u"Annamária — július 1., csütörtök: 340 "
                                                      "nap múlva"_s};
    QTest::newRow("the name is tomorrow")
        << at(2026, 7, 25, 23, 59, 59) << u"Anna "_s
        << QStringList{u"Anna — július 26., vasárnap: holnap"_s,
                       u"Annamária — július 1., csütörtök: 341 nap múlva"_s};
    QTest::newRow("a leap year's moved name")
        << at(2027, 3, 1) << u"Ákos"_s
        << QStringList{u"Ákos — február 28., hétfő: 364 nap múlva"_s};
    QTest::newRow("the leap day") << at(2027, 3, 1) << u"elemer"_s
                                  << QStringList{u"Elemér — február 29., kedd: 365 nap múlva"_s};
    QTest::newRow("one letter finds no name") << december9 << u"a"_s << QStringList();
    QTest::newRow("no such name") << december9 << u"Xyz"_s << QStringList();

    QTest::newRow("today") << december9 << u"ma"_s
                           << QStringList{u"Mai névnap: Natália | december 9., szerda"_s,
                                          u"Magdolna — május 29., szombat: 171 nap múlva | "
                                          "Napjai egy éven belül: május 29., július 22."_s,
                                          u"Malvin — október 1., péntek: 296 nap múlva"_s,
                                          u"Marcell — január 9., szombat: 31 nap múlva | Napjai "
                                          "egy éven belül: január 9., augusztus 14."_s,
                                          u"Marcella — január 31., vasárnap: 53 nap múlva"_s,
                                          u"Margit — június 10., csütörtök: 183 nap múlva"_s,
                                          u"Mária — augusztus 15., vasárnap: 249 nap múlva | "
                                          "Napjai egy éven belül: augusztus 15., szeptember 8., "
                                          "szeptember 12., december 8."_s,
                                          u"Marianna — november 1., hétfő: 327 nap múlva"_s,
                                          u"Marietta — február 11., csütörtök: 64 nap múlva"_s};
    QTest::newRow("tomorrow") << december9 << u"Holnap"_s
                              << QStringList{u"Holnapi névnap: Judit | december 10., csütörtök"_s};
    QTest::newRow("tomorrow in the next year")
        << at(2026, 12, 31) << u"holnap"_s
        << QStringList{u"Holnapi névnap: ÚJéV, Fruzsina | 2027. január 1., péntek"_s};
    QTest::newRow("no tomorrow after the calendar")
        << at(2100, 12, 31) << u"holnap"_s << QStringList();
    QTest::newRow("name days") << december9 << u"névnap"_s
                               << QStringList{u"Mai névnap: Natália | december 9., szerda"_s,
                                              u"Holnapi névnap: Judit | december 10., csütörtök"_s};
    QTest::newRow("name days, without accents")
        << december9 << u"nevnapok"_s
        << QStringList{u"Mai névnap: Natália | december 9., szerda"_s,
                       u"Holnapi névnap: Judit | december 10., csütörtök"_s};

    const QStringList christmasEve{u"december 24., csütörtök: Ádám, Éva"_s};
    QTest::newRow("month.day") << december9 << u"12.24"_s << christmasEve;
    QTest::newRow("month. day.") << december9 << u"12. 24."_s << christmasEve;
    QTest::newRow("month's name") << december9 << u"december 24"_s << christmasEve;
    QTest::newRow("month's short name") << december9 << u"Dec. 24."_s << christmasEve;
    QTest::newRow("a day gone this year") << december9 << u"márc 15"_s
                                          << QStringList{u"március 15., vasárnap: NEMZETI ÜNNEP, "
                                                         "Kristóf"_s};
    QTest::newRow("ISO date") << december9 << u"2027-03-15"_s
                              << QStringList{u"2027. március 15., hétfő: NEMZETI ÜNNEP, Kristóf"_s};
    QTest::newRow("Hungarian date")
        << december9 << u"2027. 03. 15."_s
        << QStringList{u"2027. március 15., hétfő: NEMZETI ÜNNEP, Kristóf"_s};
    QTest::newRow("Hungarian date with the month's name")
        << december9 << u"2027. március 15."_s
        << QStringList{u"2027. március 15., hétfő: NEMZETI ÜNNEP, Kristóf"_s};
    QTest::newRow("29 February without a year")
        << december9 << u"02.29"_s << QStringList{u"2028. február 29., kedd: Elemér"_s};
    QTest::newRow("the first day of the calendar")
        << december9 << u"1900-01-01"_s << QStringList{u"1900. január 1., hétfő: ÚJéV, Fruzsina"_s};
    QTest::newRow("before the calendar") << december9 << u"1899-12-31"_s << QStringList();
    QTest::newRow("after the calendar") << december9 << u"2101-01-01"_s << QStringList();
    QTest::newRow("no such day") << december9 << u"2027-02-29"_s << QStringList();
    QTest::newRow("no such month") << december9 << u"13.01"_s << QStringList();
    QTest::newRow("a month too short") << december9 << u"ju 4"_s << QStringList();
    QTest::newRow("dashes without a year") << december9 << u"12-24"_s << QStringList();
}

void NameDaySearching::answers()
{
    QFETCH(QDateTime, now);
    QFETCH(QString, query);
    QFETCH(QStringList, expected);
    const FakeClock clock(now);
    NameDaySearch search;
    QCOMPARE(lines(search.answer(query)), expected);
}

void NameDaySearching::people_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("family name and a given name's beginning")
        << u"Kiss An"_s
        << QStringList{u"Kiss Anna névnapja: július 26. | Anna — hétfő: 229 nap múlva"_s};
    QTest::newRow("in any order, without accents")
        << u"an KISS"_s
        << QStringList{u"Kiss Anna névnapja: július 26. | Anna — hétfő: 229 nap múlva"_s};
    QTest::newRow("the family, in Hungarian order")
        << u"kiss"_s
        << QStringList{u"Kiss Anna névnapja: július 26. | Anna — hétfő: 229 nap múlva"_s,
                       u"Kiss Judit névnapja: december 10. | Judit — csütörtök: holnap"_s};
    QTest::newRow("the whole name first")
        << u"kiss judit"_s
        << QStringList{u"Kiss Judit névnapja: december 10. | Judit — csütörtök: holnap"_s};
    QTest::newRow("a name, then who has it")
        << u"Judit"_s
        << QStringList{u"Judit — december 10., csütörtök: holnap | Napjai egy éven belül: "
                       "december 10., július 30."_s,
                       u"Kiss Judit névnapja: december 10. | Judit — csütörtök: holnap"_s};
    QTest::newRow("two names: the next one")
        << u"toth"_s
        << QStringList{u"Tóth Mária Magdolna névnapja: május 29. | Magdolna — szombat: 171 nap "
                       "múlva"_s};
    QTest::newRow("nobody without a name day") << u"Szabó X"_s << QStringList();
    QTest::newRow("one letter") << u"k"_s << QStringList();
    QTest::newRow("who celebrates tomorrow")
        << u"holnap"_s
        << QStringList{u"Holnapi névnap: Judit | december 10., csütörtök — Ismerőseid: Kiss "
                       "Judit"_s};
    QTest::newRow("who celebrates on a date")
        << u"07.26"_s
        << QStringList{u"július 26., vasárnap: Anna, Anikó | Ismerőseid: Kiss Anna"_s};
}

void NameDaySearching::people()
{
    QFETCH(QString, query);
    QFETCH(QStringList, expected);
    const FakeClock clock(at(2026, 12, 9));
    NameDaySearch search(::people());
    QCOMPARE(lines(search.answer(query)), expected);
}

void NameDaySearching::nobodyWithoutPeople()
{
    const FakeClock clock(at(2026, 12, 9));
    NameDaySearch search;
    QCOMPARE(lines(search.answer(u"Kiss An"_s)), QStringList());
    QCOMPARE(lines(search.answer(u"holnap"_s)),
             QStringList{u"Holnapi névnap: Judit | december 10., csütörtök"_s});
}

// Whatever the bus brings is answered at once, and with nothing where nothing fits.
void NameDaySearching::hostileQueries_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("white space") << u" \t\n "_s << QStringList();
    QTest::newRow("a million letters") << QString(1'000'000, u'a') << QStringList();
    QTest::newRow("a name among a million spaces")
        << QString(500'000, u' ') + u"Anna"_s + QString(500'000, u' ') << QStringList();
    QTest::newRow("a hundred and one letters") << QString(101, u'a') << QStringList();
    QTest::newRow("a null character") << u"Anna\0"_s << QStringList();
    QTest::newRow("marks alone") << QString(50, QChar(0x0301)) << QStringList();
    QTest::newRow("a huge day number") << u"12.99999999999"_s << QStringList();
    QTest::newRow("a huge year") << u"99999-01-01"_s << QStringList();
    QTest::newRow("a regular expression") << u"(a+)+$"_s << QStringList();
    QTest::newRow("white space round a name")
        << u"\t Anna  "_s
        << QStringList{u"Anna — július 26., hétfő: 229 nap múlva"_s,
                       u"Kiss Anna névnapja: július 26. | Anna — hétfő: 229 nap múlva"_s,
                       u"Annamária — július 1., csütörtök: 204 nap múlva"_s};
}

void NameDaySearching::hostileQueries()
{
    QFETCH(QString, query);
    QFETCH(QStringList, expected);
    const FakeClock clock(at(2026, 12, 9));
    NameDaySearch search(::people());
    QCOMPARE(lines(search.answer(query)), expected);
}

void NameDaySearching::daysOfResults_data()
{
    QTest::addColumn<QString>("id");
    QTest::addColumn<QDate>("day");

    QTest::newRow("a name's") << u"name/2027-07-26/Anna"_s << QDate(2027, 7, 26);
    QTest::newRow("a date's") << u"date/1900-01-01"_s << QDate(1900, 1, 1);
    QTest::newRow("after the calendar") << u"date/2101-01-01"_s << QDate();
    QTest::newRow("no such day") << u"date/2027-02-29"_s << QDate();
    QTest::newRow("more than a date") << u"date/2027-02-01x"_s << QDate();
    QTest::newRow("no date") << u"today"_s << QDate();
    QTest::newRow("a path") << u"../../etc/passwd"_s << QDate();
    QTest::newRow("empty") << QString() << QDate();
}

void NameDaySearching::daysOfResults()
{
    QFETCH(QString, id);
    QFETCH(QDate, day);
    QCOMPARE(dayOfResult(id), day);
}

void NameDaySearching::contactsKeptOutOfTheSearch_data()
{
    QTest::addColumn<QByteArray>("configuration");
    QTest::addColumn<bool>("shown");

    QTest::newRow("not said") << QByteArray("[contacts]\nsources=~/.contacts\n") << true;
    QTest::newRow("kept out") << QByteArray("[search]\ncontacts=false\n") << false;
    QTest::newRow("kept out, in capitals") << QByteArray("[Search]\nContacts = FALSE\n") << false;
    QTest::newRow("shown") << QByteArray("[search]\ncontacts=true\n") << true;
    QTest::newRow("another section's key") << QByteArray("[contacts]\ncontacts=false\n") << true;
}

void NameDaySearching::contactsKeptOutOfTheSearch()
{
    QFETCH(QByteArray, configuration);
    QFETCH(bool, shown);
    QCOMPARE(parseConfiguration(configuration).contactsInSearch, shown);
}

// The service ends a set time after the last question, not after the first.
void NameDaySearching::endsWhenNotAsked()
{
    SearchService service(NameDaySearch(), 2s);
    QSignalSpy idle(&service, &SearchService::idle);
    QTest::qWait(1200);
    service.answer(u"Anna"_s);
    QTest::qWait(1200);
    QCOMPARE(idle.count(), 0);
    QVERIFY(idle.wait(5000));
    QCOMPARE(idle.count(), 1);
}

QTEST_GUILESS_MAIN(NameDaySearching)
#include "tst_namedaysearch.moc"
