#include "cli/outputs.h"

#include "core/namesearch.h"
#include "core/nametable.h"
#include "dates/datetexts.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace Qt::StringLiterals;

namespace {
bool anybody(const DayReport& report)
{
    return report.people && !report.people->isEmpty();
}

QJsonObject jsonOf(const DayReport& report)
{
    const Day& day = report.day;
    QJsonObject object{{u"date"_s, day.date.toString(Qt::ISODate)},
                       {u"names"_s, day.entry},
                       {u"red"_s, day.red},
                       {u"title"_s, day.title.isEmpty() ? QJsonValue(QJsonValue::Null) : day.title},
                       {u"celebrated"_s, QJsonArray::fromStringList(day.celebrated)}};
    if (report.people) {
        QJsonArray people;
        for (const Person& person : *report.people)
            people.append(QJsonObject{{u"name"_s, person.name},
                                      {u"celebrates"_s, person.names.join(u", "_s)}});
        object.insert(u"contacts"_s, people);
    }
    return object;
}

QByteArray compactLine(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

// The people who celebrate, or where the notification is private, only how many.
QString peopleText(const QList<Person>& people, bool privately)
{
    return privately ? u"%1 ismerősöd"_s.arg(people.size()) : shownNames(people);
}
} // namespace

QByteArray namesLine(const DayReport& report)
{
    QString line = report.day.entry;
    if (anybody(report))
        line += u" — "_s + shownNames(*report.people);
    return line.toUtf8() + '\n';
}

QByteArray jsonLine(const DayReport& report, const std::optional<DayReport>& next)
{
    QJsonObject object = jsonOf(report);
    object.insert(u"tomorrow"_s, next ? QJsonValue(jsonOf(*next)) : QJsonValue(QJsonValue::Null));
    return compactLine(object);
}

QByteArray waybarLine(const DayReport& report, const std::optional<DayReport>& next)
{
    QString tooltip = longDateText(report.day.date) + u'\n' + report.day.entry;
    if (anybody(report))
        tooltip += u"\nIsmerőseid: "_s + shownNames(*report.people);
    if (next) {
        tooltip += u"\nHolnap: "_s + next->day.entry;
        if (anybody(*next))
            tooltip += u"\nHolnap ismerőseid: "_s + shownNames(*next->people);
    }
    QJsonValue cssClass = report.day.red ? u"red"_s : QString();
    if (report.people) {
        QJsonArray classes;
        if (report.day.red)
            classes.append(u"red"_s);
        if (anybody(report))
            classes.append(u"contacts"_s);
        cssClass = classes;
    }
    return compactLine({{u"text"_s, report.day.entry.toHtmlEscaped()},
                        {u"tooltip"_s, tooltip.toHtmlEscaped()},
                        {u"class"_s, cssClass}});
}

Notification notificationOf(const DayReport& report, const std::optional<DayReport>& next,
                            const QDate& today, bool privately)
{
    const Day& day = report.day;
    QString dayLabel = hungarian().toString(day.date, QLocale::LongFormat);
    QString nextLabel = u"Másnap"_s;
    if (day.date == today) {
        dayLabel = u"Mai névnap"_s;
        nextLabel = u"Holnap"_s;
    } else if (day.date == today.addDays(1)) {
        dayLabel = u"Holnapi névnap"_s;
        nextLabel = u"Holnapután"_s;
    }
    QStringList body;
    QString summary = dayLabel + u": "_s + day.entry;
    if (anybody(report)) {
        summary = dayLabel + u": "_s + peopleText(*report.people, privately);
        body += day.entry;
    }
    if (next) {
        body += nextLabel + u": "_s + next->day.entry;
        if (anybody(*next))
            body += nextLabel + u" ismerőseid: "_s + peopleText(*next->people, privately);
    }
    return {summary, body.join(u'\n')};
}

QByteArray searchLines(int year, const QString& query)
{
    const NameTable table(year);
    QString lines;
    forEachDayContaining(table, query, [&](const QDate& date, const QString&) {
        lines += date.toString(Qt::ISODate) + u'\t' + table.day(date).entry + u'\n';
    });
    return lines.toUtf8();
}
