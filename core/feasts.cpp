#include "core/feasts.h"

#include "dates/clock.h"
#include "dates/datetexts.h"

namespace {
// Days from 22 March to the paschal full moon, by the year's remainder modulo 19;
// the Gregorian full moons of the years 1900 to 2199.
constexpr std::array<int, 19> paschalFullMoon = {23, 12, 1,  20, 9,  27, 17, 6,  25, 14,
                                                 3,  22, 11, 0,  19, 8,  26, 16, 5};
} // namespace

Date unnepdatum(int index, qint16& year)
{
    if (year == 0)
        year = qint16(today().year());

    if (index == 6)
        return dateSerial(year, 11, 29 - weekday(dateSerial(year, 11, 21), Qt::Thursday));

    // The non-negative remainder, so that no year reads outside the table.
    const int golden = (year % 19 + 19) % 19;
    const QDate fullMoon = dateSerial(year, 3, 22).addDays(paschalFullMoon[golden]);
    // The first Sunday strictly after the full moon.
    const QDate easter = fullMoon.addDays(8 - weekday(fullMoon, Qt::Sunday));

    switch (index) {
    case 0:
        return easter;
    case 1:
        return easter.addDays(1);
    case 2:
        return easter.addDays(7 * 7);
    case 3:
        return easter.addDays(50);
    case 4:
        return easter.addDays(-2);
    case 5:
        return easter.addDays(-46);
    default:
        return Date();
    }
}
