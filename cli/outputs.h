#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

#include <optional>

// One day as the program tells it: the entry as the main window shows it, and whether the
// calendar shows the day in red.
struct DayNames
{
    QDate date;
    QString names;
    bool red = false;
};

// The day's entry from its own year's table, any day that QDate knows.
DayNames dayNames(const QDate& date);

// "KARÁCSONY, Eugénia" and a line feed.
QByteArray namesLine(const DayNames& day);

// One line of compact JSON: date (ISO 8601), names, red, and tomorrow with the same three, or
// null after the calendar's last day.
QByteArray jsonLine(const DayNames& day, const std::optional<DayNames>& next);

// One line of compact JSON for waybar's custom module (return-type json): text and tooltip
// are Pango markup, class is "red" on a red day and otherwise empty.
QByteArray waybarLine(const DayNames& day, const std::optional<DayNames>& next);

// A desktop notification of the day's names: the summary says which day, today's, tomorrow's
// or a date, and the body the next day's names.
struct Notification
{
    QString summary;
    QString body;
};
Notification notificationOf(const DayNames& day, const std::optional<DayNames>& next,
                            const QDate& today);

// "2004-04-11", a tab and the shown entry, one line for every day of the year whose entry
// contains the query as the search window matches it.
QByteArray searchLines(int year, const QString& query);
