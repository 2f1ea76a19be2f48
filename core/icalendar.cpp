#include "core/icalendar.h"

#include "core/nametable.h"

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

bool writeNameDayCalendar(QIODevice& out, int firstYear, int lastYear, const QDateTime& stamp)
{
    const QByteArray dtstamp =
        "DTSTAMP:" + stamp.toUTC().toString(u"yyyyMMdd'T'HHmmss'Z'").toLatin1();
    QByteArray text;
    text += foldedLine("BEGIN:VCALENDAR");
    text += foldedLine("VERSION:2.0");
    text += foldedLine("PRODID:-//Zorvat//Zorvat névnaptár//HU");
    text += foldedLine("CALSCALE:GREGORIAN");
    text += foldedLine("METHOD:PUBLISH");
    text += foldedLine("NAME:Névnapok");
    text += foldedLine("X-WR-CALNAME:Névnapok");
    for (int year = firstYear; year <= lastYear; ++year) {
        const NameTable table(year);
        for (QDate day(year, 1, 1); day.year() == year; day = day.addDays(1)) {
            const QByteArray date = dateValue(day);
            text += foldedLine("BEGIN:VEVENT");
            text += foldedLine("UID:nevnap-" + date + "@zorvat.hu");
            text += foldedLine(dtstamp);
            text += foldedLine("DTSTART;VALUE=DATE:" + date);
            text += foldedLine("DTEND;VALUE=DATE:" + dateValue(day.addDays(1)));
            text += foldedLine("SUMMARY:" + escaped(table.day(day).entry).toUtf8());
            text += foldedLine("TRANSP:TRANSPARENT");
            text += foldedLine("CATEGORIES:Névnap");
            text += foldedLine("END:VEVENT");
        }
        // A year at a time, so that two centuries never sit in memory at once.
        if (out.write(text) != text.size())
            return false;
        text.clear();
    }
    text += foldedLine("END:VCALENDAR");
    return out.write(text) == text.size();
}
