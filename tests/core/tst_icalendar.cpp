#include "core/icalendar.h"
#include "support/reference.h"

#include <QBuffer>
#include <QSet>
#include <QStringDecoder>
#include <QTest>

#include <libical/ical.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
const QDateTime stamp(QDate(2026, 12, 7), QTime(8, 0), Qt::UTC);

QByteArray calendarOf(int firstYear, int lastYear, const QDateTime& madeAt = stamp)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!writeNameDayCalendar(buffer, firstYear, lastYear, madeAt))
        qFatal("the calendar could not be written to memory");
    return buffer.data();
}

// The file's physical lines, or a failure where one does not end in CRLF.
QList<QByteArray> physicalLines(const QByteArray& text)
{
    QList<QByteArray> lines = text.split('\n');
    [&] { QVERIFY(lines.takeLast().isEmpty()); }();
    for (QByteArray& line : lines) {
        [&] { QVERIFY2(line.endsWith('\r'), line.constData()); }();
        line.chop(1);
    }
    return lines;
}

bool isWholeUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    return !decoder.hasError();
}

QDate dateOf(icaltimetype time)
{
    return QDate(time.year, time.month, time.day);
}

using Calendar = std::unique_ptr<icalcomponent, decltype(&icalcomponent_free)>;
} // namespace

class TestICalendar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Two centuries, read back by libical: one all-day event for every day, each with the
    // names an independent reading of that year gives.
    void twoCenturiesAsLibicalReadsThem()
    {
        const QByteArray text = calendarOf(1900, 2100);
        for (const QByteArray& line : physicalLines(text))
            QVERIFY2(line.size() <= 75 && !line.contains('\r'), line.constData());

        const Calendar calendar(icalparser_parse_string(text.constData()), icalcomponent_free);
        QVERIFY(calendar);
        QCOMPARE(icalcomponent_count_errors(calendar.get()), 0);
        QCOMPARE(icalcomponent_isa(calendar.get()), ICAL_VCALENDAR_COMPONENT);
        QCOMPARE(QString::fromUtf8(icalproperty_get_value_as_string(
                     icalcomponent_get_first_property(calendar.get(), ICAL_NAME_PROPERTY))),
                 u"Névnapok");

        QDate expected(1900, 1, 1);
        QSet<QByteArray> uids;
        for (icalcomponent* event =
                 icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT);
             event;
             event = icalcomponent_get_next_component(calendar.get(), ICAL_VEVENT_COMPONENT)) {
            const icaltimetype start = icalcomponent_get_dtstart(event);
            const icaltimetype end = icalcomponent_get_dtend(event);
            const QString summary = QString::fromUtf8(icalcomponent_get_summary(event));
            if (!start.is_date || !end.is_date || dateOf(start) != expected ||
                dateOf(end) != expected.addDays(1) || summary != reference::day(expected).names)
                QFAIL(qPrintable(expected.toString(Qt::ISODate) + u": "_s + summary));
            uids.insert(icalcomponent_get_uid(event));
            const icalproperty* transparency =
                icalcomponent_get_first_property(event, ICAL_TRANSP_PROPERTY);
            QVERIFY(transparency &&
                    icalproperty_get_transp(transparency) == ICAL_TRANSP_TRANSPARENT);
            expected = expected.addDays(1);
        }
        QCOMPARE(expected, QDate(2101, 1, 1));
        QCOMPARE(uids.size(), QDate(1900, 1, 1).daysTo(QDate(2101, 1, 1)));
    }

    void eventFields()
    {
        const Calendar calendar(icalparser_parse_string(calendarOf(2004, 2004).constData()),
                                icalcomponent_free);
        icalcomponent* event =
            icalcomponent_get_first_component(calendar.get(), ICAL_VEVENT_COMPONENT);
        QCOMPARE(QString::fromUtf8(icalcomponent_get_summary(event)), u"ÚJéV, Fruzsina");
        const icaltimetype made = icalcomponent_get_dtstamp(event);
        QCOMPARE(QDateTime(dateOf(made), QTime(made.hour, made.minute, made.second), Qt::UTC),
                 stamp);
        const icalproperty* category =
            icalcomponent_get_first_property(event, ICAL_CATEGORIES_PROPERTY);
        QVERIFY(category);
        QCOMPARE(QString::fromUtf8(icalproperty_get_categories(category)), u"Névnap");
    }

    // A calendar application recognises a day it already holds by its UID.
    void aDayKeepsItsUidFromExportToExport()
    {
        const QByteArray first = calendarOf(2004, 2005);
        const QByteArray again = calendarOf(2005, 2005, stamp.addDays(40));
        const auto uids = [](const QByteArray& text) {
            QList<QByteArray> found;
            for (const QByteArray& line : physicalLines(text))
                if (line.startsWith("UID:"))
                    found << line;
            return found;
        };
        QCOMPARE(uids(first).mid(366), uids(again));
        QVERIFY(first != again);
    }

    void foldsLongLinesBetweenCharacters_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("75 octets stay whole") << QByteArray(75, 'a');
        QTest::newRow("76 octets fold") << QByteArray(76, 'a');
        QTest::newRow("two-octet letters, odd start") << "S" + u"ő"_s.repeated(100).toUtf8();
        QTest::newRow("two-octet letters, even start") << u"ő"_s.repeated(100).toUtf8();
        QTest::newRow("four-octet characters")
            << "SUMMARY:" + u"\U0001F337"_s.repeated(60).toUtf8();
        QTest::newRow("three lines and more") << "X:" + u"Hamvazószerda, "_s.repeated(20).toUtf8();
    }
    void foldsLongLinesBetweenCharacters()
    {
        QFETCH(QByteArray, line);
        const QList<QByteArray> parts = physicalLines(foldedLine(line));
        QByteArray unfolded;
        for (qsizetype i = 0; i < parts.size(); ++i) {
            const QByteArray& part = parts[i];
            QVERIFY2(part.size() <= 75, part.constData());
            QVERIFY(i == 0 || part.startsWith(' '));
            const QByteArray content = i == 0 ? part : part.sliced(1);
            QVERIFY2(isWholeUtf8(content), content.toHex().constData());
            unfolded += content;
        }
        QCOMPARE(unfolded, line);
        QCOMPARE(parts.size() == 1, line.size() <= 75);
    }
};

QTEST_GUILESS_MAIN(TestICalendar)
#include "tst_icalendar.moc"
