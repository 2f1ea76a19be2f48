#pragma once

#include <QStringView>

#include <span>

// A day of a common year as the table starts every rebuild.
struct BaseEntry
{
    int month;
    int day;
    QStringView names;      // "Leó, Szaniszló"
    QStringView title = {}; // of a fixed holiday, "KARÁCSONY"
    bool workFree = false;  // a work-free public holiday
};

// The 365 days of a common year in calendar order.
std::span<const BaseEntry> baseContent();
