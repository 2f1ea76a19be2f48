#pragma once

#include <QDate>
#include <QStringView>

#include <array>

// The movable feasts: Easter and the feasts reckoned from it, and the fourth Thursday of
// November. The order is the order of the calendar window's feast list.
enum class Feast {
    EasterSunday,
    EasterMonday,
    PentecostSunday,
    WhitMonday,
    GoodFriday,
    AshWednesday,
    Thanksgiving,
};

inline constexpr std::array allFeasts = {
    Feast::EasterSunday, Feast::EasterMonday, Feast::PentecostSunday, Feast::WhitMonday,
    Feast::GoodFriday,   Feast::AshWednesday, Feast::Thanksgiving};

// The date of the feast in `year`; Easter is the Gregorian one for every year 1894..2203.
QDate feastDate(Feast feast, int year);

// The title under which the feast stands in the name table.
QStringView feastTitle(Feast feast);

// Whether the feast is a work-free public holiday in `year`: Easter Sunday and Monday,
// Pentecost Sunday and Whit Monday always, Good Friday from 2017 on.
bool isPublicHoliday(Feast feast, int year);
