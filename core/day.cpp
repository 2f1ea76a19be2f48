#include "core/day.h"

#include "core/entry.h"
#include "core/feasts.h"
#include "core/nametable.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {
bool isTitle(QStringView part)
{
    return std::ranges::find(fixedHolidayTitles, part) != fixedHolidayTitles.end() ||
           std::ranges::any_of(allFeasts, [&](Feast feast) { return feastTitle(feast) == part; });
}
} // namespace

Day dayFromEntry(const QDate& date, const QString& entry)
{
    Day day{date, withoutMarker(entry), isRedLetterDay(date, entry), {}, {}};
    QStringList titles;
    for (const QString& part : day.entry.split(u", "_s, Qt::SkipEmptyParts)) {
        if (isTitle(part)) {
            titles += part;
            continue;
        }
        // "own/moved": the day celebrates the name moved onto it.
        const QString name = part.section(u'/', -1);
        if (name != leapDayPlaceholder)
            day.celebrated += name;
    }
    day.title = titles.join(u", "_s);
    return day;
}

Day dayOn(const QDate& date)
{
    return dayFromEntry(date, entryOn(date));
}
