#pragma once

#include "support/program.h"
#include "ui/calendar/calendarwindow.h"

#include <QAbstractItemView>
#include <QTest>

// The calendar's grid of days, which takes the clicks and keys.
inline QAbstractItemView* gridOf(const CalendarWindow& form)
{
    return child<QAbstractItemView>(form, "qt_calendar_calendarview");
}

// Clicks a day of the shown month, as a user picks a date.
inline void clickDay(CalendarWindow& form, int day)
{
    QAbstractItemView* grid = gridOf(form);
    const QAbstractItemModel* days = grid->model();
    for (int row = 1; row < days->rowCount(); ++row)
        for (int column = 0; column < days->columnCount(); ++column) {
            const QModelIndex cell = days->index(row, column);
            // The first row may end the month before and the last rows begin the next, so a
            // small day is this month's where it is first found, a large one past the first row.
            if (cell.data().toInt() == day && (day < 15 || row > 1)) {
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                                  grid->visualRect(cell).center());
                return;
            }
        }
    qFatal("no day %d in the shown month", day);
}
