#include "core/namesearch.h"
#include "core/nametable.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
QStringList lines(const QString& list)
{
    if (list.isEmpty())
        return {};
    [&] { QVERIFY(list.endsWith(u"\r\n")); }();
    QStringList result = list.split(u"\r\n"_s);
    result.removeLast();
    return result;
}
} // namespace

class TestNameSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstMatch_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("dayText");
        QTest::newRow("empty query") << QString() << u"ÚJéV, Fruzsina,mszn"_s << u"január  1"_s;
        QTest::newRow("att") << u"att"_s << u"Attila, Ramóna"_s << u"január  7"_s;
        QTest::newRow("ATT") << u"ATT"_s << u"Attila, Ramóna"_s << u"január  7"_s;
        QTest::newRow("aTt") << u"aTt"_s << u"Attila, Ramóna"_s << u"január  7"_s;
        QTest::newRow("title hides 15 March")
            << u"Kristóf"_s << u"Kristóf, Jakab"_s << u"július  25"_s;
        QTest::newRow("title") << u"NEMZETI"_s << u"NEMZETI ÜNNEP, Kristóf,mszn"_s
                               << u"március  15"_s;
        QTest::newRow("accents count") << u"Agota"_s << QString() << QString();
        QTest::newRow("accented") << u"ágota"_s << u"Ágota"_s << u"január  11"_s;
        QTest::newRow("nothing") << u"xyz"_s << QString() << QString();
        QTest::newRow("longer than every entry") << QString(40, u'a') << QString() << QString();
        QTest::newRow("movable feast title")
            << u"Húsvét"_s << u"Húsvét, Leó, Szaniszló,mszn"_s << u"április  11"_s;
    }
    void firstMatch()
    {
        QFETCH(QString, query);
        QFETCH(QString, entry);
        QFETCH(QString, dayText);
        const FirstMatch match = firstDayStartingWith(NameTable(2004), query);
        QCOMPARE(match.entry, entry);
        QCOMPARE(match.dayText, dayText);
    }

    void everyMatch_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("Kristóf") << 2004 << u"Kristóf"_s
                                 << QStringList{u"NEMZETI ÜNNEP, Kristóf,mszn, március  15"_s,
                                                u"Kristóf, Jakab, július  25"_s};
        QTest::newRow("Húsvét 2004") << 2004 << u"húsvét"_s
                                     << QStringList{u"Húsvét, Leó, Szaniszló,mszn, április  11"_s,
                                                    u"Húsvéthétfő, Gyula,mszn, április  12"_s};
        QTest::newRow("Húsvét 2005")
            << 2005 << u"Húsvét"_s
            << QStringList{u"Húsvét, Hajnalka,mszn, március  27"_s,
                           u"Húsvéthétfő, Gedeon, Johanna,mszn, március  28"_s};
        QTest::newRow("szökőnap in a leap year")
            << 2004 << u"szökőnap"_s << QStringList{u"Mátyás/szökőnap, február  24"_s};
        QTest::newRow("szökőnap in a common year") << 2005 << u"szökőnap"_s << QStringList();
        QTest::newRow("nothing") << 2004 << u"xyz"_s << QStringList();
        QTest::newRow("no accent") << 2004 << u"agota"_s << QStringList();
        QTest::newRow("whole first match")
            << 2004 << u"Attila, Ramóna"_s << QStringList{u"Attila, Ramóna, január  7"_s};
    }
    void everyMatch()
    {
        QFETCH(int, year);
        QFETCH(QString, query);
        QFETCH(QStringList, expected);
        QCOMPARE(lines(daysContaining(NameTable(year), query)), expected);
    }

    void markerListsEveryHoliday()
    {
        const QStringList found = lines(daysContaining(NameTable(2004), u"mszn"_s));
        QCOMPARE(found.size(), 12);
        QCOMPARE(found.first(), u"ÚJéV, Fruzsina,mszn, január  1");
        QVERIFY(found.contains(u"MINDENSZENTEK, Marianna,mszn, november  1"_s));
        QVERIFY(found.contains(u"Pünkösdhétfő, Angéla, Petronella,mszn, május  31"_s));
        QCOMPARE(found.last(), u"KARÁCSONY, István,mszn, december  26");
    }

    void partOfANameIsFound()
    {
        const QStringList found = lines(daysContaining(NameTable(2004), u"anna"_s));
        for (const QString& line :
             {u"Julianna, Lilla, február  16"_s, u"Zsuzsanna, február  19"_s,
              u"Gedeon, Johanna, március  28"_s, u"Anna, Anikó, július  26"_s})
            QVERIFY2(found.contains(line), qPrintable(line));
        for (const QString& line : found)
            QVERIFY(line.contains(u"anna"_s, Qt::CaseInsensitive));
    }

    void emptyQueryListsEveryDayOnce_data()
    {
        QTest::addColumn<int>("year");
        QTest::newRow("common year") << 2005;
        QTest::newRow("leap year") << 2004;
    }
    void emptyQueryListsEveryDayOnce()
    {
        QFETCH(int, year);
        const QStringList found = lines(daysContaining(NameTable(year), QString()));
        QCOMPARE(found.size(), QDate::isLeapYear(year) ? 366 : 365);
        QCOMPARE(found.first(), u"ÚJéV, Fruzsina,mszn, január  1");
        QCOMPARE(found.last(), u"Szilveszter, december  31");
        for (const QString& line : found)
            QVERIFY(!line.startsWith(u", "));
    }
};

QTEST_GUILESS_MAIN(TestNameSearch)
#include "tst_namesearch.moc"
