#pragma once

#include "core/day.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <optional>

// "KARÁCSONY, Eugénia" and a line feed.
QByteArray namesLine(const Day& day);

// One line of compact JSON: date (ISO 8601), names (the entry as shown), red, title (or null),
// celebrated (a list of names), and tomorrow with the same, or null after the calendar's last
// day.
QByteArray jsonLine(const Day& day, const std::optional<Day>& next);

// One line of compact JSON for waybar's custom module (return-type json): text and tooltip
// are Pango markup, class is "red" on a red day and otherwise empty.
QByteArray waybarLine(const Day& day, const std::optional<Day>& next);

// A desktop notification of the day's names: the summary says which day, today's, tomorrow's
// or a date, and the body the next day's names.
struct Notification
{
    QString summary;
    QString body;
};
Notification notificationOf(const Day& day, const std::optional<Day>& next, const QDate& today);

// "2004-04-11", a tab and the shown entry, one line for every day of the year whose entry
// contains the query as the search window matches it.
QByteArray searchLines(int year, const QString& query);
