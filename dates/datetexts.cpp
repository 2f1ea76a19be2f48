#include "dates/datetexts.h"

const QLocale& hungarian()
{
    static const QLocale locale(QLocale::Hungarian, QLocale::Hungary);
    return locale;
}

QDate rolledOverDate(int year, int month, int day)
{
    return QDate(year, 1, 1).addMonths(month - 1).addDays(day - 1);
}

int weekday(const QDate& date, Qt::DayOfWeek firstDay)
{
    return (date.dayOfWeek() - firstDay + 7) % 7 + 1;
}

QDate isoDay(QStringView text)
{
    const QDate day = QDate::fromString(text, Qt::ISODate);
    return day.isValid() && day.toString(Qt::ISODate) == text ? day : QDate();
}

QString dateText(const QDate& date)
{
    return date.toString(u"yyyy.MM.dd.");
}

QString longDateText(const QDate& date)
{
    return hungarian().toString(date, u"yyyy  MMMM d, dddd");
}

QString monthName(int month)
{
    return hungarian().monthName(month, QLocale::LongFormat);
}
