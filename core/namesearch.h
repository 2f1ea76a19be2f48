#pragma once

#include <QString>

class NameDays;

// "január  7": the month name, then the day number with its leading space.
QString searchDayText(int month, int day);

struct FirstMatch
{
    QString entry;   // the whole cell text, titles and marker included
    QString dayText; // both empty when no day matches
};

// The first day, in calendar order, whose entry begins with the query (case ignored,
// accents not). The empty query matches 1 January.
FirstMatch firstDayStartingWith(const NameDays& names, const QString& query);

// One line "entry, day text" + CR LF for every day whose entry contains the query.
// The empty query lists every day that has an entry.
QString daysContaining(const NameDays& names, const QString& query);
