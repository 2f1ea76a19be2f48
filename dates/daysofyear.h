#pragma once

#include <QDate>

// The days of `year` in calendar order: for (const QDate& day : daysOfYear(2004)).
struct DaysOfYear
{
    struct Iterator
    {
        qint64 julianDay;
        QDate operator*() const { return QDate::fromJulianDay(julianDay); }
        Iterator& operator++()
        {
            ++julianDay;
            return *this;
        }
        bool operator==(const Iterator&) const = default;
    };

    int year;
    Iterator begin() const { return {QDate(year, 1, 1).toJulianDay()}; }
    Iterator end() const { return {QDate(year, 12, 31).toJulianDay() + 1}; }
};

inline DaysOfYear daysOfYear(int year)
{
    return {year};
}
