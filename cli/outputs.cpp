#include "cli/outputs.h"

#include "core/entry.h"
#include "core/namesearch.h"
#include "core/nametable.h"
#include "dates/datetexts.h"

#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {
QJsonObject jsonOf(const DayNames& day)
{
    return {
        {u"date"_s, day.date.toString(Qt::ISODate)}, {u"names"_s, day.names}, {u"red"_s, day.red}};
}

QByteArray compactLine(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}
} // namespace

DayNames dayNames(const QDate& date)
{
    const QString entry = entryOn(date);
    return {date, withoutMarker(entry), isRedLetterDay(date, entry)};
}

QByteArray namesLine(const DayNames& day)
{
    return day.names.toUtf8() + '\n';
}

QByteArray jsonLine(const DayNames& day, const std::optional<DayNames>& next)
{
    QJsonObject object = jsonOf(day);
    object.insert(u"tomorrow"_s, next ? QJsonValue(jsonOf(*next)) : QJsonValue(QJsonValue::Null));
    return compactLine(object);
}

QByteArray waybarLine(const DayNames& day, const std::optional<DayNames>& next)
{
    QString tooltip = longDateText(day.date) + u'\n' + day.names;
    if (next)
        tooltip += u"\nHolnap: "_s + next->names;
    return compactLine({{u"text"_s, day.names.toHtmlEscaped()},
                        {u"tooltip"_s, tooltip.toHtmlEscaped()},
                        {u"class"_s, day.red ? u"red"_s : QString()}});
}

Notification notificationOf(const DayNames& day, const std::optional<DayNames>& next,
                            const QDate& today)
{
    QString dayLabel = hungarian().toString(day.date, QLocale::LongFormat);
    QString nextLabel = u"Másnap"_s;
    if (day.date == today) {
        dayLabel = u"Mai névnap"_s;
        nextLabel = u"Holnap"_s;
    } else if (day.date == today.addDays(1)) {
        dayLabel = u"Holnapi névnap"_s;
        nextLabel = u"Holnapután"_s;
    }
    return {dayLabel + u": "_s + day.names, next ? nextLabel + u": "_s + next->names : QString()};
}

QByteArray searchLines(int year, const QString& query)
{
    QString lines;
    forEachDayContaining(NameTable(year), query, [&](const QDate& day, const QString& entry) {
        lines += day.toString(Qt::ISODate) + u'\t' + withoutMarker(entry) + u'\n';
    });
    return lines.toUtf8();
}
