#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>

class QByteArrayView;
class QIODevice;

// One all-day event of a calendar file; every event is transparent (the day stays free) and in
// the category "Névnap".
struct CalendarEvent
{
    QDate date;
    QByteArray uid; // the same for the same event in every export, so that imports update it
    QString summary;
    QString description;         // none where empty
    bool isPrivate = false;      // CLASS:PRIVATE
    int reminderDaysBefore = -1; // a display alarm that many days before; none where negative
};

// Writes an RFC 5545 calendar, a year's events at a time, so that two centuries never sit in
// memory at once.
class CalendarWriter
{
public:
    // `stamp` is when the calendar was made.
    CalendarWriter(QIODevice& out, QStringView name, const QDateTime& stamp);

    void add(const CalendarEvent& event);
    // Writes the events added so far; false when writing fails.
    bool flush();
    // Writes the calendar's end; false when writing this or anything before failed.
    bool finish();

private:
    QIODevice& m_out;
    QByteArray m_text;
    QByteArray m_stamp;
    bool m_failed = false;
};

// Writes the name days of the years firstYear..lastYear to `out` as a calendar named
// "Névnapok": one all-day event for every day, each year from its own table, so the leap-year
// February and the movable feasts are right in every year; each summary is the day's entry after
// `summaryPrefix`. Returns false when writing fails.
bool writeNameDayCalendar(QIODevice& out, int firstYear, int lastYear, const QDateTime& stamp,
                          const QString& summaryPrefix = {});

// A content line as the file holds it: folded after 75 octets, never inside a UTF-8
// character, each part after the first starting with a space, each ending in CRLF.
QByteArray foldedLine(QByteArrayView line);
