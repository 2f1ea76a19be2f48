#pragma once

#include <QDate>
#include <QString>
#include <QStringView>

// A day's entry ends in ",mszn" when the day is a work-free public holiday.
inline constexpr QStringView holidayMarker = u",mszn";

// Exactly the last four letters, case included: "MSZN" is not the marker.
inline bool isMarkedHoliday(QStringView entry)
{
    return entry.endsWith(holidayMarker.sliced(1));
}

// The entry as it is shown: without the marker, and otherwise unchanged.
inline QString withoutMarker(const QString& entry)
{
    return isMarkedHoliday(entry) ? entry.chopped(std::min(entry.size(), holidayMarker.size()))
                                  : entry;
}

// Red in the calendar: a Sunday, or a work-free public holiday.
inline bool isRedLetterDay(const QDate& date, QStringView entry)
{
    return date.dayOfWeek() == Qt::Sunday || isMarkedHoliday(entry);
}
