#include "core/basecontent.h"
#include "core/entry.h"
#include "core/namedays.h"
#include "support/tables.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestNameTable : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void baseContentCoversACommonYear()
    {
        const QStringList titles = {u"ÚJéV"_s,           u"NEMZ.NŐNAP"_s,    u"NEMZETI ÜNNEP"_s,
                                    u"ALKOTMÁNY ÜNN."_s, u"KÖZT.KIKIÁLT."_s, u"KARÁCSONY"_s};
        const auto entries = baseContent();
        QCOMPARE(entries.size(), std::size_t(365));
        QDate expected(2001, 1, 1);
        QStringList titled;
        QStringList marked;
        for (const BaseEntry& entry : entries) {
            const QString day = QDate(2001, entry.month, entry.day).toString(u"MM-dd");
            QCOMPARE(day, expected.toString(u"MM-dd"));
            expected = expected.addDays(1);
            QVERIFY(!entry.text.isEmpty());
            QVERIFY2(entry.text.size() <= 27, qPrintable(entry.text.toString()));
            QVERIFY(!entry.text.startsWith(u' ') && !entry.text.endsWith(u' '));
            if (titles.contains(entry.text.toString().section(u", "_s, 0, 0)))
                titled << day;
            if (isMarkedHoliday(entry.text))
                marked << day;
        }
        QCOMPARE(titled, QStringList({u"01-01"_s, u"03-08"_s, u"03-15"_s, u"08-20"_s, u"10-23"_s,
                                      u"12-25"_s, u"12-26"_s}));
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
            QCOMPARE(builtFor(year).nevek(month, day), entry);
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
    }
    void rebuildForAYear()
    {
        QFETCH(int, year);
        QFETCH(QDate, date);
        QFETCH(QString, entry);
        QCOMPARE(builtFor(year).nevek(date.month(), date.day()), entry);
    }

    void freshTableStartsOnTheZeroDate()
    {
        NameDays names;
        QCOMPARE(QDate(names.refdatum), QDate(1899, 12, 30));
        QVERIFY(names.nevek(1, 1).isEmpty());
        names.nevtabla();
        QCOMPARE(names.nevek(4, 2), u"Húsvét, Áron,mszn");
        QCOMPARE(names.nevek(2, 24), u"Mátyás");
        QVERIFY(names.nevek(2, 29).isEmpty());
    }

    void nothingCarriesOverToTheNextYear()
    {
        NameDays names;
        names.refdatum = QDate(2004, 1, 1);
        names.nevtabla();
        names.refdatum = QDate(2005, 1, 1);
        names.nevtabla();
        QCOMPARE(names.nevek(4, 11), u"Leó, Szaniszló");
        QCOMPARE(names.nevek(2, 25), u"Géza");
        QCOMPARE(names.nevek(2, 24), u"Mátyás");
        QCOMPARE(names.nevek(2, 29), u"Elemér"); // left from 2004; no 2005 date reads it
        names.refdatum = QDate(2004, 1, 1);
        names.nevtabla();
        QCOMPARE(names.nevek(2, 24), u"Mátyás/szökőnap");
        QCOMPARE(names.nevek(4, 11), u"Húsvét, Leó, Szaniszló,mszn");
    }

    void everyYearKeepsItsShape()
    {
        NameDays names;
        for (int year = 1900; year <= 2100; ++year) {
            names.refdatum = QDate(year, 1, 1);
            names.nevtabla();
            QCOMPARE(names.nevek(1, 1), u"ÚJéV, Fruzsina,mszn");
            QVERIFY(names.nevek(4, 31).isEmpty());
            QVERIFY(names.nevek(0, 5).isEmpty());
            QVERIFY(names.nevek(2, 30).isEmpty());
            int marked = 0;
            for (QDate day(year, 1, 1); day.year() == year; day = day.addDays(1)) {
                const QString& entry = names.nevek(day.month(), day.day());
                QVERIFY(!entry.isEmpty());
                marked += isMarkedHoliday(entry);
            }
            QCOMPARE(marked, 11); // seven fixed holidays and four movable ones
        }
    }

    void outOfRangeCellsAreEmpty()
    {
        const NameDays names = builtFor(2004);
        QVERIFY(names.nevek(13, 1).isEmpty());
        QVERIFY(names.nevek(-1, 1).isEmpty());
        QVERIFY(names.nevek(1, 32).isEmpty());
    }

    void markerTest_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<bool>("marked");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Christmas")
            << u"KARÁCSONY, Eugénia,mszn"_s << true << u"KARÁCSONY, Eugénia"_s;
        QTest::newRow("women's day") << u"NEMZ.NŐNAP, Zoltán"_s << false << u"NEMZ.NŐNAP, Zoltán"_s;
        QTest::newRow("upper case") << u"Kristóf,MSZN"_s << false << u"Kristóf,MSZN"_s;
        QTest::newRow("empty") << QString() << false << QString();
        QTest::newRow("marker only") << u",mszn"_s << true << QString();
    }
    void markerTest()
    {
        QFETCH(QString, entry);
        QFETCH(bool, marked);
        QFETCH(QString, shown);
        QCOMPARE(isMarkedHoliday(entry), marked);
        QCOMPARE(withoutMarker(entry), shown);
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
        NameDays table;
        const QString text = table.napszoveg(date);
        QCOMPARE(QDate(table.refdatum), date);
        QCOMPARE(table.aktualisnev(), "  "_L1 + names + "  "_L1);
        QCOMPARE(text, " "_L1 + date.toString(u"yyyy.MM.dd.") + "   "_L1 + names + "   "_L1);
    }

    void dayTextRebuildsForItsYear()
    {
        NameDays table;
        QCOMPARE(table.napszoveg(QDate(2004, 4, 11)), u" 2004.04.11.   Húsvét, Leó, Szaniszló   ");
        QCOMPARE(table.nevek(2, 24), u"Mátyás/szökőnap");
        table.napszoveg(QDate(2005, 4, 11));
        QCOMPARE(table.nevek(4, 11), u"Leó, Szaniszló");
        QCOMPARE(table.nevek(2, 24), u"Mátyás");
    }

    void dayTextKeepsAPrefix()
    {
        NameDays table;
        QCOMPARE(table.napszoveg(QDate(2004, 4, 8), u"Ma: "_s), u" Ma: 2004.04.08.   Dénes   ");
    }
};

QTEST_GUILESS_MAIN(TestNameTable)
#include "tst_nametable.moc"
