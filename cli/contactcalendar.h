#pragma once

#include <QDateTime>

class PersonIndex;
class QIODevice;

// The name days of the user's people in the years firstYear..lastYear as a private calendar:
// one all-day event per person per name day, "Kiss Ambrus névnapja", the name it celebrates
// as its description, and with `reminderDaysBefore` (0..30) a reminder that many days before.
// Returns false when writing fails.
bool writeContactCalendar(QIODevice& out, const PersonIndex& people, int firstYear, int lastYear,
                          int reminderDaysBefore, const QDateTime& stamp);
