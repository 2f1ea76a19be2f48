#pragma once

#include <QStringView>

#include <span>

struct BaseEntry
{
    int month;
    int day;
    QStringView text;
};

// The 365 entries of a common year in calendar order, as the table starts every rebuild.
std::span<const BaseEntry> baseContent();
