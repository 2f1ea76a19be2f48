#include "dates/clock.h"

namespace {
std::function<QDateTime()>& clockSource()
{
    static std::function<QDateTime()> source;
    return source;
}
} // namespace

QDateTime now()
{
    const auto& source = clockSource();
    return source ? source() : QDateTime::currentDateTime();
}

QDate today()
{
    return now().date();
}

QString paddedTimeText()
{
    return now().time().toString(u"HH:mm:ss");
}

QString timeText()
{
    return now().time().toString(u"H:mm:ss");
}

void setClock(std::function<QDateTime()> source)
{
    clockSource() = std::move(source);
}
