#pragma once

#include <QDate>

#include <ranges>

// The days of `year` in calendar order: for (const QDate& day : daysOfYear(2004)).
inline auto daysOfYear(int year)
{
    return std::views::iota(QDate(year, 1, 1).toJulianDay(),
                            QDate(year, 12, 31).toJulianDay() + 1) |
           std::views::transform(&QDate::fromJulianDay);
}
