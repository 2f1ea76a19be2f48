#include "ui/calendar/monthcalendar.h"

#include <QAbstractItemView>
#include <QBoxLayout>
#include <QToolButton>

#include <algorithm>

using namespace Qt::StringLiterals;

MonthCalendar::MonthCalendar(QWidget* parent)
    : QCalendarWidget(parent)
    , m_titleBand(findChild<QWidget*>(u"qt_calendar_navigationbar"_s))
{
    // Qt gives screen readers no names for the grid, the arrows and the year field that
    // the year button opens.
    findChild<QAbstractItemView*>(u"qt_calendar_calendarview"_s)
        ->setAccessibleName(u"A hónap napjai"_s);
    findChild<QWidget*>(u"qt_calendar_prevmonth"_s)->setAccessibleName(u"Előző hónap"_s);
    findChild<QWidget*>(u"qt_calendar_nextmonth"_s)->setAccessibleName(u"Következő hónap"_s);
    findChild<QWidget*>(u"qt_calendar_yearedit"_s)->setAccessibleName(u"Év"_s);
    connect(this, &QCalendarWidget::currentPageChanged, this, &MonthCalendar::followShownMonth);
}

// Turning the page with the arrows or the month and year buttons takes the selected date
// along, keeping its day where the new month has it, so the date is always the one shown.
void MonthCalendar::followShownMonth(int year, int month)
{
    const QDate selected = selectedDate();
    if (selected.year() != year || selected.month() != month) {
        const QDate first(year, month, 1);
        setSelectedDate(first.addDays(std::min(selected.day(), first.daysInMonth()) - 1));
    }
}

QRect MonthCalendar::reserveTitleSpace(int width)
{
    auto* band = qobject_cast<QBoxLayout*>(m_titleBand->layout());
    auto* next = m_titleBand->findChild<QToolButton*>(u"qt_calendar_nextmonth"_s);
    band->insertSpacing(band->indexOf(next), width);
    layout()->activate();
    band->activate();
    const QRect arrow = next->geometry();
    return QRect(m_titleBand->mapTo(this, QPoint(arrow.left() - width, 0)),
                 QSize(width, m_titleBand->height()));
}
