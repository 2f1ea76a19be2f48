#include "core/feasts.h"
#include "support/reference.h"

#include <QTest>

namespace {
QDate feast(int index, int year)
{
    return feastDate(allFeasts.at(index), year);
}
} // namespace

class TestFeasts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void easterMatchesTheGregorianRule()
    {
        for (int year = 1900; year <= 2199; ++year) {
            const QDate easter = feast(0, year);
            QVERIFY2(easter == reference::easterSunday(year), qPrintable(QString::number(year)));
            QCOMPARE(easter.dayOfWeek(), int(Qt::Sunday));
        }
    }

    void feastsOfAYear_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("index");
        QTest::addColumn<QDate>("expected");
        const QList<QDate> feasts2004 = {QDate(2004, 4, 11), QDate(2004, 4, 12), QDate(2004, 5, 30),
                                         QDate(2004, 5, 31), QDate(2004, 4, 9),  QDate(2004, 2, 25),
                                         QDate(2004, 11, 25)};
        for (int i = 0; i < int(allFeasts.size()); ++i)
            QTest::addRow("2004 feast %d", i) << 2004 << i << feasts2004[i];
        QTest::newRow("2025 full moon on a Sunday") << 2025 << 0 << QDate(2025, 4, 20);
        QTest::newRow("2008 earliest Easter") << 2008 << 0 << QDate(2008, 3, 23);
        QTest::newRow("2008 Good Friday") << 2008 << 4 << QDate(2008, 3, 21);
        QTest::newRow("2008 Ash Wednesday") << 2008 << 5 << QDate(2008, 2, 6);
        QTest::newRow("2038 latest Easter") << 2038 << 0 << QDate(2038, 4, 25);
        QTest::newRow("2038 Whit Monday") << 2038 << 3 << QDate(2038, 6, 14);
        QTest::newRow("2002 Thanksgiving") << 2002 << 6 << QDate(2002, 11, 28);
        QTest::newRow("2001 Thanksgiving") << 2001 << 6 << QDate(2001, 11, 22);
        QTest::newRow("2096 Ash Wednesday on the leap day") << 2096 << 5 << QDate(2096, 2, 29);
    }
    void feastsOfAYear()
    {
        QFETCH(int, year);
        QFETCH(int, index);
        QFETCH(QDate, expected);
        QCOMPARE(feast(index, year), expected);
    }

    void thanksgivingIsTheFourthThursday()
    {
        for (int year = 1900; year <= 2100; ++year) {
            const QDate date = feast(6, year);
            QCOMPARE(date.dayOfWeek(), int(Qt::Thursday));
            QCOMPARE(date.month(), 11);
            QVERIFY(date.day() >= 22 && date.day() <= 28);
        }
    }

    // A negative year uses the non-negative remainder instead of reading before the table.
    void negativeYearStaysInsideTheTable()
    {
        for (int year = -40; year < 0; ++year) {
            const QDate easter = feast(0, year);
            QVERIFY(easter.isValid());
            QCOMPARE(easter.dayOfWeek(), int(Qt::Sunday));
            QCOMPARE(easter.year(), year);
            QVERIFY(easter > QDate(year, 3, 22) && easter <= QDate(year, 4, 25));
        }
    }
};

QTEST_GUILESS_MAIN(TestFeasts)
#include "tst_feasts.moc"
