#pragma once

#include "contacts/person.h"
#include "core/day.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>

#include <optional>

// A day as zorvat-nevnap tells it: the day and, where contact sources are in use, who among
// the user's people celebrates on it.
struct DayReport
{
    Day day;
    std::optional<QList<Person>> people;
};

// "Ambrus — Kiss Ambrus, Tóth Ambrus" and a line feed: the day's entry as shown, then who
// celebrates among the user's people, where anybody does.
QByteArray namesLine(const DayReport& report);

// One line of compact JSON: date (ISO 8601), names (the entry as shown), red, title (or null),
// celebrated (a list of names), contacts where sources are in use, and tomorrow with the same,
// or null after the calendar's last day.
QByteArray jsonLine(const DayReport& report, const std::optional<DayReport>& next);

// One line of compact JSON for waybar's custom module (return-type json): text and tooltip
// are Pango markup. Class is "red" on a red day and otherwise empty; where contact sources
// are in use, a list of "red" and "contacts" (someone the user knows celebrates).
QByteArray waybarLine(const DayReport& report, const std::optional<DayReport>& next);

// A desktop notification of the day's names: the summary says which day (today's, tomorrow's
// or a date) and the names, or the people who celebrate where anybody does, or only how many
// of them where the notification is private; the body the day's and the next day's rest.
struct Notification
{
    QString summary;
    QString body;
};
Notification notificationOf(const DayReport& report, const std::optional<DayReport>& next,
                            const QDate& today, bool privately = false);

// "2004-04-11", a tab and the shown entry, one line for every day of the year whose entry
// contains the query as the search window matches it.
QByteArray searchLines(int year, const QString& query);
