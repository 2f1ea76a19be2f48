#include "cli/contactcalendar.h"

#include "contacts/person.h"
#include "core/icalendar.h"
#include "core/nametable.h"
#include "dates/daysofyear.h"

#include <QCryptographicHash>

using namespace Qt::StringLiterals;

bool writeContactCalendar(QIODevice& out, const PersonIndex& people, int firstYear, int lastYear,
                          int reminderDaysBefore, const QDateTime& stamp)
{
    CalendarWriter calendar(out, u"Ismerőseim névnapjai", stamp);
    for (int year = firstYear; year <= lastYear; ++year) {
        const NameTable table(year);
        for (const QDate& date : daysOfYear(year))
            for (const Person& person : people.celebrating(table.day(date))) {
                CalendarEvent event;
                event.date = date;
                // The same person keeps the same UID, and no name is given away in it.
                const QByteArray identity =
                    QCryptographicHash::hash(person.identity.toUtf8(), QCryptographicHash::Sha256);
                event.uid = "nevnap-" + date.toString(u"yyyyMMdd").toLatin1() + '-' +
                            identity.toHex().left(24) + "@zorvat.hu";
                event.summary = person.name + u" névnapja"_s;
                event.description = person.names.join(u", "_s);
                event.isPrivate = true;
                event.reminderDaysBefore = reminderDaysBefore;
                calendar.add(event);
            }
        if (!calendar.flush())
            return false;
    }
    return calendar.finish();
}
