#include "support/program.h"
#include "support/reference.h"
#include "ui/calendar/calendarwindow.h"
#include "ui/controls/fonts.h"
#include "ui/main/mainwindow.h"

#include <QCalendarWidget>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QTimeZone>

using namespace Qt::StringLiterals;

namespace {
const QDate firstDay(1900, 1, 1);
const QDate lastDay(2100, 12, 31);

QString labelFor(const QDate& date)
{
    return u"  "_s + reference::day(date).names + u"  "_s;
}

// The whole plate, and so the whole of its text, lies inside its window; in its designed size
// it is centred on the window as designed.
bool showsWhole(const QLabel* plate, const QFont& designed)
{
    const QWidget* window = plate->window();
    if (plate->width() < plate->sizeHint().width() || !window->rect().contains(plate->geometry()))
        return false;
    return plate->font().pointSizeF() != designed.pointSizeF() ||
           qAbs(2 * plate->x() + plate->width() - window->frameGeometry().width()) <= 1;
}

// For the log: on how many days a plate had to take a smaller size, and the smallest.
struct Shrinking
{
    qreal designed;
    int days = 0;
    qreal points = 1000;
    QDate day = {};

    void note(const QLabel* plate, const QDate& date)
    {
        const qreal size = plate->font().pointSizeF();
        days += size < designed;
        if (size < points) {
            points = size;
            day = date;
        }
    }
    QByteArray said() const
    {
        return QByteArray::number(days) + " days smaller, down to " +
               QByteArray::number(points, 'f', 2) + " pt on " +
               day.toString(Qt::ISODate).toLatin1();
    }
};
} // namespace

class TestSoak : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Left running for two centuries, the main window always names the right day.
    void mainWindowDayByDay()
    {
        QElapsedTimer took;
        took.start();
        Program program(QDateTime(firstDay, QTime(0, 0, 1)));
        MainWindow& form = program.windows.mainWindow();
        const auto* today = child<QLabel>(form, "todayNames");
        const auto* tomorrow = child<QLabel>(form, "tomorrowNames");
        Shrinking todayShrinks{24};
        Shrinking tomorrowShrinks{18};
        for (QDate day = firstDay; day <= lastDay; day = day.addDays(1)) {
            program.clock.set(QDateTime(day, QTime(0, 0, 1)));
            form.tick();
            if (today->text() != labelFor(day) || tomorrow->text() != labelFor(day.addDays(1)) ||
                !showsWhole(today, impact(24)) || !showsWhole(tomorrow, timesNewRoman(18, true)))
                QFAIL(qPrintable(day.toString(Qt::ISODate) + u": "_s + today->text() + u" / "_s +
                                 tomorrow->text()));
            todayShrinks.note(today, day);
            tomorrowShrinks.note(tomorrow, day);
        }
        qInfo("%lld days in %lld ms; today: %s; tomorrow: %s", firstDay.daysTo(lastDay) + 1,
              took.elapsed(), todayShrinks.said().constData(), tomorrowShrinks.said().constData());
    }

    // Every date the calendar can show: its text, and red exactly for Sundays and marked days.
    void calendarEveryDate()
    {
        QElapsedTimer took;
        took.start();
        Program program(QDateTime(QDate(2026, 12, 7), QTime(12, 0)));
        CalendarWindow& form = program.windows.calendarWindow();
        auto* calendar = child<QCalendarWidget>(form, "calendar");
        const auto* label = child<QLabel>(form, "dayText");
        Shrinking shrinks{18};
        for (QDate day = firstDay; day <= lastDay; day = day.addDays(1)) {
            calendar->setSelectedDate(day);
            form.showSelectedDay();
            const reference::Day expected = reference::day(day);
            const QString text =
                u' ' + day.toString(u"yyyy.MM.dd.") + u"   "_s + expected.names + u"   "_s;
            const bool red = day.dayOfWeek() == Qt::Sunday || expected.holiday;
            const QColor colour = label->palette().color(QPalette::WindowText);
            if (label->text() != text || colour != (red ? QColor(255, 0, 0) : QColor(0, 0, 0)) ||
                !showsWhole(label, timesNewRoman(18, true)))
                QFAIL(qPrintable(day.toString(Qt::ISODate) + u": "_s + label->text()));
            shrinks.note(label, day);
        }
        qInfo("%lld dates in %lld ms; %s", firstDay.daysTo(lastDay) + 1, took.elapsed(),
              shrinks.said().constData());
    }

    void clockFaults_data()
    {
        const QTimeZone budapest("Europe/Budapest");
        QTest::addColumn<QDateTime>("before");
        QTest::addColumn<QDateTime>("after");
        QTest::addColumn<QString>("time");
        QTest::newRow("back a year")
            << QDateTime(QDate(2028, 2, 29), QTime(10, 0))
            << QDateTime(QDate(2027, 2, 28), QTime(10, 0)) << u"10:00:00"_s;
        QTest::newRow("forward a century")
            << QDateTime(QDate(2000, 4, 23), QTime(9, 0))
            << QDateTime(QDate(2100, 3, 28), QTime(9, 0)) << u"9:00:00"_s;
        QTest::newRow("summer time ends")
            << QDateTime(QDate(2026, 10, 25), QTime(2, 59, 59), budapest)
            << QDateTime(QDate(2026, 10, 25), QTime(3, 0), budapest).addSecs(-3600) << u"2:00:00"_s;
        QTest::newRow("summer time starts")
            << QDateTime(QDate(2026, 3, 29), QTime(1, 59, 59), budapest)
            << QDateTime(QDate(2026, 3, 29), QTime(3, 0), budapest) << u"3:00:00"_s;
        QTest::newRow("back across New Year")
            << QDateTime(QDate(2029, 1, 1), QTime(0, 0, 5))
            << QDateTime(QDate(2028, 12, 31), QTime(23, 59, 59)) << u"23:59:59"_s;
    }
    void clockFaults()
    {
        QFETCH(QDateTime, before);
        QFETCH(QDateTime, after);
        QFETCH(QString, time);
        QVERIFY(before.isValid() && after.isValid());
        Program program(before);
        MainWindow& form = program.windows.mainWindow();
        form.tick();
        program.clock.set(after);
        form.tick();
        const QDate day = after.date();
        QCOMPARE(child<QLabel>(form, "todayNames")->text(), labelFor(day));
        QCOMPARE(child<QLabel>(form, "tomorrowNames")->text(), labelFor(day.addDays(1)));
        QCOMPARE(child<QLineEdit>(form, "clockBox")->text(), time);
    }
};

QTEST_MAIN(TestSoak)
#include "tst_soak.moc"
