#include "cli/outputs.h"
#include "support/fakeclock.h"
#include "support/inprocess.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
// The one JSON object of a line, or a failed comparison.
QJsonObject jsonObjectOf(const QByteArray& line)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line, &error);
    [&] {
        QCOMPARE(error.error, QJsonParseError::NoError);
        QVERIFY(document.isObject());
        QVERIFY2(line.endsWith('\n') && line.count('\n') == 1, line.constData());
    }();
    return document.object();
}
} // namespace

class NameDays : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void names_data();
    void names();
    void json_data();
    void json();
    void jsonTellsWhoCelebrates_data();
    void jsonTellsWhoCelebrates();
    void waybar_data();
    void waybar();
    void waybarEscapesMarkup_data();
    void waybarEscapesMarkup();
    void search_data();
    void search();
    void calendarToFile();
    void calendarEdges_data();
    void calendarEdges();
    void notificationSaysTheDay_data();
    void notificationSaysTheDay();
};

void NameDays::names_data()
{
    QTest::addColumn<QDateTime>("clock");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("names");

    QTest::newRow("today, leap February")
        << at(2004, 2, 24) << QStringList() << u"Mátyás/szökőnap"_s;
    QTest::newRow("leap day") << at(2026, 6, 1) << QStringList{u"--date"_s, u"2004-02-29"_s}
                              << u"Elemér"_s;
    QTest::newRow("Easter") << at(2026, 6, 1) << QStringList{u"--date=2026-04-05"_s}
                            << u"Húsvét, Vince"_s;
    QTest::newRow("holiday, no marker")
        << at(2026, 6, 1) << QStringList{u"--date"_s, u"2026-12-25"_s} << u"KARÁCSONY, Eugénia"_s;
    QTest::newRow("tomorrow of today, next year")
        << at(2026, 12, 31, 23, 59, 59) << QStringList{u"--tomorrow"_s} << u"ÚJéV, Fruzsina"_s;
    QTest::newRow("tomorrow of a date")
        << at(2026, 6, 1) << QStringList{u"--date"_s, u"2004-02-28"_s, u"--tomorrow"_s}
        << u"Elemér"_s;
}

void NameDays::names()
{
    QFETCH(QDateTime, clock);
    QFETCH(QStringList, arguments);
    QFETCH(QString, names);
    const FakeClock fake(clock);
    const InProcessRun answer = run(arguments);
    QCOMPARE(answer.err, QString());
    QCOMPARE(answer.status, 0);
    QCOMPARE(answer.out, names + u'\n');
}

void NameDays::json_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("names");
    QTest::addColumn<bool>("red");
    QTest::addColumn<QString>("nextDate");
    QTest::addColumn<QString>("nextNames");
    QTest::addColumn<bool>("nextRed");

    QTest::newRow("New Year's Eve, a Thursday") << u"2026-12-31"_s << u"Szilveszter"_s << false
                                                << u"2027-01-01"_s << u"ÚJéV, Fruzsina"_s << true;
    QTest::newRow("a Sunday") << u"2026-12-27"_s << u"János"_s << true << u"2026-12-28"_s
                              << u"Kamilla"_s << false;
    QTest::newRow("Christmas, a Friday") << u"2026-12-25"_s << u"KARÁCSONY, Eugénia"_s << true
                                         << u"2026-12-26"_s << u"KARÁCSONY, István"_s << true;
}

void NameDays::json()
{
    QFETCH(QString, date);
    QFETCH(QString, names);
    QFETCH(bool, red);
    QFETCH(QString, nextDate);
    QFETCH(QString, nextNames);
    QFETCH(bool, nextRed);
    const FakeClock fake(QDateTime::fromString(date, Qt::ISODate));

    const InProcessRun answer = run({u"--json"_s});
    QCOMPARE(answer.status, 0);
    const QJsonObject day = jsonObjectOf(answer.out.toUtf8());
    QCOMPARE(day[u"date"].toString(), date);
    QCOMPARE(day[u"names"].toString(), names);
    QCOMPARE(day[u"red"], QJsonValue(red));
    const QJsonObject next = day[u"tomorrow"].toObject();
    QCOMPARE(next[u"date"].toString(), nextDate);
    QCOMPARE(next[u"names"].toString(), nextNames);
    QCOMPARE(next[u"red"], QJsonValue(nextRed));
}

void NameDays::jsonTellsWhoCelebrates_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QJsonValue>("title");
    QTest::addColumn<QStringList>("celebrated");

    QTest::newRow("leap February, moved on")
        << u"2024-02-25"_s << QJsonValue(QJsonValue::Null) << QStringList{u"Mátyás"_s};
    QTest::newRow("the leap day's place")
        << u"2024-02-24"_s << QJsonValue(QJsonValue::Null) << QStringList();
    QTest::newRow("two names") << u"2026-12-24"_s << QJsonValue(QJsonValue::Null)
                               << QStringList{u"Ádám"_s, u"Éva"_s};
    QTest::newRow("a holiday's title")
        << u"2026-12-25"_s << QJsonValue(u"KARÁCSONY"_s) << QStringList{u"Eugénia"_s};
}

void NameDays::jsonTellsWhoCelebrates()
{
    QFETCH(QString, date);
    QFETCH(QJsonValue, title);
    QFETCH(QStringList, celebrated);
    const QJsonObject day = jsonObjectOf(run({u"--json"_s, u"--date"_s, date}).out.toUtf8());
    QCOMPARE(day[u"title"], title);
    QVERIFY(day[u"celebrated"].isArray());
    QCOMPARE(day[u"celebrated"].toVariant().toStringList(), celebrated);
}

void NameDays::waybar_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tooltip");
    QTest::addColumn<QString>("cssClass");

    QTest::newRow("Christmas")
        << u"2026-12-25"_s << u"KARÁCSONY, Eugénia"_s
        << u"2026  december 25, péntek\nKARÁCSONY, Eugénia\nHolnap: KARÁCSONY, István"_s
        << u"red"_s;
    QTest::newRow("a working day")
        << u"2004-02-24"_s << u"Mátyás/szökőnap"_s
        << u"2004  február 24, kedd\nMátyás/szökőnap\nHolnap: Hamvazószerda, Géza/Mátyás"_s
        << QString();
}

void NameDays::waybar()
{
    QFETCH(QString, date);
    QFETCH(QString, text);
    QFETCH(QString, tooltip);
    QFETCH(QString, cssClass);
    const InProcessRun answer = run({u"--waybar"_s, u"--date"_s, date});
    QCOMPARE(answer.status, 0);
    const QJsonObject line = jsonObjectOf(answer.out.toUtf8());
    QCOMPARE(line[u"text"].toString(), text);
    QCOMPARE(line[u"tooltip"].toString(), tooltip);
    QCOMPARE(line[u"class"], QJsonValue(cssClass));
}

// The table has no such names; the line must stay valid JSON and valid Pango markup.
void NameDays::waybarEscapesMarkup_data()
{
    QTest::addColumn<QString>("names");
    QTest::addColumn<QString>("markup");

    QTest::newRow("ampersand") << u"Kis & Nagy"_s << u"Kis &amp; Nagy"_s;
    QTest::newRow("tags") << u"<b>Béla</b>"_s << u"&lt;b&gt;Béla&lt;/b&gt;"_s;
    QTest::newRow("quotes and backslash") << u"\"Ő\" \\ 'x'"_s << u"&quot;Ő&quot; \\ 'x'"_s;
    QTest::newRow("line feed") << u"Ádám\nÉva"_s << u"Ádám\nÉva"_s;
}

void NameDays::waybarEscapesMarkup()
{
    QFETCH(QString, names);
    QFETCH(QString, markup);
    const QDate christmas(2026, 12, 25);
    const QByteArray line =
        waybarLine(DayReport{Day{christmas, names, true, {}, {}}, {}},
                   DayReport{Day{christmas.addDays(1), u"Tom & Jerry"_s, false, {}, {}}, {}});
    const QJsonObject object = jsonObjectOf(line);
    QCOMPARE(object[u"text"].toString(), markup);
    QCOMPARE(object[u"tooltip"].toString(),
             u"2026  december 25, péntek\n"_s + markup + u"\nHolnap: Tom &amp; Jerry"_s);
}

void NameDays::search_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("lines");

    const QString easter2004 =
        u"2004-04-11\tHúsvét, Leó, Szaniszló\n2004-04-12\tHúsvéthétfő, Gyula\n"_s;
    QTest::newRow("--year") << QStringList{u"--search"_s, u"Húsvét"_s, u"--year"_s, u"2004"_s}
                            << easter2004;
    QTest::newRow("this year, typed as the search window takes it")
        << QStringList{u"--search"_s, u" \tHU\u0301SVE\u0301T "_s} << easter2004;
    QTest::newRow("accents count")
        << QStringList{u"--search"_s, u"Husvet"_s, u"--year"_s, u"2004"_s} << QString();
}

void NameDays::search()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, lines);
    const FakeClock fake(at(2004, 6, 1));
    const InProcessRun answer = run(arguments);
    QCOMPARE(answer.err, QString());
    QCOMPARE(answer.status, 0);
    QCOMPARE(answer.out, lines);
}

void NameDays::calendarToFile()
{
    const FakeClock fake(at(2026, 12, 7, 8, 30));
    const QTemporaryDir folder;
    const QString path = folder.filePath(u"névnapok.ics"_s);
    const InProcessRun answer = run({u"--ical"_s, u"2004:2005"_s, u"--output"_s, path});
    QCOMPARE(answer.err, QString());
    QCOMPARE(answer.status, 0);
    QCOMPARE(answer.out, QString());

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray calendar = file.readAll();
    QVERIFY(calendar.startsWith("BEGIN:VCALENDAR\r\n"));
    QVERIFY(calendar.endsWith("END:VCALENDAR\r\n"));
    QCOMPARE(calendar.count("BEGIN:VEVENT"), 366 + 365);
    QVERIFY(calendar.contains("DTSTART;VALUE=DATE:20040229\r\nDTEND;VALUE=DATE:20040301\r\n"
                              "SUMMARY:Elemér\r\n"));
    const QByteArray stamp = "DTSTAMP:" + now().toUTC().toString(u"yyyyMMdd'T'HHmm").toLatin1();
    QCOMPARE(calendar.count(stamp), 731);
}

// One rule in every mode: days from 1900-01-01 to 2100-12-31, whatever the clock says.
void NameDays::calendarEdges_data()
{
    QTest::addColumn<QDateTime>("clock");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("answer"); // standard output, or the complaint

    const QString outside =
        u"tst_namedays: A nap (%1) kívül esik a naptáron: 1900-01-01 és 2100-12-31 közötti nap "
        "kell.\n"_s;
    QTest::newRow("search, clock in 2101")
        << at(2101, 1, 5) << QStringList{u"--search"_s, u"Anna"_s} << 2
        << outside.arg(u"2101-01-05"_s);
    QTest::newRow("today, clock in 1899")
        << at(1899, 12, 31) << QStringList() << 2 << outside.arg(u"1899-12-31"_s);
    QTest::newRow("first day") << at(2026, 6, 1) << QStringList{u"--date"_s, u"1900-01-01"_s} << 0
                               << u"ÚJéV, Fruzsina\n"_s;
    QTest::newRow("json, last day")
        << at(2026, 6, 1) << QStringList{u"--json"_s, u"--date"_s, u"2100-12-31"_s} << 0
        << u"{\"celebrated\":[\"Szilveszter\"],\"date\":\"2100-12-31\",\"names\":\"Szilveszter\","
           "\"red\":false,\"title\":null,\"tomorrow\":null}\n"_s;
    QTest::newRow("waybar, last day")
        << at(2100, 12, 31) << QStringList{u"--waybar"_s} << 0
        << u"{\"class\":\"\",\"text\":\"Szilveszter\",\"tooltip\":\"2100  december 31, "
           "péntek\\nSzilveszter\"}\n"_s;
}

void NameDays::calendarEdges()
{
    QFETCH(QDateTime, clock);
    QFETCH(QStringList, arguments);
    QFETCH(int, status);
    QFETCH(QString, answer);
    const FakeClock fake(clock);
    const InProcessRun result = run(arguments);
    QCOMPARE(result.status, status);
    QCOMPARE(status == 0 ? result.out : result.err, answer);
}

void NameDays::notificationSaysTheDay_data()
{
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QString>("body");

    QTest::newRow("today") << QDate(2026, 12, 24) << u"Mai névnap: Ádám, Éva"_s
                           << u"Holnap: KARÁCSONY, Eugénia"_s;
    QTest::newRow("tomorrow") << QDate(2026, 12, 25) << u"Holnapi névnap: KARÁCSONY, Eugénia"_s
                              << u"Holnapután: KARÁCSONY, István"_s;
    QTest::newRow("another day") << QDate(2004, 2, 29) << u"2004. február 29., vasárnap: Elemér"_s
                                 << u"Másnap: Albin"_s;
    QTest::newRow("the calendar's last day")
        << QDate(2100, 12, 31) << u"2100. december 31., péntek: Szilveszter"_s << QString();
}

void NameDays::notificationSaysTheDay()
{
    QFETCH(QDate, day);
    QFETCH(QString, summary);
    QFETCH(QString, body);
    std::optional<DayReport> next;
    if (day.year() < 2100)
        next = DayReport{dayOn(day.addDays(1)), {}};
    const Notification notification =
        notificationOf(DayReport{dayOn(day), {}}, next, QDate(2026, 12, 24));
    QCOMPARE(notification.summary, summary);
    QCOMPARE(notification.body, body);
}

QTEST_GUILESS_MAIN(NameDays)
#include "tst_namedays.moc"
