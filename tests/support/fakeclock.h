#pragma once

#include "dates/clock.h"

// A moment for the fake clock; noon unless told otherwise.
inline QDateTime at(int year, int month, int day, int hour = 12, int minute = 0, int second = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second));
}

// Sets the program's clock for the lifetime of the object and restores the system clock after.
class FakeClock
{
public:
    explicit FakeClock(QDateTime start)
        : m_now(std::move(start))
    {
        setClock([this] { return m_now; });
    }
    ~FakeClock() { setClock({}); }
    FakeClock(const FakeClock&) = delete;
    FakeClock& operator=(const FakeClock&) = delete;

    void set(const QDateTime& time) { m_now = time; }
    void advance(qint64 seconds) { m_now = m_now.addSecs(seconds); }

private:
    QDateTime m_now;
};
