#pragma once

#include <QDate>

// A calendar date that is never invalid: every Date starts on the zero date,
// 30 December 1899, and otherwise behaves exactly like the QDate it is.
class Date : public QDate
{
public:
    static constexpr qint64 zeroJulianDay = 2415019; // 1899-12-30

    constexpr Date()
        : QDate(QDate::fromJulianDay(zeroJulianDay))
    {
    }
    constexpr Date(QDate date)
        : QDate(date)
    {
    } // NOLINT(google-explicit-constructor)
};
