#pragma once

#include <QDateTime>

class QByteArray;
class QByteArrayView;
class QIODevice;

// Writes the name days of the years firstYear..lastYear to `out` as an RFC 5545 calendar
// named "Névnapok": one all-day event for every day, each year from its own table, so the
// leap-year February and the movable feasts are right in every year. A day's event keeps its
// UID from one export to the next; `stamp` is when the calendar was made. Returns false when
// writing fails.
bool writeNameDayCalendar(QIODevice& out, int firstYear, int lastYear, const QDateTime& stamp);

// A content line as the file holds it: folded after 75 octets, never inside a UTF-8
// character, each part after the first starting with a space, each ending in CRLF.
QByteArray foldedLine(QByteArrayView line);
