#include "core/nametable.h"

#include "core/basecontent.h"
#include "core/entry.h"
#include "core/feasts.h"
#include "dates/datetexts.h"

#include <QStringBuilder>

namespace {
// All Saints' Day is a public holiday from 2000 on (Act CXXIII of 1999).
constexpr int firstWorkFreeAllSaints = 2000;
} // namespace

NameTable::NameTable(int year)
    : m_year(year)
{
    fillBaseContent();
    if (QDate::isLeapYear(year))
        shiftLeapDay();
    addHolidaysByLaw();
    insertFeasts();
}

const QString& NameTable::entry(int month, int day) const
{
    static const QString none;
    if (month < 0 || month >= int(m_entries.size()) || day < 0 || day >= int(m_entries[0].size()))
        return none;
    return m_entries[month][day];
}

void NameTable::fillBaseContent()
{
    // The base texts are static data: assigning them copies no characters.
    for (const BaseEntry& entry : baseContent())
        m_entries[entry.month][entry.day] =
            QString::fromRawData(entry.text.data(), entry.text.size());
}

// In a leap year the names of 24..28 February each move one day later, and the
// day's own name stays in front of the slash.
void NameTable::shiftLeapDay()
{
    auto& february = m_entries[2];
    february[29] = february[28];
    for (int day = 28; day >= 25; --day)
        february[day] = february[day] % u'/' % february[day - 1];
    february[24] += u'/' % leapDayPlaceholder;
}

void NameTable::addHolidaysByLaw()
{
    if (m_year >= firstWorkFreeAllSaints) {
        QString& allSaints = m_entries[11][1];
        allSaints = u"MINDENSZENTEK, " % allSaints % holidayMarker;
    }
}

void NameTable::insertFeasts()
{
    for (const Feast feast : allFeasts) {
        const QDate date = feastDate(feast, m_year);
        QString& entry = m_entries[date.month()][date.day()];
        entry = feastTitle(feast) % u", " % entry;
        if (isPublicHoliday(feast, m_year))
            entry += holidayMarker;
    }
}

QString entryOn(const QDate& date)
{
    return NameTable(date.year()).entry(date);
}

QString dayText(const Day& day)
{
    return u' ' % dateText(day.date) % u"   " % day.entry % u"   ";
}
