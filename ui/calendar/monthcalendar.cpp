#include "ui/calendar/monthcalendar.h"

#include "ui/calendar/qtparts.h"

#include <QBoxLayout>
#include <QToolButton>

#include <algorithm>
#include <utility>

using namespace Qt::StringLiterals;

MonthCalendar::MonthCalendar(QWidget* parent)
    : QCalendarWidget(parent)
    , m_titleBand(findQtPart<QWidget>(*this, "qt_calendar_navigationbar"))
    , m_nextMonthArrow(findQtPart<QToolButton>(*this, "qt_calendar_nextmonth"))
{
    // Room for other controls is made in the band's row, before the next-month arrow.
    if (m_titleBand && m_nextMonthArrow) {
        m_titleLayout = qobject_cast<QBoxLayout*>(m_titleBand->layout());
        if (!m_titleLayout || m_titleLayout->indexOf(m_nextMonthArrow) < 0) {
            m_titleLayout = nullptr;
            reportMissingQtPart(*this, "holding qt_calendar_nextmonth", "QBoxLayout");
        }
    }
    // Qt gives screen readers no names for the grid, the arrows and the year field that
    // the year button opens.
    if (m_nextMonthArrow)
        m_nextMonthArrow->setAccessibleName(u"Következő hónap"_s);
    m_grid = findQtPart<QWidget>(*this, "qt_calendar_calendarview");
    if (m_grid)
        m_grid->setAccessibleName(u"A hónap napjai"_s);
    for (auto [part, name] : {std::pair{"qt_calendar_prevmonth", u"Előző hónap"_s},
                              std::pair{"qt_calendar_yearedit", u"Év"_s}})
        if (auto* found = findQtPart<QWidget>(*this, part))
            found->setAccessibleName(name);
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
    if (!m_titleLayout || !m_nextMonthArrow)
        return {};
    m_titleLayout->insertSpacing(m_titleLayout->indexOf(m_nextMonthArrow), width);
    layout()->activate();
    m_titleLayout->activate();
    const QRect arrow = m_nextMonthArrow->geometry();
    return QRect(m_titleBand->mapTo(this, QPoint(arrow.left() - width, 0)),
                 QSize(width, m_titleBand->height()));
}

void MonthCalendar::describe(const QString& description)
{
    setAccessibleDescription(description);
    if (m_grid)
        m_grid->setAccessibleDescription(description);
}
