#pragma once

#include <QStringList>

class QIODevice;

// zorvat-nevnap with its arguments, the program's own path first: the answer goes to `out`,
// complaints in Hungarian to `err`. Returns the exit status: 0 done, 1 the calendar could not
// be written or the notification not shown, 2 a command line it does not take.
int runNameDays(const QStringList& arguments, QIODevice& out, QIODevice& err);
