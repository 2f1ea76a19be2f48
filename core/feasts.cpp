#include "core/feasts.h"

#include "dates/datetexts.h"

namespace {
// Days from 22 March to the paschal full moon, by the year's remainder modulo 19;
// the Gregorian full moons of the years 1900 to 2199.
constexpr std::array<int, 19> paschalFullMoon = {23, 12, 1,  20, 9,  27, 17, 6,  25, 14,
                                                 3,  22, 11, 0,  19, 8,  26, 16, 5};

// Good Friday became a public holiday by the law voted on 7 March 2017.
constexpr int firstWorkFreeGoodFriday = 2017;

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
    switch (feast) {
    case Feast::EasterSunday:
        return easterSunday(year);
    case Feast::EasterMonday:
        return easterSunday(year).addDays(1);
    case Feast::PentecostSunday:
        return easterSunday(year).addDays(7 * 7);
    case Feast::WhitMonday:
        return easterSunday(year).addDays(50);
    case Feast::GoodFriday:
        return easterSunday(year).addDays(-2);
    case Feast::AshWednesday:
        return easterSunday(year).addDays(-46);
    case Feast::Thanksgiving:
        // 21 November counted from Thursday as 1 gives the fourth Thursday, 22..28.
        return QDate(year, 11, 29 - weekday(QDate(year, 11, 21), Qt::Thursday));
    }
    Q_UNREACHABLE();
    return QDate();
}

QStringView feastTitle(Feast feast)
{
    switch (feast) {
    case Feast::EasterSunday:
        return u"Húsvét";
    case Feast::EasterMonday:
        return u"Húsvéthétfő";
    case Feast::PentecostSunday:
        return u"Pünkösd";
    case Feast::WhitMonday:
        return u"Pünkösdhétfő";
    case Feast::GoodFriday:
        return u"Nagypéntek";
    case Feast::AshWednesday:
        return u"Hamvazószerda";
    case Feast::Thanksgiving:
        return u"Thanksgiving";
    }
    Q_UNREACHABLE();
    return QStringView();
}

bool isPublicHoliday(Feast feast, int year)
{
    switch (feast) {
    case Feast::EasterSunday:
    case Feast::EasterMonday:
    case Feast::PentecostSunday:
    case Feast::WhitMonday:
        return true;
    case Feast::GoodFriday:
        return year >= firstWorkFreeGoodFriday;
    case Feast::AshWednesday:
    case Feast::Thanksgiving:
        return false;
    }
    Q_UNREACHABLE();
    return false;
}
