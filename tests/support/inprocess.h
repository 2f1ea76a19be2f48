#pragma once

#include "cli/namedays.h"

#include <QBuffer>

// zorvat-nevnap run inside the test, on whatever clock the test has set; the program's name in
// its messages is the test's.
struct InProcessRun
{
    int status;
    QString out;
    QString err;
};

inline InProcessRun run(const QStringList& arguments)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    const int status =
        runNameDays(QStringList{QStringLiteral("zorvat-nevnap")} + arguments, out, err);
    return {status, QString::fromUtf8(out.data()), QString::fromUtf8(err.data())};
}
