#pragma once

#include "dates/clock.h"

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
