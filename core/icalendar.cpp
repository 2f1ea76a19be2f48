#include "core/icalendar.h"

#include "core/nametable.h"
#include "dates/daysofyear.h"

#include <QIODevice>

using namespace Qt::StringLiterals;

namespace {
QString escaped(const QString& value)
{
    QString text;
    text.reserve(value.size() + 8);
    for (const QChar c : value) {
        if (c == u'\\' || c == u',' || c == u';')
            text += u'\\';
        if (c == u'\n')
            text += u"\\n"_s;
        else
            text += c;
    }
    return text;
}

QByteArray dateValue(const QDate& date)
{
    return date.toString(u"yyyyMMdd").toLatin1();
}
} // namespace

QByteArray foldedLine(QByteArrayView line)
{
    constexpr qsizetype limit = 75; // octets, without the CRLF
    QByteArray text;
    qsizetype start = 0;
    qsizetype room = limit;
    while (line.size() - start > room) {
        qsizetype end = start + room;
        while ((line[end] & 0xC0) == 0x80) // a continuation byte: back to the character's start
            --end;
        text += line.sliced(start, end - start);
        text += "\r\n ";
        start = end;
        room = limit - 1; // the leading space counts
    }
    text += line.sliced(start);
    text += "\r\n";
    return text;
}

CalendarWriter::CalendarWriter(QIODevice& out, QStringView name, const QDateTime& stamp)
    : m_out(out)
    , m_stamp(foldedLine("DTSTAMP:" + stamp.toUTC().toString(u"yyyyMMdd'T'HHmmss'Z'").toLatin1()))
{
    const QByteArray calendarName = escaped(name.toString()).toUtf8();
    m_text += foldedLine("BEGIN:VCALENDAR");
    m_text += foldedLine("VERSION:2.0");
    m_text += foldedLine("PRODID:-//Zorvat//Zorvat névnaptár//HU");
    m_text += foldedLine("CALSCALE:GREGORIAN");
    m_text += foldedLine("METHOD:PUBLISH");
    m_text += foldedLine("NAME:" + calendarName);
    m_text += foldedLine("X-WR-CALNAME:" + calendarName);
}

void CalendarWriter::add(const CalendarEvent& event)
{
    const QByteArray date = dateValue(event.date);
    m_text += foldedLine("BEGIN:VEVENT");
    m_text += foldedLine("UID:" + event.uid);
    m_text += m_stamp;
    m_text += foldedLine("DTSTART;VALUE=DATE:" + date);
    m_text += foldedLine("DTEND;VALUE=DATE:" + dateValue(event.date.addDays(1)));
    m_text += foldedLine("SUMMARY:" + escaped(event.summary).toUtf8());
    if (!event.description.isEmpty())
        m_text += foldedLine("DESCRIPTION:" + escaped(event.description).toUtf8());
    if (event.isPrivate)
        m_text += foldedLine("CLASS:PRIVATE");
    m_text += foldedLine("TRANSP:TRANSPARENT");
    m_text += foldedLine("CATEGORIES:Névnap");
    if (event.reminderDaysBefore >= 0) {
        m_text += foldedLine("BEGIN:VALARM");
        m_text += foldedLine("ACTION:DISPLAY");
        m_text +=
            foldedLine(event.reminderDaysBefore == 0
                           ? QByteArray("TRIGGER:PT0S")
                           : "TRIGGER:-P" + QByteArray::number(event.reminderDaysBefore) + 'D');
        m_text += foldedLine("DESCRIPTION:" + escaped(event.summary).toUtf8());
        m_text += foldedLine("END:VALARM");
    }
    m_text += foldedLine("END:VEVENT");
}

bool CalendarWriter::flush()
{
    m_failed = m_failed || m_out.write(m_text) != m_text.size();
    m_text.clear();
    return !m_failed;
}

bool CalendarWriter::finish()
{
    m_text += foldedLine("END:VCALENDAR");
    return flush();
}

bool writeNameDayCalendar(QIODevice& out, int firstYear, int lastYear, const QDateTime& stamp,
                          const QString& summaryPrefix)
{
    CalendarWriter calendar(out, u"Névnapok", stamp);
    for (int year = firstYear; year <= lastYear; ++year) {
        const NameTable table(year);
        for (const QDate& day : daysOfYear(year)) {
            CalendarEvent event;
            event.date = day;
            event.uid = "nevnap-" + dateValue(day) + "@zorvat.hu";
            event.summary = summaryPrefix + table.day(day).entry;
            calendar.add(event);
        }
        if (!calendar.flush())
            return false;
    }
    return calendar.finish();
}
