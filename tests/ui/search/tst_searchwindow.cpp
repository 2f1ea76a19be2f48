#include "support/program.h"
#include "ui/calendar/calendarwindow.h"
#include "ui/main/mainwindow.h"
#include "ui/search/searchwindow.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QDateTime start(QDate(2004, 4, 8), QTime(10, 0));

using Pair = QPair<QString, QString>;

// What the found-days box shows: one line per entry, no CR, no blank lines between them.
QString shown(const QStringList& lines)
{
    QString text;
    for (const QString& line : lines)
        text += line + u'\n';
    return text;
}

SearchWindow& openFromMain(Program& program)
{
    MainWindow& main = program.windows.mainWindow();
    main.show();
    [&] { QVERIFY(QTest::qWaitForWindowExposed(&main)); }();
    QTest::mouseClick(child<QPushButton>(main, "searchButton"), Qt::LeftButton);
    SearchWindow& search = program.windows.searchWindow();
    [&] { QVERIFY(QTest::qWaitForWindowExposed(&search)); }();
    return search;
}
} // namespace

class TestSearchWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstOpeningTakesMainsPlaceAndStartsEmpty()
    {
        Program program(start);
        MainWindow& main = program.windows.mainWindow();
        main.move(240, 130);
        SearchWindow& search = openFromMain(program);
        QVERIFY(QTest::qWaitForWindowActive(&search));
        QCOMPARE(search.pos(), main.pos());
        QCOMPARE(search.height(), main.height());
        QVERIFY(child<QLineEdit>(search, "queryBox")->text().isEmpty());
        QVERIFY(child<QLineEdit>(search, "firstMatchBox")->text().isEmpty());
        QVERIFY(child<QPlainTextEdit>(search, "foundDaysBox")->toPlainText().isEmpty());
        QTRY_VERIFY(child<QLineEdit>(search, "queryBox")->hasFocus());
    }

    // Each row is typed one key at a time ('\b' is Backspace); after each key the
    // boxes show the first match of what the query box then holds.
    void eachKeyShowsTheFirstMatch_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QList<Pair>>("after");
        const Pair newYear{u"ÚJéV, Fruzsina,mszn"_s, u"január  1"_s};
        const Pair attila{u"Attila, Ramóna"_s, u"január  7"_s};
        const Pair none;
        QTest::newRow("att") << u"att"_s << QList<Pair>{attila, attila, attila};
        QTest::newRow("mixed case") << u"aTt"_s << QList<Pair>{attila, attila, attila};
        QTest::newRow("narrowing, then back")
            << u"bea\b\b"_s
            << QList<Pair>{{u"Boldizsár"_s, u"január  6"_s},
                           {u"Bertold, Marietta"_s, u"február  11"_s},
                           {u"Beatrix, Erna"_s, u"augusztus  29"_s},
                           {u"Bertold, Marietta"_s, u"február  11"_s},
                           {u"Boldizsár"_s, u"január  6"_s}};
        QTest::newRow("leading spaces")
            << u"  at"_s << QList<Pair>{newYear, newYear, attila, attila};
        QTest::newRow("trailing space is dropped, inner one is not")
            << u"a t"_s << QList<Pair>{attila, attila, none};
        QTest::newRow("no match, then empty")
            << u"xq\b\b"_s << QList<Pair>{none, none, none, newYear};
    }
    void eachKeyShowsTheFirstMatch()
    {
        QFETCH(QString, keys);
        QFETCH(QList<Pair>, after);
        Program program(start);
        SearchWindow& search = openFromMain(program);
        auto* text1 = child<QLineEdit>(search, "queryBox");
        QList<Pair> seen;
        for (const QChar key : keys) {
            QTest::keyClick(text1, key.toLatin1());
            seen.append({child<QLineEdit>(search, "firstMatchBox")->text(),
                         child<QPlainTextEdit>(search, "foundDaysBox")->toPlainText()});
        }
        QCOMPARE(seen, after);
    }

    void enterListsEveryDayContainingTheQuery_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QStringList>("list");
        QTest::newRow("att") << u"att"_s << u"Attila, Ramóna"_s
                             << QStringList{u"Attila, Ramóna, január  7"_s};
        QTest::newRow("title ahead of the first match")
            << u"Kristóf"_s << u"Kristóf, Jakab"_s
            << QStringList{u"NEMZETI ÜNNEP, Kristóf,mszn, március  15"_s,
                           u"Kristóf, Jakab, július  25"_s};
        QTest::newRow("accented, spaces around")
            << u" ágota "_s << u"Ágota"_s
            << QStringList{u"Ágota, január  11"_s, u"Ágota, Ingrid, február  5"_s};
        QTest::newRow("accent missing") << u"agota"_s << QString() << QStringList();
        // Text that looks the same finds the same days.
        const QStringList eva{u"Genovéva, Benjámin, január  3"_s, u"Ádám, Éva, december  24"_s};
        QTest::newRow("accent typed as a separate mark") << u"E\u0301va"_s << QString() << eva;
        QTest::newRow("no-break spaces around") << u"\u00a0Éva\u00a0"_s << QString() << eva;
        QTest::newRow("tabs around")
            << u"\tatt\t"_s << u"Attila, Ramóna"_s << QStringList{u"Attila, Ramóna, január  7"_s};
        QTest::newRow("decomposed first match")
            << u"A\u0301da\u0301m"_s << u"Ádám"_s
            << QStringList{u"Ádám, szeptember  9"_s, u"Ádám, Éva, december  24"_s};
        QTest::newRow("nothing") << u"xyz"_s << QString() << QStringList();
    }
    void enterListsEveryDayContainingTheQuery()
    {
        QFETCH(QString, query);
        QFETCH(QString, first);
        QFETCH(QStringList, list);
        Program program(start);
        SearchWindow& search = openFromMain(program);
        auto* text1 = child<QLineEdit>(search, "queryBox");
        text1->insert(query);
        QCOMPARE(child<QLineEdit>(search, "firstMatchBox")->text(), first);
        QTest::keyClick(text1, Qt::Key_Return);
        QCOMPARE(child<QPlainTextEdit>(search, "foundDaysBox")->toPlainText(), shown(list));
        QCOMPARE(child<QLineEdit>(search, "firstMatchBox")->text(), first);
    }

    void spacesOnlyListsEveryDay()
    {
        Program program(start);
        SearchWindow& search = openFromMain(program);
        child<QLineEdit>(search, "queryBox")->setText(u"   "_s);
        QTest::keyClick(child<QLineEdit>(search, "queryBox"), Qt::Key_Enter);
        const QStringList lines =
            child<QPlainTextEdit>(search, "foundDaysBox")->toPlainText().split(u'\n');
        QCOMPARE(lines.size(), 366 + 1); // a leap year, and the last line ends too
        QCOMPARE(lines.first(), u"ÚJéV, Fruzsina,mszn, január  1");
        QCOMPARE(lines[365], u"Szilveszter, december  31");
        QVERIFY(lines.last().isEmpty());
    }

    void clickIntoTheFirstMatchSearchesItsWholeText_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<QString>("text3");
        QTest::newRow("att") << u"att"_s << Qt::LeftButton << u"Attila, Ramóna, január  7\n"_s;
        QTest::newRow("Kristóf") << u"Kristóf"_s << Qt::LeftButton
                                 << u"Kristóf, Jakab, július  25\n"_s;
        QTest::newRow("middle button") << u"att"_s << Qt::MiddleButton << u"január  7"_s;
    }
    void clickIntoTheFirstMatchSearchesItsWholeText()
    {
        QFETCH(QString, query);
        QFETCH(Qt::MouseButton, button);
        QFETCH(QString, text3);
        Program program(start);
        SearchWindow& search = openFromMain(program);
        child<QLineEdit>(search, "queryBox")->insert(query);
        QTest::mouseClick(child<QLineEdit>(search, "firstMatchBox"), button);
        QCOMPARE(child<QPlainTextEdit>(search, "foundDaysBox")->toPlainText(), text3);
    }

    // From the keyboard: Tab into the first match and Enter list the days of its whole text.
    void enterInTheFirstMatchSearchesItsWholeText_data()
    {
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("found");
        QTest::newRow("att") << u"att"_s << u"Attila, Ramóna, január  7\n"_s;
        QTest::newRow("Kristóf") << u"Kristóf"_s << u"Kristóf, Jakab, július  25\n"_s;
        QTest::newRow("no match") << u"xq"_s << QString();
    }
    void enterInTheFirstMatchSearchesItsWholeText()
    {
        QFETCH(QString, query);
        QFETCH(QString, found);
        Program program(start);
        SearchWindow& search = openFromMain(program);
        QVERIFY(QTest::qWaitForWindowActive(&search));
        auto* box = child<QLineEdit>(search, "queryBox");
        QTRY_VERIFY(box->hasFocus());
        box->insert(query);
        QTest::keyClick(box, Qt::Key_Tab);
        auto* first = child<QLineEdit>(search, "firstMatchBox");
        QVERIFY(first->hasFocus());
        QTest::keyClick(first, Qt::Key_Return);
        if (found.isEmpty()) // an empty first match searches for every day
            QCOMPARE(child<QPlainTextEdit>(search, "foundDaysBox")->toPlainText().count(u'\n'),
                     366);
        else
            QCOMPARE(child<QPlainTextEdit>(search, "foundDaysBox")->toPlainText(), found);
    }

    void leavingGivesTheOtherWindowsBack_data()
    {
        QTest::addColumn<bool>("fromCalendar");
        QTest::addColumn<bool>("byFrame");
        QTest::newRow("main, Exit") << false << false;
        QTest::newRow("main, frame") << false << true;
        QTest::newRow("calendar, Exit") << true << false;
        QTest::newRow("calendar, frame") << true << true;
    }
    void leavingGivesTheOtherWindowsBack()
    {
        QFETCH(bool, fromCalendar);
        QFETCH(bool, byFrame);
        Program program(start);
        MainWindow& main = program.windows.mainWindow();
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        if (fromCalendar) {
            QTest::mouseClick(child<QPushButton>(main, "calendarButton"), Qt::LeftButton);
            CalendarWindow& calendar = program.windows.calendarWindow();
            QVERIFY(QTest::qWaitForWindowExposed(&calendar));
            QTest::mouseClick(child<QPushButton>(calendar, "searchButton"), Qt::LeftButton);
        } else {
            QTest::mouseClick(child<QPushButton>(main, "searchButton"), Qt::LeftButton);
        }
        SearchWindow& search = program.windows.searchWindow();
        QVERIFY(QTest::qWaitForWindowExposed(&search));
        QVERIFY(child<QPushButton>(main, "searchButton")->isHidden());
        QVERIFY(child<QPushButton>(program.windows.calendarWindow(), "searchButton")->isHidden());

        if (byFrame)
            QVERIFY(search.close());
        else
            QTest::mouseClick(child<QPushButton>(search, "exitButton"), Qt::LeftButton);
        QVERIFY(search.isHidden());
        QVERIFY(!child<QPushButton>(main, "searchButton")->isHidden());
        QVERIFY(!child<QPushButton>(program.windows.calendarWindow(), "searchButton")->isHidden());
    }

    void secondOpeningKeepsTheSearch()
    {
        Program program(start);
        MainWindow& main = program.windows.mainWindow();
        SearchWindow& search = openFromMain(program);
        auto* text1 = child<QLineEdit>(search, "queryBox");
        QTest::keyClicks(text1, "att");
        QTest::keyClick(text1, Qt::Key_Return);
        QTest::mouseClick(child<QPushButton>(search, "exitButton"), Qt::LeftButton);
        const QPoint place = search.pos();
        main.move(main.pos() + QPoint(50, 40));

        QTest::mouseClick(child<QPushButton>(main, "searchButton"), Qt::LeftButton);
        QVERIFY(QTest::qWaitForWindowExposed(&search));
        QCOMPARE(text1->text(), u"att");
        QCOMPARE(child<QLineEdit>(search, "firstMatchBox")->text(), u"Attila, Ramóna");
        QCOMPARE(child<QPlainTextEdit>(search, "foundDaysBox")->toPlainText(),
                 u"Attila, Ramóna, január  7\n");
        QCOMPARE(search.pos(), place);
    }
};

QTEST_MAIN(TestSearchWindow)
#include "tst_searchwindow.moc"
