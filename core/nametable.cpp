#include "core/nametable.h"

#include "core/basecontent.h"
#include "core/feasts.h"
#include "dates/datetexts.h"

#include <QStringBuilder>

using namespace Qt::StringLiterals;

namespace {
// The entry of a work-free public holiday ends in the marker, which the windows never show.
constexpr QStringView holidayMarker = u",mszn";

// In a leap year 24 February reads "Mátyás/szökőnap": nobody's name moves onto the leap day.
constexpr QStringView leapDayPlaceholder = u"szökőnap";

// All Saints' Day is a public holiday from 2000 on (Act CXXIII of 1999).
constexpr int firstWorkFreeAllSaints = 2000;
} // namespace

NameTable::NameTable(int year)
    : m_year(year)
    , m_days(commonYear())
{
    if (QDate::isLeapYear(year))
        shiftLeapDay();
    addHolidaysByLaw();
    insertFeasts();
}

const NameTable::Parts& NameTable::parts(int month, int day) const
{
    static const Parts none;
    if (month < 0 || month >= int(m_days.size()) || day < 0 || day >= int(m_days[0].size()))
        return none;
    return m_days[month][day];
}

QStringList NameTable::titlesOf(const Parts& cell)
{
    QStringList titles;
    for (const QStringView title : {cell.feast, cell.holiday})
        if (!title.isEmpty())
            titles += title.toString();
    return titles;
}

// "Hamvazószerda, NEMZ.NŐNAP, Zoltán", "Géza/Mátyás": the names, the titles in front of them.
QString NameTable::shownText(const Parts& cell)
{
    // Most days show their names alone, static data that need not be copied.
    QString text = QString::fromRawData(cell.names.data(), cell.names.size());
    if (cell.moved)
        text = text % u'/' % (cell.moved->isEmpty() ? leapDayPlaceholder : *cell.moved);
    for (const QStringView title : {cell.holiday, cell.feast})
        if (!title.isEmpty())
            text = title % u", " % text;
    return text;
}

QString NameTable::entry(int month, int day) const
{
    const Parts& cell = parts(month, day);
    QString text = shownText(cell);
    if (cell.workFree)
        text += holidayMarker;
    return text;
}

Day NameTable::day(const QDate& date) const
{
    const Parts& cell = parts(date.month(), date.day());
    QStringList celebrated;
    for (const QStringView name :
         cell.moved.value_or(cell.names).tokenize(u", ", Qt::SkipEmptyParts))
        celebrated += name.toString();
    return {date, shownText(cell), date.dayOfWeek() == Qt::Sunday || cell.workFree,
            titlesOf(cell).join(u", "_s), celebrated};
}

// Built once: every table starts as a copy of it.
const NameTable::Days& NameTable::commonYear()
{
    static const Days days = [] {
        Days common;
        for (const BaseEntry& entry : baseContent())
            common[entry.month][entry.day] = {{}, entry.title, entry.names, {}, entry.workFree};
        return common;
    }();
    return days;
}

// In a leap year the names of 24..28 February each move one day later, and the day's own name
// stays in front of the slash.
void NameTable::shiftLeapDay()
{
    auto& february = m_days[2];
    february[29] = february[28];
    for (int day = 25; day <= 28; ++day)
        february[day].moved = february[day - 1].names;
    february[24].moved.emplace();
}

void NameTable::addHolidaysByLaw()
{
    if (m_year >= firstWorkFreeAllSaints) {
        Parts& allSaints = m_days[11][1];
        allSaints.holiday = u"MINDENSZENTEK";
        allSaints.workFree = true;
    }
}

void NameTable::insertFeasts()
{
    for (const Feast feast : allFeasts) {
        const QDate date = feastDate(feast, m_year);
        Parts& day = m_days[date.month()][date.day()];
        day.feast = feastTitle(feast);
        day.workFree = day.workFree || isPublicHoliday(feast, m_year);
    }
}

Day dayOn(const QDate& date)
{
    return NameTable(date.year()).day(date);
}

QString dayText(const Day& day)
{
    return u' ' % dateText(day.date) % u"   " % day.entry % u"   ";
}
