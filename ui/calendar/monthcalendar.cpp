#include "ui/calendar/monthcalendar.h"

#include <QAbstractItemView>
#include <QBoxLayout>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QToolButton>

#include <algorithm>
#include <memory>

using namespace Qt::StringLiterals;

MonthCalendar::MonthCalendar(QWidget* parent)
    : QCalendarWidget(parent)
    , m_grid(findChild<QAbstractItemView*>(QStringLiteral("qt_calendar_calendarview")))
    , m_titleBand(findChild<QWidget*>(QStringLiteral("qt_calendar_navigationbar")))
{
    // The grid of days is the widget that takes the focus and the keys.
    m_grid->installEventFilter(this);
    // Qt gives screen readers no names for the grid, the arrows and the year field that
    // the year button opens.
    m_grid->setAccessibleName(u"A hónap napjai"_s);
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
    Q_EMIT newMonth();
}

bool MonthCalendar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_grid)
        return QCalendarWidget::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn)
        Q_EMIT gotFocus();
    if (event->type() != QEvent::KeyPress || m_forwardingKey)
        return QCalendarWidget::eventFilter(watched, event);

    // Deliver a copy first, so the calendar (and whoever the key propagates to) has
    // handled it before the report; the original is then done with.
    std::unique_ptr<QEvent> copy(event->clone());
    m_forwardingKey = true;
    QCoreApplication::sendEvent(m_grid, copy.get());
    m_forwardingKey = false;
    Q_EMIT keyDown();
    event->accept();
    return true;
}

QRect MonthCalendar::reserveTitleSpace(int width)
{
    auto* band = qobject_cast<QBoxLayout*>(m_titleBand->layout());
    auto* next = m_titleBand->findChild<QToolButton*>(QStringLiteral("qt_calendar_nextmonth"));
    band->insertSpacing(band->indexOf(next), width);
    layout()->activate();
    band->activate();
    const QRect arrow = next->geometry();
    return QRect(m_titleBand->mapTo(this, QPoint(arrow.left() - width, 0)),
                 QSize(width, m_titleBand->height()));
}
