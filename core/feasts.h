#pragma once

#include "dates/date.h"

#include <QStringView>

#include <array>

// Feast numbers: 0 Easter Sunday, 1 Easter Monday, 2 Pentecost Sunday, 3 Whit Monday,
// 4 Good Friday, 5 Ash Wednesday, 6 the fourth Thursday of November.
inline constexpr int feastCount = 7;

// The titles under which the feasts stand in the name table.
inline constexpr std::array<QStringView, feastCount> feastTitles = {
    u"Húsvét",     u"Húsvéthétfő",   u"Pünkösd",     u"Pünkösdhétfő",
    u"Nagypéntek", u"Hamvazószerda", u"Thanksgiving"};

// Feasts 0..3 are work-free public holidays.
inline constexpr bool isFeastHoliday(int feast)
{
    return feast >= 0 && feast < 4;
}

// The date of feast `index` in `year`; the zero date for an index outside 0..6.
// A year of 0 means the current year and is written back into the caller's variable.
Date unnepdatum(int index, qint16& year);
