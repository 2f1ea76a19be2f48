#pragma once

#include <QString>

struct DayNames;

// Shows the day's names, and the next day's, as a desktop notification through the
// notification service of the session bus. Returns why it could not, in Hungarian, or an
// empty text when the notification was shown.
QString notifyNameDays(const DayNames& day, const DayNames& next);
