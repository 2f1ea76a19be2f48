#include "core/namesearch.h"

#include "core/nametable.h"
#include "dates/datetexts.h"
#include "dates/texts.h"

#include <QStringBuilder>

namespace {
// Every day of the table's year in calendar order, until `visit` says stop.
template<typename Visit> void forEachDay(const NameTable& table, Visit visit)
{
    for (QDate day(table.year(), 1, 1); day.year() == table.year(); day = day.addDays(1))
        if (!visit(day, table.entry(day)))
            return;
}
} // namespace

QString searchQuery(const QString& typed)
{
    return typed.normalized(QString::NormalizationForm_C).trimmed();
}

QString searchDayText(int month, int day)
{
    return monthName(month) % u' ' % numberText(day);
}

FirstMatch firstDayStartingWith(const NameTable& table, const QString& query)
{
    const QString wanted = upper(query);
    FirstMatch match;
    forEachDay(table, [&](const QDate& day, const QString& entry) {
        // An entry shorter than the query never matches: left() gives the whole entry.
        if (upper(QStringView(entry).left(wanted.size())) != wanted)
            return true;
        match = {entry, searchDayText(day.month(), day.day())};
        return false;
    });
    return match;
}

void forEachDayContaining(const NameTable& table, const QString& query,
                          const std::function<void(const QDate&, const QString&)>& visit)
{
    const QString wanted = upper(query);
    forEachDay(table, [&](const QDate& day, const QString& entry) {
        if (upper(entry).contains(wanted))
            visit(day, entry);
        return true;
    });
}

QString daysContaining(const NameTable& table, const QString& query)
{
    QString list;
    forEachDayContaining(table, query, [&](const QDate& day, const QString& entry) {
        list += entry % u", " % searchDayText(day.month(), day.day()) % u"\r\n";
    });
    return list;
}
