#include "searchprovider/namedaysearch.h"

#include "core/calendarrange.h"
#include "core/nametable.h"
#include "dates/clock.h"
#include "dates/datetexts.h"

#include <QCollator>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {
// No name, date or person is longer; anything longer is not looked at.
constexpr qsizetype longestQuery = 100;
// The Shell shows five results of a provider, KRunner a few more.
constexpr qsizetype mostNames = 8;
constexpr qsizetype mostPeople = 8;

// Compared without case and accents, as typed on any keyboard: "arpad" is Árpád.
QString keyOf(const QString& text)
{
    QString key;
    for (const QChar c : text.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            key += c;
    return key.toCaseFolded();
}

QString dayAndWeekday(const QDate& date) // július 26., vasárnap
{
    return hungarian().toString(date, u"MMMM d., dddd"_s);
}

QString monthAndDay(const QDate& date) // július 26.
{
    return hungarian().toString(date, u"MMMM d."_s);
}

// With the year where it is not this year's: 2027. március 15., hétfő.
QString dateText(const QDate& date, int thisYear)
{
    return date.year() == thisYear ? dayAndWeekday(date)
                                   : hungarian().toString(date, u"yyyy. MMMM d., dddd"_s);
}

QString distanceText(qint64 days)
{
    if (days == 0)
        return u"ma"_s;
    if (days == 1)
        return u"holnap"_s;
    return u"%1 nap múlva"_s.arg(days);
}

// The word, or a beginning of it of three letters at least.
bool beginsWord(const QString& key, QStringView word)
{
    return key == word || (key.size() >= 3 && word.startsWith(key));
}

// The month that a word names: a month's name or a beginning of three letters at least
// ("dec", "márc."); 0 for none.
int monthNamed(QStringView word)
{
    if (word.endsWith(u'.'))
        word.chop(1);
    for (int month = 1; month <= 12; ++month)
        if (beginsWord(word.toString(), keyOf(monthName(month))))
            return month;
    return 0;
}

// Sorted by name, each name's sort key made once: ten thousand people sort in a few
// milliseconds.
template<typename Item> void inHungarianOrder(QList<Item>& items)
{
    const QCollator order(hungarian());
    QList<std::pair<QCollatorSortKey, qsizetype>> keys;
    keys.reserve(items.size());
    for (qsizetype index = 0; index < items.size(); ++index)
        keys.append({order.sortKey(items[index].name), index});
    std::ranges::stable_sort(
        keys, [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
    QList<Item> sorted;
    sorted.reserve(items.size());
    for (const auto& key : keys)
        sorted.append(std::move(items[key.second]));
    items = std::move(sorted);
}

QString joined(const QList<QDate>& days)
{
    QStringList texts;
    for (const QDate& day : days)
        texts += monthAndDay(day);
    return texts.join(u", "_s);
}
} // namespace

QDate dayOfResult(QStringView id)
{
    const QList<QStringView> parts = id.split(u'/');
    if (parts.size() < 2)
        return {};
    const QDate day = isoDay(parts[1]);
    return isInCalendarRange(day) ? day : QDate();
}

NameDaySearch::NameDaySearch(PersonIndex people)
    : m_people(std::move(people))
{
}

// Each name's days and each person's next name day, from today until the day before today
// next year, each day from its own year's table; worked out once a day.
void NameDaySearch::prepareComingYear()
{
    const QDate now = today();
    if (now == m_today)
        return;
    m_today = now;
    const QDate last = std::min(now.addYears(1).addDays(-1), lastCalendarDay());
    const NameTable thisYear(now.year());
    const NameTable nextYear(now.year() + 1);
    QHash<QString, qsizetype> names;
    m_names.clear();
    for (QDate date = now; date <= last; date = date.addDays(1))
        for (const QString& name :
             (date.year() == now.year() ? thisYear : nextYear).day(date).celebrated) {
            auto place = names.find(name);
            if (place == names.end()) {
                place = names.insert(name, m_names.size());
                m_names.append({name, keyOf(name), {}});
            }
            m_names[*place].days += date;
        }

    static const QRegularExpression wordBreaks(u"[\\s-]+"_s);
    m_comingPeople.clear();
    for (const Person& person : m_people.people()) {
        ComingPerson coming{person.name, {}, {}, {}};
        for (const QString& name : person.names) {
            const auto place = names.constFind(name);
            if (place == names.cend())
                continue;
            const QDate next = m_names[*place].days.constFirst();
            if (coming.day.isValid() && next > coming.day)
                continue;
            if (next != coming.day)
                coming.names.clear();
            coming.day = next;
            coming.names += name;
        }
        if (coming.day.isValid()) {
            coming.words = keyOf(person.name).split(wordBreaks, Qt::SkipEmptyParts);
            m_comingPeople.append(std::move(coming));
        }
    }

    inHungarianOrder(m_names);
    inHungarianOrder(m_comingPeople);
}

QList<SearchResult> NameDaySearch::answer(const QString& typed)
{
    // Measured before the work on it: a hostile query may be of any length.
    if (typed.size() > longestQuery * 4)
        return {};
    const QString query = typed.normalized(QString::NormalizationForm_C).simplified();
    if (query.isEmpty() || query.size() > longestQuery || !isInCalendarRange(today()))
        return {};
    prepareComingYear();
    const QString key = keyOf(query);
    QList<SearchResult> results;
    addDayResults(key, results);
    addDateResult(key, results);
    addNameResults(key, true, results);
    addPeopleResults(key, results);
    addNameResults(key, false, results);
    return results;
}

// "Mai névnap: Natália", and who among the user's people celebrates on the day.
SearchResult NameDaySearch::dayResult(const QString& kind, const QDate& date,
                                      const QString& text) const
{
    const Day day = dayOn(date);
    QString description = kind == u"date" ? QString() : dateText(date, m_today.year());
    if (const QList<Person> people = m_people.celebrating(day); !people.isEmpty())
        description +=
            (description.isEmpty() ? u""_s : u" — "_s) + u"Ismerőseid: "_s + shownNames(people);
    return {kind + u'/' + date.toString(Qt::ISODate), text + day.entry, description, true};
}

void NameDaySearch::addDayResults(const QString& key, QList<SearchResult>& results) const
{
    const bool nameDays = beginsWord(key, u"nevnapok");
    const QDate tomorrow = m_today.addDays(1);
    if (key == u"ma" || nameDays)
        results += dayResult(u"today"_s, m_today, u"Mai névnap: "_s);
    if ((beginsWord(key, u"holnap") || nameDays) && isInCalendarRange(tomorrow))
        results += dayResult(u"tomorrow"_s, tomorrow, u"Holnapi névnap: "_s);
}

// "12.24", "12. 24.", "december 24", "dec. 24.", "2027-03-15", "2027.03.15.",
// "2027. március 15.": without a year, this year's day, or where this year has none (29
// February), the next year's that has it.
void NameDaySearch::addDateResult(const QString& key, QList<SearchResult>& results) const
{
    static const QRegularExpression numbers(
        u"^(?:(\\d{4})(?:-|\\. ?))?(\\d{1,2})(?:-|\\. ?)(\\d{1,2})\\.?$"_s);
    static const QRegularExpression named(u"^(?:(\\d{4})\\.? )?(\\w+\\.?) ?(\\d{1,2})\\.?$"_s);
    int year = 0;
    int month = 0;
    int dayOfMonth = 0;
    if (const QRegularExpressionMatch match = numbers.match(key); match.hasMatch()) {
        // The dashes are ISO's, which always has the year: "12-24" is no date.
        if (key.contains(u'-') && (match.capturedLength(1) == 0 || key.contains(u'.')))
            return;
        year = match.captured(1).toInt();
        month = match.captured(2).toInt();
        dayOfMonth = match.captured(3).toInt();
    } else if (const QRegularExpressionMatch match = named.match(key); match.hasMatch()) {
        year = match.captured(1).toInt();
        month = monthNamed(match.capturedView(2));
        dayOfMonth = match.captured(3).toInt();
    } else {
        return;
    }
    QDate date;
    if (year != 0)
        date = QDate(year, month, dayOfMonth);
    else
        for (year = m_today.year(); year <= lastCalendarYear && !date.isValid(); ++year)
            date = QDate(year, month, dayOfMonth);
    if (isInCalendarRange(date))
        results += dayResult(u"date"_s, date, dateText(date, m_today.year()) + u": "_s);
}

// "Anna — július 26., vasárnap: 229 nap múlva": the names the query is, or else the names it
// is the beginning of, of two letters at least.
void NameDaySearch::addNameResults(const QString& key, bool exact,
                                   QList<SearchResult>& results) const
{
    if (!exact && key.size() < 2)
        return;
    qsizetype shown = 0;
    for (const ComingName& name : m_names) {
        if (exact ? name.key != key : name.key == key || !name.key.startsWith(key))
            continue;
        if (!exact && ++shown > mostNames)
            return;
        const QDate next = name.days.constFirst();
        results.append(
            {u"name/"_s + next.toString(Qt::ISODate) + u'/' + name.name,
             name.name + u" — "_s + dayAndWeekday(next) + u": "_s +
                 distanceText(m_today.daysTo(next)),
             name.days.size() > 1 ? u"Napjai egy éven belül: "_s + joined(name.days) : QString(),
             exact});
    }
}

// "Kiss Anna névnapja: július 26.": the people of whose name each word of the query begins a
// word, the person the query names wholly first.
void NameDaySearch::addPeopleResults(const QString& key, QList<SearchResult>& results) const
{
    if (key.size() < 2 || m_comingPeople.isEmpty())
        return;
    const QStringList words = key.split(u' ');
    QList<SearchResult> found;
    for (qsizetype index = 0; index < m_comingPeople.size() && found.size() < mostPeople; ++index) {
        const ComingPerson& person = m_comingPeople[index];
        const bool matches = std::ranges::all_of(words, [&](const QString& word) {
            return std::ranges::any_of(person.words,
                                       [&](const QString& own) { return own.startsWith(word); });
        });
        if (!matches)
            continue;
        const bool named = person.words.join(u' ') == key;
        const SearchResult result{
            u"person/%1/%2"_s.arg(person.day.toString(Qt::ISODate)).arg(index),
            person.name + u" névnapja: "_s + monthAndDay(person.day),
            person.names.join(u", "_s) + u" — "_s + hungarian().dayName(person.day.dayOfWeek()) +
                u": "_s + distanceText(m_today.daysTo(person.day)),
            named};
        if (named)
            found.prepend(result);
        else
            found.append(result);
    }
    results += found;
}
