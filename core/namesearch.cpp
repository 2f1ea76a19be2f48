#include "core/namesearch.h"

#include "core/nametable.h"
#include "dates/datetexts.h"
#include "dates/daysofyear.h"
#include "dates/texts.h"

#include <QStringBuilder>

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
    for (const QDate& day : daysOfYear(table.year())) {
        const QString entry = table.entry(day);
        // An entry shorter than the query never matches: left() gives the whole entry.
        if (upper(QStringView(entry).left(wanted.size())) == wanted)
            return {entry, searchDayText(day.month(), day.day())};
    }
    return {};
}

void forEachDayContaining(const NameTable& table, const QString& query,
                          const std::function<void(const QDate&, const QString&)>& visit)
{
    const QString wanted = upper(query);
    for (const QDate& day : daysOfYear(table.year()))
        if (const QString entry = table.entry(day); upper(entry).contains(wanted))
            visit(day, entry);
}

QString daysContaining(const NameTable& table, const QString& query)
{
    QString list;
    forEachDayContaining(table, query, [&](const QDate& day, const QString& entry) {
        list += entry % u", " % searchDayText(day.month(), day.day()) % u"\r\n";
    });
    return list;
}
