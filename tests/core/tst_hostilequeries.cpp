#include "core/namesearch.h"
#include "core/nametable.h"
#include "support/reference.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>

#include <array>

using namespace Qt::StringLiterals;

namespace {
const std::array<QString, 13> months = {
    QString(),    u"január"_s,   u"február"_s, u"március"_s,   u"április"_s,
    u"május"_s,   u"június"_s,   u"július"_s,  u"augusztus"_s, u"szeptember"_s,
    u"október"_s, u"november"_s, u"december"_s};

// What both lookups should answer, worked out apart from the program: the entries from the
// test's own reading of the year, upper-cased by Qt's full case mapping.
class Reference
{
public:
    explicit Reference(int year)
    {
        for (QDate day(year, 1, 1); day.year() == year; day = day.addDays(1)) {
            const QString entry = reference::day(day).entry();
            m_days.append({entry, entry.toUpper(),
                           months[day.month()] + u"  "_s + QString::number(day.day())});
        }
    }

    FirstMatch first(const QString& query) const
    {
        if (!mayMatch(query))
            return {};
        const QString wanted = query.toUpper();
        for (const Day& day : m_days)
            if (day.upper.startsWith(wanted))
                return {day.entry, day.dayText};
        return {};
    }

    QString all(const QString& query) const
    {
        if (!mayMatch(query))
            return {};
        const QString wanted = query.toUpper();
        QString list;
        for (const Day& day : m_days)
            if (day.upper.contains(wanted))
                list += day.entry + u", "_s + day.dayText + u"\r\n"_s;
        return list;
    }

    bool holdsSurrogate() const
    {
        for (const Day& day : m_days)
            for (QChar c : day.entry)
                if (c.isSurrogate())
                    return true;
        return false;
    }

    const QString& randomEntry(QRandomGenerator& random) const
    {
        return m_days[random.bounded(int(m_days.size()))].entry;
    }

private:
    // The lookups keep a letter whose upper case is two letters (ß, ŉ, ﬀ) as it is, and no
    // entry holds one: a query with one finds nothing.
    static bool mayMatch(const QString& query) { return query.toUpper().size() == query.size(); }

    struct Day
    {
        QString entry;
        QString upper;
        QString dayText;
    };
    QList<Day> m_days;
};

QChar hostileUnit(QRandomGenerator& random)
{
    static const char16_t odd[] = {u'ß', u'ŉ',   u'ı',   u'İ',   u'ẞ',
                                   u'ﬀ', 0xFEFF, 0xFFFE, 0xFFFF, 0x2028};
    switch (random.bounded(6)) {
    case 0:
        return QChar(char16_t(random.bounded(0x20, 0x7F))); // ASCII
    case 1:
        return QChar(char16_t(random.bounded(0x00, 0x20))); // control
    case 2:
        return QChar(char16_t(random.bounded(0xC0, 0x180))); // Latin, ő and ű included
    case 3:
        return QChar(char16_t(random.bounded(0x300, 0x370))); // combining accents
    case 4:
        return QChar(char16_t(random.bounded(0xD800, 0xE000))); // lone surrogate
    default:
        return QChar(odd[random.bounded(int(std::size(odd)))]);
    }
}

QString noise(QRandomGenerator& random, qsizetype length)
{
    QString text;
    while (text.size() < length) {
        if (random.bounded(8) == 0) { // astral, some of it with case (Deseret, Adlam)
            const char32_t starts[] = {0x10400, 0x1E900, 0x1F600, 0x10000};
            const char32_t code = starts[random.bounded(4)] + random.bounded(0x44);
            text += QChar(QChar::highSurrogate(code));
            text += QChar(QChar::lowSurrogate(code));
        } else {
            text += hostileUnit(random);
        }
    }
    return text;
}

// A piece of a real entry in a random mix of cases: most of these match something.
QString fragment(QRandomGenerator& random, const Reference& reference)
{
    const QString& entry = reference.randomEntry(random);
    const int from = random.bounded(2) ? 0 : random.bounded(int(entry.size()));
    QString text = entry.mid(from, random.bounded(int(entry.size() - from) + 1));
    for (QChar& c : text)
        c = random.bounded(2) ? c.toUpper() : c.toLower();
    return text;
}

QString query(QRandomGenerator& random, const Reference& reference)
{
    switch (random.bounded(10)) {
    case 0:
    case 1:
    case 2:
    case 3:
        return fragment(random, reference);
    case 4: { // a hostile unit inside a real fragment
        QString text = fragment(random, reference);
        return text.insert(random.bounded(int(text.size()) + 1), hostileUnit(random));
    }
    case 5:
        return fragment(random, reference) + QChar(char16_t(random.bounded(0x300, 0x370)));
    case 6:
        return QString(random.bounded(40), u' ');
    case 7: {
        QString text(random.bounded(40), u' ');
        for (QChar& c : text)
            c = random.bounded(2) ? u',' : u' ';
        return text;
    }
    default:
        return noise(random, random.bounded(13));
    }
}

QByteArray described(const QString& query)
{
    QByteArray text = "query of " + QByteArray::number(query.size()) + " units: ";
    for (QChar c : QStringView(query).left(40))
        text += c.isPrint() && c.unicode() < 0x80
                    ? QByteArray(1, char(c.unicode()))
                    : "\\u" + QByteArray::number(c.unicode(), 16).rightJustified(4, '0');
    return text;
}

bool agrees(const NameTable& names, const Reference& reference, const QString& query)
{
    const FirstMatch got = firstDayStartingWith(names, query);
    const FirstMatch expected = reference.first(query);
    return got.entry == expected.entry && got.dayText == expected.dayText &&
           daysContaining(names, query) == reference.all(query);
}
} // namespace

class TestHostileQueries : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void randomQueriesAgreeWithTheReference_data()
    {
        QTest::addColumn<int>("year");
        QTest::newRow("leap year") << 2004;
        QTest::newRow("common year") << 2005;
        QTest::newRow("common century year") << 2100;
    }
    void randomQueriesAgreeWithTheReference()
    {
        QFETCH(int, year);
        const NameTable names(year);
        const Reference reference(year);
        QVERIFY(!reference.holdsSurrogate());
        QRandomGenerator random(20040408u + quint32(year));
        constexpr int count = 3000;
        int prefixHits = 0;
        int listHits = 0;
        for (int i = 0; i < count; ++i) {
            const QString text = query(random, reference);
            QVERIFY2(agrees(names, reference, text), described(text).constData());
            prefixHits += !reference.first(text).entry.isEmpty();
            listHits += !reference.all(text).isEmpty();
        }
        // Without enough matches the agreement would prove little.
        QVERIFY2(prefixHits > count / 4, qPrintable(QString::number(prefixHits)));
        QVERIFY2(listHits > count / 3, qPrintable(QString::number(listHits)));
    }

    void longQueriesAgreeWithTheReference_data()
    {
        QRandomGenerator random(1899u);
        QTest::addColumn<QString>("query");
        QTest::newRow("noise") << noise(random, 100'000);
        QTest::newRow("spaces") << QString(100'000, u' ');
        QTest::newRow("commas") << QString(100'000, u',');
        QTest::newRow("a real entry over and over")
            << u"Attila, Ramóna"_s.repeated(100'000 / 14 + 1);
    }
    void longQueriesAgreeWithTheReference()
    {
        QFETCH(QString, query);
        for (int year : {2004, 2005}) {
            QVERIFY2(agrees(NameTable(year), Reference(year), query), described(query).constData());
        }
    }

    void millionCharacterQueryFindsNothing()
    {
        const NameTable names(2004);
        const QString query = u"ÚJéV, Fruzsina,mszn"_s.repeated(1'000'000 / 19 + 1);
        QElapsedTimer timer;
        timer.start();
        const FirstMatch first = firstDayStartingWith(names, query);
        const qint64 prefixMs = timer.restart();
        const QString list = daysContaining(names, query);
        const qint64 listMs = timer.elapsed();
        qInfo("%lld characters: first match %lld ms, every match %lld ms", qint64(query.size()),
              prefixMs, listMs);
        QVERIFY(first.entry.isEmpty());
        QVERIFY(first.dayText.isEmpty());
        QVERIFY(list.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestHostileQueries)
#include "tst_hostilequeries.moc"
