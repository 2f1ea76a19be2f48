#include "core/namesearch.h"

#include "core/namedays.h"
#include "dates/datetexts.h"
#include "dates/texts.h"

#include <QStringBuilder>

namespace {
// Every cell of months 1..12 and days 1..31, days that do not exist included:
// their empty cells simply never match.
template<typename Visit> void forEachCell(const NameDays& names, Visit visit)
{
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= 31; ++day)
            if (!visit(month, day, names.nevek(month, day)))
                return;
}
} // namespace

QString searchDayText(int month, int day)
{
    return monthName(month) % u' ' % numberText(day);
}

FirstMatch firstDayStartingWith(const NameDays& names, const QString& query)
{
    const QString wanted = upper(query);
    FirstMatch match;
    forEachCell(names, [&](int month, int day, const QString& entry) {
        // A cell shorter than the query never matches: left() gives the whole cell.
        if (upper(QStringView(entry).left(wanted.size())) != wanted)
            return true;
        match = {entry, searchDayText(month, day)};
        return false;
    });
    return match;
}

QString daysContaining(const NameDays& names, const QString& query)
{
    const QString wanted = upper(query);
    QString list;
    forEachCell(names, [&](int month, int day, const QString& entry) {
        if (find(1, upper(entry), wanted) != 0)
            list += entry % u", " % searchDayText(month, day) % u"\r\n";
        return true;
    });
    return list;
}
