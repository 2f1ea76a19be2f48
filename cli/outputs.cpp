#include "cli/outputs.h"

#include "core/namesearch.h"
#include "core/nametable.h"
#include "dates/datetexts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {
QJsonObject jsonOf(const Day& day)
{
    return {{u"date"_s, day.date.toString(Qt::ISODate)},
            {u"names"_s, day.entry},
            {u"red"_s, day.red},
            {u"title"_s, day.title.isEmpty() ? QJsonValue(QJsonValue::Null) : day.title},
            {u"celebrated"_s, QJsonArray::fromStringList(day.celebrated)}};
}

QByteArray compactLine(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}
} // namespace

QByteArray namesLine(const Day& day)
{
    return day.entry.toUtf8() + '\n';
}

QByteArray jsonLine(const Day& day, const std::optional<Day>& next)
{
    QJsonObject object = jsonOf(day);
    object.insert(u"tomorrow"_s, next ? QJsonValue(jsonOf(*next)) : QJsonValue(QJsonValue::Null));
    return compactLine(object);
}

QByteArray waybarLine(const Day& day, const std::optional<Day>& next)
{
    QString tooltip = longDateText(day.date) + u'\n' + day.entry;
    if (next)
        tooltip += u"\nHolnap: "_s + next->entry;
    return compactLine({{u"text"_s, day.entry.toHtmlEscaped()},
                        {u"tooltip"_s, tooltip.toHtmlEscaped()},
                        {u"class"_s, day.red ? u"red"_s : QString()}});
}

Notification notificationOf(const Day& day, const std::optional<Day>& next, const QDate& today)
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
    return {dayLabel + u": "_s + day.entry, next ? nextLabel + u": "_s + next->entry : QString()};
}

QByteArray searchLines(int year, const QString& query)
{
    QString lines;
    forEachDayContaining(NameTable(year), query, [&](const QDate& date, const QString& entry) {
        lines += date.toString(Qt::ISODate) + u'\t' + dayFromEntry(date, entry).entry + u'\n';
    });
    return lines.toUtf8();
}
