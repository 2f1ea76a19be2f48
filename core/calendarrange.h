#pragma once

#include <QDate>

// The years the calendar shows and the companion answers for; one rule for every window and
// every mode.
inline constexpr int firstCalendarYear = 1900;
inline constexpr int lastCalendarYear = 2100;

inline QDate firstCalendarDay()
{
    return QDate(firstCalendarYear, 1, 1);
}

inline QDate lastCalendarDay()
{
    return QDate(lastCalendarYear, 12, 31);
}

inline bool isInCalendarRange(const QDate& date)
{
    return date >= firstCalendarDay() && date <= lastCalendarDay();
}
