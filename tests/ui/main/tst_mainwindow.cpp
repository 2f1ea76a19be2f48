#include "support/program.h"
#include "ui/controls/fonts.h"
#include "ui/controls/twips.h"
#include "ui/main/mainwindow.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {
QString todayLabel(const MainWindow& form)
{
    return child<QLabel>(form, "todayNames")->text();
}

QString tomorrowLabel(const MainWindow& form)
{
    return child<QLabel>(form, "tomorrowNames")->text();
}

QString clockText(const MainWindow& form)
{
    return child<QLineEdit>(form, "clockBox")->text();
}
} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startUpShowsTodayAndTomorrow_data()
    {
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<QString>("today");
        QTest::addColumn<QString>("tomorrow");
        QTest::addColumn<QString>("date");
        QTest::newRow("plain day")
            << at(2004, 4, 8, 5, 3, 7) << u"  Dénes  "_s << u"  Nagypéntek, Erhard  "_s
            << u"2004  április 8, csütörtök"_s;
        QTest::newRow("marker removed") << at(2004, 3, 15) << u"  NEMZETI ÜNNEP, Kristóf  "_s
                                        << u"  Henrietta  "_s << u"2004  március 15, hétfő"_s;
        QTest::newRow("movable holiday")
            << at(2004, 4, 10) << u"  Zsolt  "_s << u"  Húsvét, Leó, Szaniszló  "_s
            << u"2004  április 10, szombat"_s;
        QTest::newRow("last day of the year")
            << at(2004, 12, 31) << u"  Szilveszter  "_s << u"  ÚJéV, Fruzsina  "_s
            << u"2004  december 31, péntek"_s;
        QTest::newRow("leap day tomorrow") << at(2004, 2, 28) << u"  Elemér/Ákos  "_s
                                           << u"  Elemér  "_s << u"2004  február 28, szombat"_s;
        QTest::newRow("1 March tomorrow")
            << at(2005, 2, 28) << u"  Elemér  "_s << u"  Albin  "_s << u"2005  február 28, hétfő"_s;
    }
    void startUpShowsTodayAndTomorrow()
    {
        QFETCH(QDateTime, start);
        QFETCH(QString, today);
        QFETCH(QString, tomorrow);
        QFETCH(QString, date);
        Program program(start);
        MainWindow& form = program.windows.mainWindow();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(todayLabel(form), today);
        QCOMPARE(tomorrowLabel(form), tomorrow);
        QCOMPARE(child<QLineEdit>(form, "dateBox")->text(), date);
        QCOMPARE(clockText(form), start.time().toString(u"HH:mm:ss"));
    }

    // Each designed face, or the free face of its size and shape that stands in for it.
    void designFacesOrTheirSubstitutes_data()
    {
        QTest::addColumn<QFont>("font");
        QTest::addColumn<QStringList>("families");
        QTest::addColumn<bool>("bold");
        QTest::newRow("Times New Roman")
            << timesNewRoman(14.25) << QStringList{u"Times New Roman"_s, u"Liberation Serif"_s}
            << false;
        QTest::newRow("Times New Roman bold")
            << timesNewRoman(20.25, true)
            << QStringList{u"Times New Roman"_s, u"Liberation Serif"_s} << true;
        QTest::newRow("Arial") << arial(12, true) << QStringList{u"Arial"_s, u"Liberation Sans"_s}
                               << true;
        QTest::newRow("Impact") << impact(24)
                                << QStringList{u"Impact"_s, u"Liberation Sans Narrow"_s} << true;
        QTest::newRow("MS Sans Serif")
            << msSansSerif(8.25) << QStringList{u"MS Sans Serif"_s, u"Liberation Sans"_s} << false;
    }
    void designFacesOrTheirSubstitutes()
    {
        QFETCH(QFont, font);
        QFETCH(QStringList, families);
        QFETCH(bool, bold);
        const QFontInfo face(font);
        QVERIFY2(families.contains(face.family()), qPrintable(face.family()));
        QCOMPARE(face.bold(), bold);
        QCOMPARE(face.pointSizeF(), font.pointSizeF());
    }

    void fixedCaptions()
    {
        Program program(at(2004, 4, 8));
        const MainWindow& form = program.windows.mainWindow();
        QCOMPARE(form.windowTitle(), u"Zorvat");
        QCOMPARE(child<QLabel>(form, "theirDayLabel")->text(), u"napja van!");
        QCOMPARE(child<QLabel>(form, "tomorrowLabel")->text(), u"Holnap");
        QCOMPARE(child<QLabel>(form, "willBeLabel")->text(), u"lesz!!");
        QCOMPARE(child<QPushButton>(form, "exitButton")->text(), u"EXIT");
        QCOMPARE(child<QPushButton>(form, "searchButton")->text(), u"Névkeresés");
        QCOMPARE(child<QPushButton>(form, "calendarButton")->text(), u"Calendarium");
        auto* timer = child<QTimer>(form, "clockTimer");
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 1000);
    }

    void tickShowsTheDefaultTimeText()
    {
        Program program(at(2004, 4, 8, 5, 3, 7));
        MainWindow& form = program.windows.mainWindow();
        QCOMPARE(clockText(form), u"05:03:07");
        form.tick();
        QCOMPARE(clockText(form), u"5:03:07");
        program.clock.advance(1);
        form.tick();
        QCOMPARE(clockText(form), u"5:03:08");
        QCOMPARE(todayLabel(form), u"  Dénes  ");
    }

    void theTimerDrivesTheTick()
    {
        Program program(at(2004, 4, 8, 5, 3, 7));
        MainWindow& form = program.windows.mainWindow();
        QTRY_COMPARE_WITH_TIMEOUT(clockText(form), u"5:03:07"_s, 3000);
    }

    void firstTickAfterMidnightMovesTomorrowToToday()
    {
        Program program(at(2004, 4, 7, 23, 59, 59));
        MainWindow& form = program.windows.mainWindow();
        form.tick();
        QCOMPARE(todayLabel(form), u"  Herman  ");
        const QString tomorrow = tomorrowLabel(form);
        program.clock.advance(1);
        form.tick();
        QCOMPARE(todayLabel(form), tomorrow);
        QCOMPARE(tomorrowLabel(form), u"  Nagypéntek, Erhard  ");
        QCOMPARE(child<QLineEdit>(form, "dateBox")->text(), u"2004  április 8, csütörtök");
        QCOMPARE(clockText(form), u"0:00:00");
    }

    void clockSetBackwardsIsNoticed()
    {
        Program program(at(2004, 4, 8));
        MainWindow& form = program.windows.mainWindow();
        form.tick();
        program.clock.set(at(2004, 4, 1));
        form.tick();
        QCOMPARE(todayLabel(form), u"  Hugó  ");
        QCOMPARE(tomorrowLabel(form), u"  Áron  ");
    }

    // Left running across New Year, the window shows the new year's table.
    void runningIntoALeapYear_data()
    {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("today");
        QTest::addColumn<QString>("tomorrow");
        QTest::newRow("new year") << QDate(2028, 1, 1) << u"  ÚJéV, Fruzsina  "_s << u"  Ábel  "_s;
        QTest::newRow("24 February")
            << QDate(2028, 2, 24) << u"  Mátyás/szökőnap  "_s << u"  Géza/Mátyás  "_s;
        QTest::newRow("28 February")
            << QDate(2028, 2, 28) << u"  Elemér/Ákos  "_s << u"  Elemér  "_s;
        QTest::newRow("leap day") << QDate(2028, 2, 29) << u"  Elemér  "_s
                                  << u"  Hamvazószerda, Albin  "_s;
        QTest::newRow("Easter 2028")
            << QDate(2028, 4, 16) << u"  Húsvét, Csongor  "_s << u"  Húsvéthétfő, Rudolf  "_s;
    }
    void runningIntoALeapYear()
    {
        QFETCH(QDate, date);
        QFETCH(QString, today);
        QFETCH(QString, tomorrow);
        Program program(at(2027, 12, 31, 23, 59, 58));
        MainWindow& form = program.windows.mainWindow();
        QCOMPARE(tomorrowLabel(form), u"  ÚJéV, Fruzsina  ");
        form.tick();
        for (QDate day(2028, 1, 1); day <= date; day = day.addDays(1)) {
            program.clock.set(QDateTime(day, QTime(0, 0, 1)));
            form.tick();
        }
        QCOMPARE(todayLabel(form), today);
        QCOMPARE(tomorrowLabel(form), tomorrow);
    }

    void layoutFollowsTheCentringRules()
    {
        Program program(at(2004, 5, 30));
        MainWindow& form = program.windows.mainWindow();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        // Loading centred these before the window had a frame; the names are centred on
        // the outer width of the window as it is now.
        for (const char* name :
             {"theirDayLabel", "willBeLabel", "tomorrowLabel", "calendarButton"}) {
            const auto* control = child<QWidget>(form, name);
            QVERIFY2(qAbs(2 * control->x() + control->width() - form.width()) <= 1, name);
        }
        form.showTodayAndTomorrow();
        const int outer = form.frameGeometry().width();
        for (const char* name : {"todayNames", "tomorrowNames"}) {
            const auto* control = child<QWidget>(form, name);
            QVERIFY2(qAbs(2 * control->x() + control->width() - outer) <= 1, name);
        }
        const auto* date = child<QLineEdit>(form, "dateBox");
        const auto* clock = child<QLineEdit>(form, "clockBox");
        const qreal dateWidth =
            QFontMetricsF(form.font()).horizontalAdvance(u"  2004  május 30, vasárnap  "_s) / 2;
        QCOMPARE(date->width(), qRound(dateWidth));
        const int gap = twips(120);
        QVERIFY(qAbs(2 * date->x() + date->width() + gap + clock->width() - outer) <= 1);
        QCOMPARE(clock->x(), date->x() + date->width() + gap);

        const QRect before = date->geometry();
        form.showTodayAndTomorrow();
        QCOMPARE(date->geometry(), before);
    }

    void enterOrSpaceEndsTheProgram_data()
    {
        QTest::addColumn<QByteArray>("focus");
        QTest::addColumn<int>("key");
        QTest::newRow("Enter on EXIT") << QByteArray("exitButton") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter on EXIT") << QByteArray("exitButton") << int(Qt::Key_Enter);
        QTest::newRow("Space on EXIT") << QByteArray("exitButton") << int(Qt::Key_Space);
        QTest::newRow("Enter in the date box") << QByteArray("dateBox") << int(Qt::Key_Return);
        QTest::newRow("Enter in the clock box") << QByteArray("clockBox") << int(Qt::Key_Return);
    }
    void enterOrSpaceEndsTheProgram()
    {
        QFETCH(QByteArray, focus);
        QFETCH(int, key);
        Program program(at(2004, 4, 8));
        MainWindow& form = program.windows.mainWindow();
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        QCOMPARE(QApplication::focusWidget(), child<QWidget>(form, "exitButton"));
        auto* target = child<QWidget>(form, focus.constData());
        target->setFocus();
        QSignalSpy ended(&program.windows, &Windows::ended);
        QTest::keyClick(target, Qt::Key(key));
        QCOMPARE(ended.count(), 1);
        QVERIFY(!form.isVisible());
    }

    void enterOnAnotherButtonPressesThatButton()
    {
        Program program(at(2004, 4, 8));
        MainWindow& form = program.windows.mainWindow();
        form.show();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto* search = child<QPushButton>(form, "searchButton");
        search->setFocus();
        QSignalSpy ended(&program.windows, &Windows::ended);
        QSignalSpy pressed(search, &QPushButton::clicked);
        QTest::keyClick(search, Qt::Key_Return);
        QCOMPARE(pressed.count(), 1);
        QCOMPARE(ended.count(), 0);
    }

    void closingTheWindowEndsTheProgram()
    {
        Program program(at(2004, 4, 8));
        MainWindow& form = program.windows.mainWindow();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QSignalSpy ended(&program.windows, &Windows::ended);
        form.close();
        QCOMPARE(ended.count(), 1);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
