#pragma once

#include "dates/date.h"

#include <QString>

#include <array>

// The name-day table of one year and the two values that travel with it. The program
// has one instance, shared by its windows; tests make their own.
class NameDays
{
public:
    // The entry of a day, month 0..12 and day 0..31; empty where a day has no content.
    const QString& nevek(int month, int day) const;

    // The year of this date is the one the next rebuild builds.
    Date refdatum;

    // The names of the day last described by napszoveg, two spaces on each side.
    const QString& aktualisnev() const { return m_aktualisnev; }

    // Rebuilds the table for the year of refdatum: base content, the leap-day
    // shift, then the seven movable feasts.
    void nevtabla();

    // Sets refdatum to the date, rebuilds, and returns
    // " " + prefix + "2004.04.11." + " " + aktualisnev + " ".
    QString napszoveg(const QDate& date, const QString& prefix = {});

private:
    void fillBaseContent();
    void shiftLeapDay();
    void insertFeasts(int year);

    std::array<std::array<QString, 32>, 13> m_nevek;
    QString m_aktualisnev;
};
