#pragma once

#include "core/namedays.h"

// A fresh name table built for one year.
inline NameDays builtFor(int year)
{
    NameDays names;
    names.refdatum = QDate(year, 6, 1);
    names.nevtabla();
    return names;
}
