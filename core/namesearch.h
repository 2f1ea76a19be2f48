#pragma once

#include <QString>

#include <functional>

class NameTable;
class QDate;

// What the search looks for in a typed text: composed (NFC), so that an accent typed as a
// separate mark finds the same names, and without white space of any kind at either end.
QString searchQuery(const QString& typed);

// "január  7": the month name, then the day number with its leading space.
QString searchDayText(int month, int day);

struct FirstMatch
{
    QString entry;   // the whole entry, titles and marker included
    QString dayText; // both empty when no day matches
};

// The first day, in calendar order, whose entry begins with the query (case ignored,
// accents not). The empty query matches 1 January.
FirstMatch firstDayStartingWith(const NameTable& table, const QString& query);

// Calls `visit` with the date and entry of every day of the table's year, in calendar order,
// whose entry contains the query (case ignored, accents not; the marker is part of the entry).
// The empty query matches every day.
void forEachDayContaining(const NameTable& table, const QString& query,
                          const std::function<void(const QDate&, const QString&)>& visit);

// One line "entry, day text" + CR LF for every day whose entry contains the query.
// The empty query lists every day of the year.
QString daysContaining(const NameTable& table, const QString& query);
