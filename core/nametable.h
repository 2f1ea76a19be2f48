#pragma once

#include "core/day.h"

#include <QDate>
#include <QString>

#include <array>

// The name-day entries of one year: the names of a common year, shifted round the leap day
// in a leap year, with the movable feasts of that year and the public holidays its law knows.
// A table is a few microseconds to build, so every reader builds the one of the year it shows.
class NameTable
{
public:
    explicit NameTable(int year);

    int year() const { return m_year; }

    // The entry of a day of this year, month 1..12 and day 1..31; empty for a day that the
    // year does not have, 29 February of a common year among them.
    const QString& entry(int month, int day) const;
    const QString& entry(const QDate& date) const { return entry(date.month(), date.day()); }
    Day day(const QDate& date) const { return dayFromEntry(date, entry(date)); }

private:
    void fillBaseContent();
    void shiftLeapDay();
    void addHolidaysByLaw();
    void insertFeasts();

    int m_year;
    std::array<std::array<QString, 32>, 13> m_entries;
};

// The entry of any day, from the table of that day's own year.
QString entryOn(const QDate& date);

// The calendar's line for a day: " 2004.04.11.   Húsvét, Leó, Szaniszló   ".
QString dayText(const Day& day);
