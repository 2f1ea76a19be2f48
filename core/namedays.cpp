#include "core/namedays.h"

#include "core/basecontent.h"
#include "core/entry.h"
#include "core/feasts.h"
#include "dates/datetexts.h"

#include <QStringBuilder>

const QString& NameDays::nevek(int month, int day) const
{
    static const QString none;
    if (month < 0 || month >= int(m_nevek.size()) || day < 0 || day >= int(m_nevek[0].size()))
        return none;
    return m_nevek[month][day];
}

void NameDays::nevtabla()
{
    const int year = refdatum.year();
    fillBaseContent();
    if (QDate::isLeapYear(year))
        shiftLeapDay();
    insertFeasts(year);
}

void NameDays::fillBaseContent()
{
    // The base texts are static data: assigning them copies no characters.
    for (const BaseEntry& entry : baseContent())
        m_nevek[entry.month][entry.day] =
            QString::fromRawData(entry.text.data(), entry.text.size());
}

// In a leap year the names of 24..28 February each move one day later, and the
// day's own name stays in front of the slash.
void NameDays::shiftLeapDay()
{
    auto& february = m_nevek[2];
    february[29] = february[28];
    for (int day = 28; day >= 25; --day)
        february[day] = february[day] % u'/' % february[day - 1];
    february[24] += u"/szökőnap";
}

void NameDays::insertFeasts(int year)
{
    for (int feast = 0; feast < feastCount; ++feast) {
        qint16 feastYear = qint16(year);
        const Date date = unnepdatum(feast, feastYear);
        QString& entry = m_nevek[date.month()][date.day()];
        QString text = feastTitles[feast] % u", " % entry;
        if (isFeastHoliday(feast))
            text += holidayMarker;
        entry = text;
    }
}

QString NameDays::napszoveg(const QDate& date, const QString& prefix)
{
    refdatum = date;
    nevtabla();
    m_aktualisnev = u"  " % withoutMarker(nevek(date.month(), date.day())) % u"  ";
    return u' ' % prefix % dateText(date) % u' ' % m_aktualisnev % u' ';
}
