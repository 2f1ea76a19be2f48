#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <functional>

// Every read of the current date or time goes through here, so tests can set the clock.
QDateTime now();
QDate today();
QString paddedTimeText(); // 24-hour hh:mm:ss, e.g. 05:03:07
QString timeText();       // the Hungarian default time text H:mm:ss, e.g. 5:03:07

// Replaces the system clock; an empty function restores it.
void setClock(std::function<QDateTime()> source);
