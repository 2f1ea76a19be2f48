#include "support/program.h"
#include "ui/calendar/form3.h"
#include "ui/main/form1.h"
#include "ui/search/form2.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>

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
    Form1& main() { return windows.form1(); }
    Form2& search() { return windows.form2(); }
    Form3& calendar() { return windows.form3(); }

    void click(QWidget& window, const char* button)
    {
        QTest::mouseClick(child<QPushButton>(window, button), Qt::LeftButton);
    }
    // The steps a user takes, by name, so that tests can list them.
    void take(const QString& step)
    {
        if (step == u"Névkeresés")
            click(main(), "Command2");
        else if (step == u"Calendarium")
            click(main(), "calendarium");
        else if (step == u"main gets the focus")
            main().Form_GotFocus();
        else if (step == u"calendar Névkeresés")
            click(calendar(), "Nevkeres");
        else if (step == u"Kilépés")
            click(calendar(), "kilep");
        else if (step == u"search Exit")
            click(search(), "Command1");
        else if (step == u"close search")
            search().close();
        else if (step == u"close calendar")
            calendar().close();
        else
            qFatal("unknown step %s", qPrintable(step));
    }
    QDate calendarDate() { return child<QCalendarWidget>(calendar(), "Calendar1")->selectedDate(); }
    QString dayText() { return child<QLabel>(calendar(), "LabelZorvat")->text(); }
};
} // namespace

class TestHandovers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mainWindowState_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<bool>("timer");
        QTest::addColumn<bool>("searchButton");
        QTest::addColumn<bool>("mainShown");
        auto row = [](const char* name, const QStringList& steps, bool timer, bool button,
                      bool shown) { QTest::newRow(name) << steps << timer << button << shown; };
        row("start-up", {}, true, true, true);
        row("Névkeresés", {u"Névkeresés"_s}, false, false, true);
        row("Calendarium", {u"Calendarium"_s}, false, true, true);
        row("main gets the focus", {u"Calendarium"_s, u"main gets the focus"_s}, true, true, true);
        row("search Exit", {u"Névkeresés"_s, u"search Exit"_s}, true, true, true);
        row("close search", {u"Névkeresés"_s, u"close search"_s}, true, true, true);
        row("Kilépés", {u"Calendarium"_s, u"Kilépés"_s}, true, true, true);
        row("close calendar", {u"Calendarium"_s, u"close calendar"_s}, true, true, true);
        row("calendar Névkeresés", {u"Calendarium"_s, u"calendar Névkeresés"_s}, false, false,
            false);
        row("search Exit over the calendar",
            {u"Calendarium"_s, u"calendar Névkeresés"_s, u"search Exit"_s}, false, true, false);
        row("then Kilépés",
            {u"Calendarium"_s, u"calendar Névkeresés"_s, u"search Exit"_s, u"Kilépés"_s}, true,
            true, true);
        row("calendar closed under the search",
            {u"Calendarium"_s, u"calendar Névkeresés"_s, u"close calendar"_s}, true, false, true);
        row("second search opening from the calendar",
            {u"Névkeresés"_s, u"search Exit"_s, u"Calendarium"_s, u"calendar Névkeresés"_s}, false,
            true, false);
    }
    void mainWindowState()
    {
        QFETCH(QStringList, steps);
        QFETCH(bool, timer);
        QFETCH(bool, searchButton);
        QFETCH(bool, mainShown);
        Session session;
        for (const QString& step : steps)
            session.take(step);
        QCOMPARE(session.main().isTimerRunning(), timer);
        QCOMPARE(child<QPushButton>(session.main(), "Command2")->isVisibleTo(&session.main()),
                 searchButton);
        QCOMPARE(session.main().isVisible(), mainShown);
        // Whatever the user did, some window can still be reached.
        QVERIFY(session.main().isVisible() ||
                (session.windows.hasForm2() && session.search().isVisible()) ||
                (session.windows.hasForm3() && session.calendar().isVisible()));
    }

    void eachWindowExistsOnceAndKeepsItsState()
    {
        Session session;
        session.take(u"Névkeresés"_s);
        Form2* search = &session.search();
        child<QLineEdit>(*search, "Text1")->setText(u"att"_s);
        session.take(u"search Exit"_s);
        session.take(u"Calendarium"_s);
        Form3* calendar = &session.calendar();
        session.take(u"calendar Névkeresés"_s);
        QCOMPARE(&session.search(), search);
        QCOMPARE(child<QLineEdit>(*search, "Text1")->text(), u"att");
        QCOMPARE(child<QLineEdit>(*search, "Text2")->text(), u"Attila, Ramóna");
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
        pick(child<QComboBox>(session.calendar(), "comboYear"), year - 1900);
        auto* feasts = child<QComboBox>(session.calendar(), "combUnnepek");
        feasts->setFocus();
        pick(feasts, feast);
        QCOMPARE(session.calendarDate(), expected);
        QVERIFY(session.dayText().startsWith(expected.toString(u" yyyy.MM.dd."_s)));
        QCOMPARE(QDate(session.names.refdatum), expected);

        // Leaving the picker clears it without another jump.
        child<QWidget>(session.calendar(), "kilep")->setFocus();
        QCOMPARE(feasts->currentIndex(), -1);
        QCOMPARE(feasts->currentText(), u"Változó Ünnepek");
        QCOMPARE(session.calendarDate(), expected);
    }

    void easterIn2004AndBackToToday()
    {
        Session session;
        session.take(u"Calendarium"_s);
        pick(child<QComboBox>(session.calendar(), "comboYear"), 104);
        pick(child<QComboBox>(session.calendar(), "combUnnepek"), 0);
        QCOMPARE(session.dayText(), u" 2004.04.11.   Húsvét, Leó, Szaniszló   ");
        QCOMPARE(session.names.nevek(2, 24), u"Mátyás/szökőnap");
        session.take(u"Kilépés"_s);
        QVERIFY(!session.calendar().isVisible());
        QCOMPARE(session.calendarDate(), startTime.date());
        QCOMPARE(session.names.nevek(2, 24), u"Mátyás");
        QCOMPARE(session.names.nevek(4, 5), u"Húsvét, Vince,mszn");
        session.main().Timer1_Timer();
        QCOMPARE(child<QLabel>(session.main(), "labelMaiZorvat")->text(), u"  Ambrus  ");
    }

    // The calendar's load moves refdatum; the search still gets the current year's table.
    void searchBeforeTheCalendarWasEverOpened()
    {
        Session session;
        QVERIFY(!session.windows.hasForm3());
        session.take(u"Névkeresés"_s);
        QVERIFY(session.windows.hasForm3());
        QVERIFY(!session.calendar().isVisible());
        QVERIFY(
            !child<QPushButton>(session.calendar(), "Nevkeres")->isVisibleTo(&session.calendar()));
        auto* query = child<QLineEdit>(session.search(), "Text1");
        query->insert(u"Húsvét"_s);
        QTest::keyClick(query, Qt::Key_Return);
        QCOMPARE(child<QPlainTextEdit>(session.search(), "Text3")->toPlainText().split(u'\n'),
                 QStringList({u"Húsvét, Vince,mszn, április  5"_s,
                              u"Húsvéthétfő, Vilmos, Bíborka,mszn, április  6"_s, QString()}));
    }

    void searchFromTheCalendarAndBack()
    {
        Session session;
        session.take(u"Calendarium"_s);
        pick(child<QComboBox>(session.calendar(), "comboYear"), 104);
        session.take(u"calendar Névkeresés"_s);
        QVERIFY(session.search().isVisible());
        QVERIFY(session.calendar().isVisible());
        QVERIFY(!session.main().isVisible());
        // The search rebuilt its table for today, not for the year the calendar showed.
        QCOMPARE(session.names.nevek(2, 24), u"Mátyás");
        session.take(u"search Exit"_s);
        QVERIFY(child<QPushButton>(session.calendar(), "Nevkeres")->isVisible());
        QVERIFY(!session.main().isTimerRunning());
        session.take(u"Kilépés"_s);
        QVERIFY(session.main().isVisible());
        QVERIFY(session.main().isTimerRunning());
    }

    void exitEndsTheProgramWithOtherWindowsOpen()
    {
        Session session;
        session.take(u"Calendarium"_s);
        session.take(u"Névkeresés"_s);
        QSignalSpy ended(&session.windows, &Windows::ended);
        session.click(session.main(), "Command1");
        QCOMPARE(ended.count(), 1);
        QVERIFY(!session.main().isVisible());
        QVERIFY(!session.calendar().isVisible());
        QVERIFY(!session.search().isVisible());
    }
};

QTEST_MAIN(TestHandovers)
#include "tst_handovers.moc"
