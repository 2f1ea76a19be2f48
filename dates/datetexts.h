#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

// The Hungarian locale from Qt's own data, whatever the machine is set to.
const QLocale& hungarian();

// Rolls days past the end of the month into the following months:
// rolledOverDate(2003, 2, 29) is 1 March 2003. Years other than 0.
QDate rolledOverDate(int year, int month, int day);

// 1..7, counted from firstDay: with Qt::Thursday first, a Wednesday is 7.
int weekday(const QDate& date, Qt::DayOfWeek firstDay);

// The day that `text` names exactly as ÉÉÉÉ-HH-NN (ISO 8601); invalid for anything else, as
// QDate::fromString also takes other separators and what follows the day.
QDate isoDay(QStringView text);

QString dateText(const QDate& date);     // 2004.04.08.
QString longDateText(const QDate& date); // 2004  április 8, csütörtök
QString monthName(int month);            // január .. december
