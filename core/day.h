#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

// One day as the program tells it, to the windows and to other programs.
struct Day
{
    QDate date;
    QString entry;          // as the windows show it: titles included, the holiday marker not
    bool red = false;       // a Sunday or a work-free public holiday
    QString title;          // of a holiday or feast, two joined by ", "; empty where none
    QStringList celebrated; // the names whose name day it is: no titles, and in a leap year's
                            // shifted February the name moved onto the day
};

// Any day that QDate knows, from its own year's table.
Day dayOn(const QDate& date);
