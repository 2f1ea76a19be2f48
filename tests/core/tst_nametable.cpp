#include "core/basecontent.h"
#include "core/nametable.h"
#include "support/reference.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestNameTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void baseContentCoversACommonYear()
    {
        const QStringList titles = {u"ÚJéV"_s,           u"NEMZ.NŐNAP"_s,    u"NEMZETI ÜNNEP"_s,
                                    u"ALKOTMÁNY ÜNN."_s, u"KÖZT.KIKIÁLT."_s, u"KARÁCSONY"_s,
                                    u"KARÁCSONY"_s};
        const auto entries = baseContent();
        QCOMPARE(entries.size(), std::size_t(365));
        QDate expected(2001, 1, 1);
        QStringList titled;
        QStringList titlesFound;
        QStringList marked;
        for (const BaseEntry& entry : entries) {
            const QString day = QDate(2001, entry.month, entry.day).toString(u"MM-dd");
            QCOMPARE(day, expected.toString(u"MM-dd"));
            expected = expected.addDays(1);
            QVERIFY(!entry.names.isEmpty());
            QVERIFY2(entry.names.size() <= 27, qPrintable(entry.names.toString()));
            QVERIFY(!entry.names.startsWith(u' ') && !entry.names.endsWith(u' '));
            QVERIFY(!entry.names.contains(u"mszn") && !entry.names.contains(u'/'));
            if (!entry.title.isEmpty()) {
                titled << day;
                titlesFound << entry.title.toString();
            }
            if (entry.workFree)
                marked << day;
        }
        QCOMPARE(titled, QStringList({u"01-01"_s, u"03-08"_s, u"03-15"_s, u"08-20"_s, u"10-23"_s,
                                      u"12-25"_s, u"12-26"_s}));
        QCOMPARE(titlesFound, titles);
        QCOMPARE(marked, QStringList({u"01-01"_s, u"03-15"_s, u"05-01"_s, u"08-20"_s, u"10-23"_s,
                                      u"12-25"_s, u"12-26"_s}));
    }

    void titlesAndMarkersStandOnTheirDays_data()
    {
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<QString>("entry");
        QTest::newRow("new year") << 1 << 1 << u"ÚJéV, Fruzsina,mszn"_s;
        QTest::newRow("women's day, no marker") << 3 << 8 << u"NEMZ.NŐNAP, Zoltán"_s;
        QTest::newRow("15 March") << 3 << 15 << u"NEMZETI ÜNNEP, Kristóf,mszn"_s;
        QTest::newRow("1 May, no title") << 5 << 1 << u"Fülöp, Jakab,mszn"_s;
        QTest::newRow("20 August") << 8 << 20 << u"ALKOTMÁNY ÜNN., István,mszn"_s;
        QTest::newRow("23 October") << 10 << 23 << u"KÖZT.KIKIÁLT., Gyöngyi,mszn"_s;
        QTest::newRow("Christmas") << 12 << 25 << u"KARÁCSONY, Eugénia,mszn"_s;
        QTest::newRow("Boxing Day") << 12 << 26 << u"KARÁCSONY, István,mszn"_s;
        QTest::newRow("new year's eve") << 12 << 31 << u"Szilveszter"_s;
    }
    void titlesAndMarkersStandOnTheirDays()
    {
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(QString, entry);
        for (int year : {1900, 2004, 2005, 2100})
            QCOMPARE(NameTable(year).entry(month, day), entry);
    }

    void rebuildForAYear_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("entry");
        auto row = [](int year, int month, int day, const QString& entry) {
            QTest::addRow("%d-%02d-%02d", year, month, day)
                << year << QDate(year, month, day) << entry;
        };
        row(2004, 2, 24, u"Mátyás/szökőnap"_s);
        row(2004, 2, 25, u"Hamvazószerda, Géza/Mátyás"_s);
        row(2004, 2, 26, u"Edina/Géza"_s);
        row(2004, 2, 27, u"Ákos/Edina"_s);
        row(2004, 2, 28, u"Elemér/Ákos"_s);
        row(2004, 2, 29, u"Elemér"_s);
        row(2004, 4, 9, u"Nagypéntek, Erhard"_s);
        row(2004, 4, 11, u"Húsvét, Leó, Szaniszló,mszn"_s);
        row(2004, 4, 12, u"Húsvéthétfő, Gyula,mszn"_s);
        row(2004, 5, 30, u"Pünkösd, Janka, Zsanett,mszn"_s);
        row(2004, 5, 31, u"Pünkösdhétfő, Angéla, Petronella,mszn"_s);
        row(2004, 11, 25, u"Thanksgiving, Katalin"_s);
        row(2005, 2, 24, u"Mátyás"_s);
        row(2005, 2, 25, u"Géza"_s);
        row(2005, 2, 26, u"Edina"_s);
        row(2005, 2, 27, u"Ákos"_s);
        row(2005, 2, 28, u"Elemér"_s);
        row(2005, 2, 9, u"Hamvazószerda, Abigél, Alex"_s);
        row(2005, 3, 25, u"Nagypéntek, Irén, Irisz"_s);
        row(2005, 3, 27, u"Húsvét, Hajnalka,mszn"_s);
        row(2005, 11, 24, u"Thanksgiving, Emma"_s);
        row(2096, 2, 29, u"Hamvazószerda, Elemér"_s);
        row(1899, 2, 15, u"Hamvazószerda, Kolos, Georgina"_s);
        row(1899, 3, 31, u"Nagypéntek, Árpád"_s);
        row(1899, 4, 2, u"Húsvét, Áron,mszn"_s);
        row(1899, 4, 3, u"Húsvéthétfő, Buda, Richárd,mszn"_s);
        row(1899, 5, 21, u"Pünkösd, Konstantin,mszn"_s);
        row(1899, 5, 22, u"Pünkösdhétfő, Júlia, Rita,mszn"_s);
        row(1899, 11, 23, u"Thanksgiving, Kelemen, Klementina"_s);
        row(1900, 2, 24, u"Mátyás"_s);
        row(2000, 2, 24, u"Mátyás/szökőnap"_s);
        row(2000, 2, 29, u"Elemér"_s);
        // Public holidays that law added later: All Saints' Day from 2000, Good Friday from 2017.
        row(1999, 11, 1, u"Marianna"_s);
        row(2000, 11, 1, u"MINDENSZENTEK, Marianna,mszn"_s);
        row(2016, 3, 25, u"Nagypéntek, Irén, Irisz"_s);
        row(2017, 4, 14, u"Nagypéntek, Tibor,mszn"_s);
        row(2027, 3, 26, u"Nagypéntek, Emánuel,mszn"_s);
    }
    void rebuildForAYear()
    {
        QFETCH(int, year);
        QFETCH(QDate, date);
        QFETCH(QString, entry);
        QCOMPARE(NameTable(year).entry(date), entry);
    }

    // Every day of two centuries as an independent reading of the rules gives it, and no
    // entry on a day that the year does not have.
    void everyYearMatchesAnIndependentReading()
    {
        for (int year = 1900; year <= 2100; ++year) {
            const NameTable table(year);
            for (int month = 1; month <= 12; ++month)
                for (int day = 1; day <= 31; ++day) {
                    const QDate date(year, month, day);
                    const QString expected =
                        date.isValid() ? reference::day(date).entry() : QString();
                    if (table.entry(month, day) != expected)
                        QFAIL(qPrintable(u"%1-%2-%3: \"%4\", expected \"%5\""_s.arg(year)
                                             .arg(month)
                                             .arg(day)
                                             .arg(table.entry(month, day), expected)));
                }
        }
    }

    // Who celebrates, and under which title, on every day of two centuries.
    void everyDayCelebratesAsAnIndependentReadingSays()
    {
        for (int year = 1900; year <= 2100; ++year) {
            const NameTable table(year);
            for (QDate date(year, 1, 1); date.year() == year; date = date.addDays(1)) {
                const Day day = table.day(date);
                const reference::Day expected = reference::day(date);
                if (day.celebrated != expected.celebrated ||
                    day.title != expected.titles.join(u", "))
                    QFAIL(qPrintable(u"%1: %2 under \"%3\", expected %4 under \"%5\""_s.arg(
                        date.toString(Qt::ISODate), day.celebrated.join(u'|'), day.title,
                        expected.celebrated.join(u'|'), expected.titles.join(u", "))));
            }
        }
    }

    void celebrated_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("celebrated");
        QTest::newRow("24 Feb 2024, the leap day's place")
            << QDate(2024, 2, 24) << QString() << QStringList();
        QTest::newRow("25 Feb 2024, moved on")
            << QDate(2024, 2, 25) << QString() << QStringList{u"Mátyás"_s};
        QTest::newRow("29 Feb 2024") << QDate(2024, 2, 29) << QString() << QStringList{u"Elemér"_s};
        QTest::newRow("24 Feb 2025") << QDate(2025, 2, 24) << QString() << QStringList{u"Mátyás"_s};
        QTest::newRow("Ash Wednesday in leap February")
            << QDate(2004, 2, 25) << u"Hamvazószerda"_s << QStringList{u"Mátyás"_s};
        QTest::newRow("Christmas Eve")
            << QDate(2026, 12, 24) << QString() << QStringList{u"Ádám"_s, u"Éva"_s};
        QTest::newRow("Christmas")
            << QDate(2026, 12, 25) << u"KARÁCSONY"_s << QStringList{u"Eugénia"_s};
        QTest::newRow("Easter 2024")
            << QDate(2024, 3, 31) << u"Húsvét"_s << QStringList{u"Árpád"_s};
        QTest::newRow("Ash Wednesday on women's day")
            << QDate(1905, 3, 8) << u"Hamvazószerda, NEMZ.NŐNAP"_s << QStringList{u"Zoltán"_s};
        QTest::newRow("Thanksgiving 2026")
            << QDate(2026, 11, 26) << u"Thanksgiving"_s << QStringList{u"Virág"_s};
        QTest::newRow("All Saints 1999")
            << QDate(1999, 11, 1) << QString() << QStringList{u"Marianna"_s};
        QTest::newRow("All Saints 2000")
            << QDate(2000, 11, 1) << u"MINDENSZENTEK"_s << QStringList{u"Marianna"_s};
    }
    void celebrated()
    {
        QFETCH(QDate, date);
        QFETCH(QString, title);
        QFETCH(QStringList, celebrated);
        const Day day = dayOn(date);
        QCOMPARE(day.title, title);
        QCOMPARE(day.celebrated, celebrated);
    }

    void outOfRangeCellsAreEmpty()
    {
        const NameTable table(2004);
        QVERIFY(table.entry(13, 1).isEmpty());
        QVERIFY(table.entry(-1, 1).isEmpty());
        QVERIFY(table.entry(1, 32).isEmpty());
        QVERIFY(table.entry(0, 5).isEmpty());
    }

    // The search reads the marker, the windows show the day without it, red where it stands.
    void markedDays_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("red");
        QTest::newRow("Christmas, a Friday")
            << 2026 << 12 << 25 << u"KARÁCSONY, Eugénia,mszn"_s << u"KARÁCSONY, Eugénia"_s << true;
        QTest::newRow("women's day, a Tuesday")
            << 2005 << 3 << 8 << u"NEMZ.NŐNAP, Zoltán"_s << u"NEMZ.NŐNAP, Zoltán"_s << false;
        QTest::newRow("1 May, a Friday")
            << 2026 << 5 << 1 << u"Fülöp, Jakab,mszn"_s << u"Fülöp, Jakab"_s << true;
        QTest::newRow("Easter Monday 2004")
            << 2004 << 4 << 12 << u"Húsvéthétfő, Gyula,mszn"_s << u"Húsvéthétfő, Gyula"_s << true;
        QTest::newRow("Good Friday 2016") << 2016 << 3 << 25 << u"Nagypéntek, Irén, Irisz"_s
                                          << u"Nagypéntek, Irén, Irisz"_s << false;
        QTest::newRow("a Sunday unmarked") << 2026 << 12 << 27 << u"János"_s << u"János"_s << true;
        QTest::newRow("29 Feb 2005, no such day")
            << 2005 << 2 << 29 << QString() << QString() << false;
    }
    void markedDays()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(QString, entry);
        QFETCH(QString, shown);
        QFETCH(bool, red);
        const NameTable table(year);
        QCOMPARE(table.entry(month, day), entry);
        const Day told = table.day(QDate(year, month, day));
        QCOMPARE(told.entry, shown);
        QCOMPARE(told.red, red);
    }

    void dayText_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("names");
        QTest::newRow("Easter 2004") << QDate(2004, 4, 11) << u"Húsvét, Leó, Szaniszló"_s;
        QTest::newRow("women's day 2005") << QDate(2005, 3, 8) << u"NEMZ.NŐNAP, Zoltán"_s;
        QTest::newRow("new year 1900") << QDate(1900, 1, 1) << u"ÚJéV, Fruzsina"_s;
        QTest::newRow("new year 2100") << QDate(2100, 1, 1) << u"ÚJéV, Fruzsina"_s;
        QTest::newRow("24 Feb 2004") << QDate(2004, 2, 24) << u"Mátyás/szökőnap"_s;
        QTest::newRow("29 Feb 2004") << QDate(2004, 2, 29) << u"Elemér"_s;
        QTest::newRow("24 Feb 2005") << QDate(2005, 2, 24) << u"Mátyás"_s;
    }
    void dayText()
    {
        QFETCH(QDate, date);
        QFETCH(QString, names);
        QCOMPARE(::dayText(dayOn(date)),
                 " "_L1 + date.toString(u"yyyy.MM.dd.") + "   "_L1 + names + "   "_L1);
    }
};

QTEST_GUILESS_MAIN(TestNameTable)
#include "tst_nametable.moc"
