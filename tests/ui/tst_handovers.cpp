#include "support/program.h"
#include "ui/calendar/calendarwindow.h"
#include "ui/main/mainwindow.h"
#include "ui/search/searchwindow.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {
const QDateTime startTime(QDate(2026, 12, 7), QTime(9, 30));

// The program as a user starts it: the main window loaded and shown.
struct Session : Program
{
    Session()
        : Program(startTime)
    {
        main().show();
        if (!QTest::qWaitForWindowExposed(&main()))
            qFatal("the main window did not appear");
    }
    MainWindow& main() { return windows.mainWindow(); }
    SearchWindow& search() { return windows.searchWindow(); }
    CalendarWindow& calendar() { return windows.calendarWindow(); }

    void click(QWidget& window, const char* button)
    {
        QTest::mouseClick(child<QPushButton>(window, button), Qt::LeftButton);
    }
    // The steps a user takes, by name, so that tests can list them.
    void take(const QString& step)
    {
        if (step == u"Névkeresés")
            click(main(), "searchButton");
        else if (step == u"Calendarium")
            click(main(), "calendarButton");
        else if (step == u"calendar Névkeresés")
            click(calendar(), "searchButton");
        else if (step == u"Kilépés")
            click(calendar(), "exitButton");
        else if (step == u"search Exit")
            click(search(), "exitButton");
        else if (step == u"close search")
            search().close();
        else if (step == u"close calendar")
            calendar().close();
        else
            qFatal("unknown step %s", qPrintable(step));
    }
    QDate calendarDate() { return child<QCalendarWidget>(calendar(), "calendar")->selectedDate(); }
    QString dayText() { return child<QLabel>(calendar(), "dayText")->text(); }
    // Enter on a query in the search window, as typed; the lines it lists.
    QStringList searchFor(const QString& query)
    {
        auto* box = child<QLineEdit>(search(), "queryBox");
        box->clear();
        box->insert(query);
        QTest::keyClick(box, Qt::Key_Return);
        QStringList lines =
            child<QPlainTextEdit>(search(), "foundDaysBox")->toPlainText().split(u'\n');
        lines.removeLast(); // every line ends
        return lines;
    }
};
} // namespace

class TestHandovers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mainWindowState_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("searchButton");
        QTest::addColumn<bool>("mainShown");
        auto row = [](const char* name, const QStringList& steps, bool button, bool shown) {
            QTest::newRow(name) << steps << button << shown;
        };
        row("start-up", {}, true, true);
        row("Névkeresés", {u"Névkeresés"_s}, false, true);
        row("Calendarium", {u"Calendarium"_s}, true, true);
        row("search Exit", {u"Névkeresés"_s, u"search Exit"_s}, true, true);
        row("close search", {u"Névkeresés"_s, u"close search"_s}, true, true);
        row("Kilépés", {u"Calendarium"_s, u"Kilépés"_s}, true, true);
        row("close calendar", {u"Calendarium"_s, u"close calendar"_s}, true, true);
        row("calendar Névkeresés", {u"Calendarium"_s, u"calendar Névkeresés"_s}, false, false);
        row("search Exit over the calendar",
            {u"Calendarium"_s, u"calendar Névkeresés"_s, u"search Exit"_s}, true, false);
        row("then Kilépés",
            {u"Calendarium"_s, u"calendar Névkeresés"_s, u"search Exit"_s, u"Kilépés"_s}, true,
            true);
        row("calendar closed under the search",
            {u"Calendarium"_s, u"calendar Névkeresés"_s, u"close calendar"_s}, false, true);
        row("second search opening from the calendar",
            {u"Névkeresés"_s, u"search Exit"_s, u"Calendarium"_s, u"calendar Névkeresés"_s}, true,
            false);
    }
    void mainWindowState()
    {
        QFETCH(QStringList, steps);
        QFETCH(bool, searchButton);
        QFETCH(bool, mainShown);
        Session session;
        for (const QString& step : steps)
            session.take(step);
        QCOMPARE(child<QPushButton>(session.main(), "searchButton")->isVisibleTo(&session.main()),
                 searchButton);
        QCOMPARE(session.main().isVisible(), mainShown);
        // Whatever the user did, some window can still be reached.
        QVERIFY(session.main().isVisible() ||
                (session.windows.hasSearchWindow() && session.search().isVisible()) ||
                (session.windows.hasCalendarWindow() && session.calendar().isVisible()));
    }

    // Window managers and compositors keep a tool window above the window it belongs to: the
    // search belongs to the window that opened it, and to the main window once the calendar
    // that opened it is gone.
    void searchStaysAboveItsOpener_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("owner");
        QTest::newRow("from the main window") << QStringList{u"Névkeresés"_s} << u"main"_s;
        QTest::newRow("from the calendar")
            << QStringList{u"Calendarium"_s, u"calendar Névkeresés"_s} << u"calendar"_s;
        QTest::newRow("from the calendar, then Kilépés")
            << QStringList{u"Calendarium"_s, u"calendar Névkeresés"_s, u"Kilépés"_s} << u"main"_s;
        QTest::newRow("from the main window, then from the calendar")
            << QStringList{u"Névkeresés"_s, u"search Exit"_s, u"Calendarium"_s,
                           u"calendar Névkeresés"_s}
            << u"calendar"_s;
        QTest::newRow("from the calendar, then from the main window")
            << QStringList{u"Calendarium"_s, u"calendar Névkeresés"_s, u"search Exit"_s,
                           u"Kilépés"_s, u"Névkeresés"_s}
            << u"main"_s;
    }
    void searchStaysAboveItsOpener()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, owner);
        Session session;
        for (const QString& step : steps)
            session.take(step);
        QVERIFY(session.search().isVisible());
        QCOMPARE(session.search().windowType(), Qt::Tool);
        QWidget& opener = owner == u"main" ? static_cast<QWidget&>(session.main())
                                           : static_cast<QWidget&>(session.calendar());
        QVERIFY(opener.isVisible());
        QCOMPARE(session.search().windowHandle()->transientParent(), opener.windowHandle());
        QTRY_COMPARE(QApplication::activeWindow(), &session.search());
    }

    // Where the window system lets a click on its owner bury the search (sway), and when the
    // calendar comes over it, the window the user turns to offers its "Névkeresés" again: it
    // brings the search back in front, as that window's, and hides again.
    void wayBackToTheSearch_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("turnTo");
        QTest::newRow("main window clicked") << QStringList{u"Névkeresés"_s} << u"main"_s;
        QTest::newRow("calendar clicked")
            << QStringList{u"Calendarium"_s, u"calendar Névkeresés"_s} << u"calendar"_s;
        QTest::newRow("calendar opened over it")
            << QStringList{u"Névkeresés"_s, u"Calendarium"_s} << u"calendar"_s;
    }
    void wayBackToTheSearch()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, turnTo);
        Session session;
        for (const QString& step : steps)
            session.take(step);
        QWidget& window = turnTo == u"main" ? static_cast<QWidget&>(session.main())
                                            : static_cast<QWidget&>(session.calendar());
        auto* button = child<QPushButton>(window, "searchButton");
        window.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &window);
        QTRY_VERIFY(button->isVisible());
        QVERIFY(session.search().isVisible());

        QTest::mouseClick(button, Qt::LeftButton);
        QTRY_COMPARE(QApplication::activeWindow(), &session.search());
        QVERIFY(!button->isVisible());
        QCOMPARE(session.search().windowHandle()->transientParent(), window.windowHandle());
        // Opened from the calendar, the search takes the main window's place.
        QCOMPARE(session.main().isVisible(), turnTo == u"main");
    }

    // Turning back to the search itself hides the way back again.
    void wayBackHidesWhenTheSearchIsInFront()
    {
        Session session;
        session.take(u"Névkeresés"_s);
        auto* button = child<QPushButton>(session.main(), "searchButton");
        session.main().activateWindow();
        QTRY_VERIFY(button->isVisible());
        session.search().activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &session.search());
        QVERIFY(!button->isVisible());
        session.take(u"search Exit"_s);
        QVERIFY(button->isVisible());
    }

    // A search shown while the main window was away is taken by window managers for a window
    // of its own, so it is shown again once the main window is back.
    void searchBelongsToTheMainWindowAgainAfterTheCalendar()
    {
        Session session;
        session.take(u"Calendarium"_s);
        session.take(u"calendar Névkeresés"_s);
        QList<bool> mainShownWhenSearchShown;
        QObject::connect(session.search().windowHandle(), &QWindow::visibleChanged,
                         [&](bool shown) {
                             if (shown)
                                 mainShownWhenSearchShown << session.main().isVisible();
                         });
        session.take(u"Kilépés"_s);
        QVERIFY(session.search().isVisible());
        QCOMPARE(mainShownWhenSearchShown, QList<bool>{true});
    }

    // The main window stays on screen beside the other two, so its clock and names go on.
    void mainWindowClockRunsBesideTheOtherWindows()
    {
        Session session;
        session.take(u"Calendarium"_s);
        session.take(u"Névkeresés"_s);
        QVERIFY(session.main().isVisible());
        auto* clock = child<QLineEdit>(session.main(), "clockBox");
        session.clock.set(QDateTime(startTime.date(), QTime(9, 42, 17)));
        QTRY_COMPARE_WITH_TIMEOUT(clock->text(), u"9:42:17"_s, 2500);
        session.clock.set(QDateTime(startTime.date().addDays(1), QTime(0, 0, 3)));
        QTRY_COMPARE_WITH_TIMEOUT(child<QLabel>(session.main(), "todayNames")->text(),
                                  u"  Mária  "_s, 2500);
        QCOMPARE(clock->text(), u"0:00:03"_s);
    }

    // A year browsed in the calendar never reaches the search, which reads the current year.
    void searchReadsTheCurrentYear_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<int>("yearShown");
        QTest::addColumn<QString>("open");
        QTest::newRow("calendar left on 2004")
            << QStringList{u"Calendarium"_s} << 2004 << u"Kilépés, Névkeresés"_s;
        QTest::newRow("search from the calendar on 2004")
            << QStringList{u"Névkeresés"_s, u"search Exit"_s, u"Calendarium"_s} << 2004
            << u"calendar Névkeresés"_s;
        QTest::newRow("search from the calendar on 2027")
            << QStringList{u"Névkeresés"_s, u"search Exit"_s, u"Calendarium"_s} << 2027
            << u"calendar Névkeresés"_s;
    }
    void searchReadsTheCurrentYear()
    {
        QFETCH(QStringList, before);
        QFETCH(int, yearShown);
        QFETCH(QString, open);
        Session session;
        for (const QString& step : before)
            session.take(step);
        pick(child<QComboBox>(session.calendar(), "yearPicker"), yearShown - 1900);
        QCOMPARE(session.calendarDate().year(), yearShown);
        for (const QString& step : open.split(u", "_s))
            session.take(step);
        QVERIFY(session.search().isVisible());

        QCOMPARE(session.searchFor(u"Elemér"_s), QStringList{u"Elemér, február  28"_s});
        QCOMPARE(session.searchFor(u"Húsvét"_s),
                 QStringList({u"Húsvét, Vince,mszn, április  5"_s,
                              u"Húsvéthétfő, Vilmos, Bíborka,mszn, április  6"_s}));
        const QStringList everyDay = session.searchFor(QString());
        QCOMPARE(everyDay.size(), 365);
        QVERIFY(!everyDay.join(u'\n').contains(u"február  29"));
    }

    // Calendarium on an open calendar brings it to today, with today's text.
    void calendariumOnAnOpenCalendar()
    {
        Session session;
        session.take(u"Calendarium"_s);
        pick(child<QComboBox>(session.calendar(), "yearPicker"), 104);
        pick(child<QComboBox>(session.calendar(), "feastPicker"), 0);
        QCOMPARE(session.dayText(), u" 2004.04.11.   Húsvét, Leó, Szaniszló   ");
        auto* todayButton = child<QPushButton>(session.calendar(), "todayButton");
        QVERIFY(todayButton->isVisible());
        session.take(u"Calendarium"_s);
        QCOMPARE(session.calendarDate(), startTime.date());
        QCOMPARE(session.dayText(), u" 2026.12.07.   Ambrus   ");
        QVERIFY(!todayButton->isVisible());
        QCOMPARE(child<QComboBox>(session.calendar(), "yearPicker")->currentText(), u" 2026");
        QCOMPARE(child<QComboBox>(session.calendar(), "monthPicker")->currentText(), u"December");
    }

    void eachWindowExistsOnceAndKeepsItsState()
    {
        Session session;
        session.take(u"Névkeresés"_s);
        SearchWindow* search = &session.search();
        child<QLineEdit>(*search, "queryBox")->setText(u"att"_s);
        session.take(u"search Exit"_s);
        session.take(u"Calendarium"_s);
        CalendarWindow* calendar = &session.calendar();
        session.take(u"calendar Névkeresés"_s);
        QCOMPARE(&session.search(), search);
        QCOMPARE(child<QLineEdit>(*search, "queryBox")->text(), u"att");
        QCOMPARE(child<QLineEdit>(*search, "firstMatchBox")->text(), u"Attila, Ramóna");
        session.take(u"search Exit"_s);
        session.take(u"Kilépés"_s);
        session.take(u"Calendarium"_s);
        QCOMPARE(&session.calendar(), calendar);
        QVERIFY(calendar->isVisible());
        QCOMPARE(session.calendarDate(), startTime.date());
    }

    void feastOfTheShownYear_data()
    {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("feast");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("2004 Húsvétvasárnap") << 2004 << 0 << QDate(2004, 4, 11);
        QTest::newRow("2004 Húsvéthétfő") << 2004 << 1 << QDate(2004, 4, 12);
        QTest::newRow("2004 Pünkösdvasárnap") << 2004 << 2 << QDate(2004, 5, 30);
        QTest::newRow("2004 Pünkösdhétfő") << 2004 << 3 << QDate(2004, 5, 31);
        QTest::newRow("2004 Nagypéntek") << 2004 << 4 << QDate(2004, 4, 9);
        QTest::newRow("2004 Hamvazószerda") << 2004 << 5 << QDate(2004, 2, 25);
        QTest::newRow("2004 Thanksgiving") << 2004 << 6 << QDate(2004, 11, 25);
        QTest::newRow("2005 Húsvétvasárnap") << 2005 << 0 << QDate(2005, 3, 27);
        QTest::newRow("current year") << 2026 << 0 << QDate(2026, 4, 5);
    }
    void feastOfTheShownYear()
    {
        QFETCH(int, year);
        QFETCH(int, feast);
        QFETCH(QDate, expected);
        Session session;
        session.take(u"Calendarium"_s);
        QVERIFY(QTest::qWaitForWindowActive(&session.calendar()));
        pick(child<QComboBox>(session.calendar(), "yearPicker"), year - 1900);
        auto* feasts = child<QComboBox>(session.calendar(), "feastPicker");
        feasts->setFocus();
        pick(feasts, feast);
        QCOMPARE(session.calendarDate(), expected);
        QVERIFY(session.dayText().startsWith(expected.toString(u" yyyy.MM.dd."_s)));

        // Leaving the picker clears it without another jump.
        child<QWidget>(session.calendar(), "exitButton")->setFocus();
        QCOMPARE(feasts->currentIndex(), -1);
        QCOMPARE(feasts->currentText(), u"Változó Ünnepek");
        QCOMPARE(session.calendarDate(), expected);
    }

    void easterIn2004AndBackToToday()
    {
        Session session;
        session.take(u"Calendarium"_s);
        pick(child<QComboBox>(session.calendar(), "yearPicker"), 104);
        pick(child<QComboBox>(session.calendar(), "feastPicker"), 0);
        QCOMPARE(session.dayText(), u" 2004.04.11.   Húsvét, Leó, Szaniszló   ");
        session.take(u"Kilépés"_s);
        QVERIFY(!session.calendar().isVisible());
        QCOMPARE(session.calendarDate(), startTime.date());
        session.main().tick();
        QCOMPARE(child<QLabel>(session.main(), "todayNames")->text(), u"  Ambrus  ");
    }

    // Opening the search first creates the calendar, hidden, with its search button hidden.
    void searchBeforeTheCalendarWasEverOpened()
    {
        Session session;
        QVERIFY(!session.windows.hasCalendarWindow());
        session.take(u"Névkeresés"_s);
        QVERIFY(session.windows.hasCalendarWindow());
        QVERIFY(!session.calendar().isVisible());
        QVERIFY(!child<QPushButton>(session.calendar(), "searchButton")
                     ->isVisibleTo(&session.calendar()));
        auto* query = child<QLineEdit>(session.search(), "queryBox");
        query->insert(u"Húsvét"_s);
        QTest::keyClick(query, Qt::Key_Return);
        QCOMPARE(
            child<QPlainTextEdit>(session.search(), "foundDaysBox")->toPlainText().split(u'\n'),
            QStringList({u"Húsvét, Vince,mszn, április  5"_s,
                         u"Húsvéthétfő, Vilmos, Bíborka,mszn, április  6"_s, QString()}));
    }

    void searchFromTheCalendarAndBack()
    {
        Session session;
        session.take(u"Calendarium"_s);
        session.take(u"calendar Névkeresés"_s);
        QVERIFY(session.search().isVisible());
        QVERIFY(session.calendar().isVisible());
        QVERIFY(!session.main().isVisible());
        session.take(u"search Exit"_s);
        QVERIFY(child<QPushButton>(session.calendar(), "searchButton")->isVisible());
        QVERIFY(!session.main().isVisible());
        session.take(u"Kilépés"_s);
        QVERIFY(session.main().isVisible());
    }

    // A day another program asks for (a search result): the calendar in front on it, the other
    // windows as they were.
    void calendarOnARequestedDay_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("minimized");
        QTest::addColumn<bool>("mainShown");
        QTest::addColumn<bool>("searchShown");
        QTest::newRow("at the start") << QStringList() << false << true << false;
        QTest::newRow("calendar open on today")
            << QStringList{u"Calendarium"_s} << false << true << false;
        QTest::newRow("calendar minimized")
            << QStringList{u"Calendarium"_s} << true << true << false;
        QTest::newRow("calendar closed")
            << QStringList{u"Calendarium"_s, u"Kilépés"_s} << false << true << false;
        QTest::newRow("search open") << QStringList{u"Névkeresés"_s} << false << true << true;
        QTest::newRow("search from the calendar")
            << QStringList{u"Calendarium"_s, u"calendar Névkeresés"_s} << false << false << true;
    }
    void calendarOnARequestedDay()
    {
        QFETCH(QStringList, steps);
        QFETCH(bool, minimized);
        QFETCH(bool, mainShown);
        QFETCH(bool, searchShown);
        Session session;
        for (const QString& step : steps)
            session.take(step);
        if (minimized)
            session.calendar().showMinimized();
        session.windows.showCalendarOn(QDate(2027, 7, 26));
        QVERIFY(session.calendar().isVisible());
        QVERIFY(!(session.calendar().windowState() & Qt::WindowMinimized));
        QCOMPARE(session.calendarDate(), QDate(2027, 7, 26));
        QCOMPARE(session.dayText(), u" 2027.07.26.   Anna, Anikó   ");
        QVERIFY(child<QPushButton>(session.calendar(), "todayButton")->isVisible());
        QCOMPARE(session.main().isVisible(), mainShown);
        QCOMPARE(session.windows.hasSearchWindow() && session.search().isVisible(), searchShown);
        session.take(u"Kilépés"_s);
        QVERIFY(session.main().isVisible());
        QCOMPARE(session.calendarDate(), startTime.date());
    }

    void exitEndsTheProgramWithOtherWindowsOpen()
    {
        Session session;
        session.take(u"Calendarium"_s);
        session.take(u"Névkeresés"_s);
        QSignalSpy ended(&session.windows, &Windows::ended);
        session.click(session.main(), "exitButton");
        QCOMPARE(ended.count(), 1);
        QVERIFY(!session.main().isVisible());
        QVERIFY(!session.calendar().isVisible());
        QVERIFY(!session.search().isVisible());
    }
};

QTEST_MAIN(TestHandovers)
#include "tst_handovers.moc"
