#include "dates/clock.h"
#include "dates/datetexts.h"
#include "dates/texts.h"
#include "support/fakeclock.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestDates : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { QLocale::setDefault(QLocale::system()); }

    void dateRollsOver_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("day");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("plain") << 2004 << 4 << 8 << QDate(2004, 4, 8);
        QTest::newRow("29 Feb common year") << 2003 << 2 << 29 << QDate(2003, 3, 1);
        QTest::newRow("31 Feb leap year") << 2004 << 2 << 31 << QDate(2004, 3, 2);
        QTest::newRow("31 April") << 2004 << 4 << 31 << QDate(2004, 5, 1);
        QTest::newRow("29 Feb 1900") << 1900 << 2 << 29 << QDate(1900, 3, 1);
        QTest::newRow("29 Feb 2000") << 2000 << 2 << 29 << QDate(2000, 2, 29);
        QTest::newRow("32 December") << 2004 << 12 << 32 << QDate(2005, 1, 1);
    }
    void dateRollsOver()
    {
        QFETCH(int, year);
        QFETCH(int, month);
        QFETCH(int, day);
        QFETCH(QDate, expected);
        QCOMPARE(QDate(rolledOverDate(year, month, day)), expected);
    }

    void weekdayCountsFromTheFirstDay_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("sundayFirst");
        QTest::addColumn<int>("thursdayFirst");
        QTest::newRow("Sunday 2004-04-11") << QDate(2004, 4, 11) << 1 << 4;
        QTest::newRow("Wednesday 2004-04-14") << QDate(2004, 4, 14) << 4 << 7;
        QTest::newRow("Thursday 2002-11-21") << QDate(2002, 11, 21) << 5 << 1;
        QTest::newRow("Saturday 2004-04-10") << QDate(2004, 4, 10) << 7 << 3;
    }
    void weekdayCountsFromTheFirstDay()
    {
        QFETCH(QDate, date);
        QFETCH(int, sundayFirst);
        QFETCH(int, thursdayFirst);
        QCOMPARE(weekday(date, Qt::Sunday), sundayFirst);
        QCOMPARE(weekday(date, Qt::Thursday), thursdayFirst);
    }

    void isoDayTakesOnlyExactDays_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("day");
        QTest::newRow("a day") << u"2026-12-24"_s << QDate(2026, 12, 24);
        QTest::newRow("a leap day") << u"2024-02-29"_s << QDate(2024, 2, 29);
        QTest::newRow("no such day") << u"2026-02-29"_s << QDate();
        QTest::newRow("anything after it") << u"2026-12-24x"_s << QDate();
        QTest::newRow("a time after it") << u"2026-12-24T10:00"_s << QDate();
        QTest::newRow("a space before it") << u" 2026-12-24"_s << QDate();
        QTest::newRow("slashes") << u"2026/12/24"_s << QDate();
        QTest::newRow("one digit") << u"2026-2-03"_s << QDate();
        QTest::newRow("empty") << QString() << QDate();
    }
    void isoDayTakesOnlyExactDays()
    {
        QFETCH(QString, text);
        QFETCH(QDate, day);
        QCOMPARE(isoDay(text), day);
    }

    void dateTexts()
    {
        QCOMPARE(dateText(QDate(2004, 4, 8)), u"2004.04.08.");
        QCOMPARE(dateText(QDate(1900, 12, 31)), u"1900.12.31.");
        QCOMPARE(longDateText(QDate(2004, 4, 8)), u"2004  április 8, csütörtök");
        QCOMPARE(longDateText(QDate(2005, 1, 1)), u"2005  január 1, szombat");
    }

    // The names come from Qt's Hungarian data, whatever the default locale is.
    void hungarianNamesIgnoreTheDefaultLocale()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        const QStringList weekdays = {u"hétfő"_s,  u"kedd"_s,    u"szerda"_s,  u"csütörtök"_s,
                                      u"péntek"_s, u"szombat"_s, u"vasárnap"_s};
        for (int i = 0; i < 7; ++i)
            QVERIFY(longDateText(QDate(2004, 4, 5).addDays(i)).endsWith(u", "_s + weekdays[i]));
        const QStringList months = {u"január"_s,     u"február"_s, u"március"_s,  u"április"_s,
                                    u"május"_s,      u"június"_s,  u"július"_s,   u"augusztus"_s,
                                    u"szeptember"_s, u"október"_s, u"november"_s, u"december"_s};
        for (int month = 1; month <= 12; ++month)
            QCOMPARE(monthName(month), months[month - 1]);
    }

    void clockTextsReadTheSeam()
    {
        FakeClock clock(QDateTime(QDate(2004, 4, 8), QTime(5, 3, 7)));
        QCOMPARE(today(), QDate(2004, 4, 8));
        QCOMPARE(paddedTimeText(), u"05:03:07");
        QCOMPARE(timeText(), u"5:03:07");
        clock.advance(17 * 3600);
        QCOMPARE(paddedTimeText(), u"22:03:07");
        QCOMPARE(timeText(), u"22:03:07");
        clock.advance(2 * 3600);
        QCOMPARE(today(), QDate(2004, 4, 9));
        QCOMPARE(paddedTimeText(), u"00:03:07");
        QCOMPARE(timeText(), u"0:03:07");
    }

    void numberTexts()
    {
        QCOMPARE(numberText(7), u" 7");
        QCOMPARE(numberText(0), u" 0");
        QCOMPARE(numberText(2004), u" 2004");
        QCOMPARE(numberText(-5), u"-5");
    }

    void upperIsHungarianAndKeepsTheLength_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("accents") << u"áéíóöőúüű"_s << u"ÁÉÍÓÖŐÚÜŰ"_s;
        QTest::newRow("mixed") << u"ÚJéV, Fruzsina,mszn"_s << u"ÚJÉV, FRUZSINA,MSZN"_s;
        QTest::newRow("sharp s stays") << u"ß"_s << u"ß"_s;
        QTest::newRow("astral letter") << u"\U00010428"_s << u"\U00010400"_s;
        QTest::newRow("lone surrogate")
            << QString(QChar(0xd801)) + u'a' << QString(QChar(0xd801)) + u'A';
    }
    void upperIsHungarianAndKeepsTheLength()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(upper(text), expected);
    }
};

QTEST_GUILESS_MAIN(TestDates)
#include "tst_dates.moc"
