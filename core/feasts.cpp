#include "core/feasts.h"

#include "dates/datetexts.h"

#include <limits>

namespace {
// Days from 22 March to the paschal full moon, by the year's remainder modulo 19;
// the Gregorian full moons of the years 1900 to 2199.
constexpr std::array<int, 19> paschalFullMoon = {23, 12, 1,  20, 9,  27, 17, 6,  25, 14,
                                                 3,  22, 11, 0,  19, 8,  26, 16, 5};

constexpr int always = std::numeric_limits<int>::min();
constexpr int never = std::numeric_limits<int>::max();

struct FeastRule
{
    QStringView title;
    int daysFromEaster; // not for Thanksgiving
    int firstWorkFreeYear;
};

// In the order of Feast. Good Friday became a public holiday by the law voted on 7 March 2017.
constexpr std::array<FeastRule, allFeasts.size()> rules = {{
    {u"Húsvét", 0, always},
    {u"Húsvéthétfő", 1, always},
    {u"Pünkösd", 7 * 7, always},
    {u"Pünkösdhétfő", 50, always},
    {u"Nagypéntek", -2, 2017},
    {u"Hamvazószerda", -46, never},
    {u"Thanksgiving", 0, never},
}};

const FeastRule& ruleOf(Feast feast)
{
    return rules[std::size_t(feast)];
}

QDate easterSunday(int year)
{
    // The non-negative remainder, so that no year reads outside the table.
    const int golden = (year % 19 + 19) % 19;
    const QDate fullMoon = QDate(year, 3, 22).addDays(paschalFullMoon[golden]);
    // The first Sunday strictly after the full moon.
    return fullMoon.addDays(8 - weekday(fullMoon, Qt::Sunday));
}
} // namespace

QDate feastDate(Feast feast, int year)
{
    // 21 November counted from Thursday as 1 gives the fourth Thursday, 22..28.
    if (feast == Feast::Thanksgiving)
        return QDate(year, 11, 29 - weekday(QDate(year, 11, 21), Qt::Thursday));
    return easterSunday(year).addDays(ruleOf(feast).daysFromEaster);
}

QStringView feastTitle(Feast feast)
{
    return ruleOf(feast).title;
}

bool isPublicHoliday(Feast feast, int year)
{
    return year >= ruleOf(feast).firstWorkFreeYear;
}
