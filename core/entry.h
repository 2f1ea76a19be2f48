#pragma once

#include <QDate>
#include <QString>
#include <QStringView>

#include <array>

// A day's entry ends in ",mszn" when the day is a work-free public holiday.
inline constexpr QStringView holidayMarker = u",mszn";

// The titles of the fixed holidays, in front of the day's names.
inline constexpr std::array<QStringView, 7> fixedHolidayTitles = {
    u"ÚJéV",          u"NEMZ.NŐNAP",    u"NEMZETI ÜNNEP", u"ALKOTMÁNY ÜNN.",
    u"KÖZT.KIKIÁLT.", u"MINDENSZENTEK", u"KARÁCSONY"};

// In a leap year 24 February reads "Mátyás/szökőnap": the leap day's placeholder, not a name.
inline constexpr QStringView leapDayPlaceholder = u"szökőnap";

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
