#pragma once

#include "core/day.h"

#include <QDate>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// The name-day entries of one year: the names of a common year, shifted round the leap day
// in a leap year, with the movable feasts of that year and the public holidays its law knows.
// A table is built in about a microsecond, so every reader builds the one of the year it shows.
class NameTable
{
public:
    explicit NameTable(int year);

    int year() const { return m_year; }

    // The entry of a day of this year as the search reads it, "Húsvét, Leó, Szaniszló,mszn";
    // empty for a day that the year does not have, 29 February of a common year among them.
    QString entry(int month, int day) const;
    QString entry(const QDate& date) const { return entry(date.month(), date.day()); }
    Day day(const QDate& date) const;

private:
    // One day as its parts, from which its texts are made.
    struct Parts
    {
        QStringView feast;   // the movable feast's title
        QStringView holiday; // the fixed holiday's title
        QStringView names;   // the day's own names in a common year
        // In a leap February, the names moved onto the day: none onto 24 February, the leap day.
        std::optional<QStringView> moved;
        bool workFree = false;
    };

    using Days = std::array<std::array<Parts, 32>, 13>; // by month and day

    static const Days& commonYear();
    const Parts& parts(int month, int day) const;
    static QStringList titlesOf(const Parts& cell);
    static QString shownText(const Parts& cell);

    void shiftLeapDay();
    void addHolidaysByLaw();
    void insertFeasts();

    int m_year;
    Days m_days;
};

// The calendar's line for a day: " 2004.04.11.   Húsvét, Leó, Szaniszló   ".
QString dayText(const Day& day);
