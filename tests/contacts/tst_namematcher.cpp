#include "contacts/configuration.h"
#include "contacts/namematcher.h"
#include "contacts/person.h"
#include "core/day.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {
const QHash<QString, QString> aliases = {{u"Kati"_s, u"Katalin"_s}, {u"Pisti"_s, u"István"_s}};

Contact card(const QString& fullName, const QStringList& given = {}, const QString& uid = {},
             const QStringList& nicknames = {})
{
    return {uid, fullName, !given.isEmpty(), {}, given, nicknames};
}
} // namespace

class NameMatching : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void wordsStandForNames_data();
    void wordsStandForNames();
    void namesOfACard_data();
    void namesOfACard();
    void whoCelebrates_data();
    void whoCelebrates();
    void configuration();
};

void NameMatching::wordsStandForNames_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("withoutAccents");

    QTest::newRow("as the table has it") << u"Péter"_s << u"Péter"_s << false;
    QTest::newRow("capitals") << u"PÉTER"_s << u"Péter"_s << false;
    QTest::newRow("decomposed accent") << u"Pe\u0301ter"_s << u"Péter"_s << false;
    QTest::newRow("old substitute õ") << u"Lõrinc"_s << u"Lőrinc"_s << false;
    QTest::newRow("old substitute û") << u"Gyõzõ"_s << u"Győző"_s << false;
    QTest::newRow("alias") << u"kati"_s << u"Katalin"_s << false;
    QTest::newRow("written without accents") << u"Peter"_s << u"Péter"_s << true;
    QTest::newRow("an accent the name lacks") << u"Ilóna"_s << QString() << false;
    QTest::newRow("a family name") << u"Kovács"_s << QString() << false;
    QTest::newRow("a feast's title") << u"Húsvét"_s << QString() << false;
    QTest::newRow("the leap day's place") << u"szökőnap"_s << QString() << false;
}

void NameMatching::wordsStandForNames()
{
    QFETCH(QString, word);
    QFETCH(QString, name);
    QFETCH(bool, withoutAccents);
    const NameMatcher::Match match = NameMatcher(aliases).match(word);
    QCOMPARE(match.name, name);
    QCOMPARE(match.withoutAccents, withoutAccents);
}

void NameMatching::namesOfACard_data()
{
    QTest::addColumn<Contact>("contact");
    QTest::addColumn<QStringList>("names");

    QTest::newRow("N, several values")
        << card(u"Kiss Anna"_s, {u"Anna"_s, u"Mária"_s}) << QStringList{u"Anna"_s, u"Mária"_s};
    QTest::newRow("N, spaces and hyphens")
        << card(u"x"_s, {u"Anna-Mária Ilona"_s}) << QStringList{u"Anna"_s, u"Mária"_s, u"Ilona"_s};
    QTest::newRow("N's family name never counts")
        << Contact{{}, u"Balázs Péter"_s, true, u"Balázs"_s, {u"Péter"_s}, {}}
        << QStringList{u"Péter"_s};
    QTest::newRow("FN in Hungarian order") << card(u"Balázs Péter"_s) << QStringList{u"Péter"_s};
    QTest::newRow("FN in western order") << card(u"Anna Kovács"_s) << QStringList{u"Anna"_s};
    QTest::newRow("FN with a title") << card(u"Dr. Kiss Anna"_s) << QStringList{u"Anna"_s};
    QTest::newRow("FN, a married name") << card(u"Kovács Jánosné"_s) << QStringList();
    QTest::newRow("FN, two given names")
        << card(u"ifj. Nagy Anna Mária"_s) << QStringList{u"Anna"_s, u"Mária"_s};
    QTest::newRow("nickname that is an alias")
        << card(u"Tóth Katalin"_s, {}, {}, {u"Kati"_s}) << QStringList{u"Katalin"_s};
    QTest::newRow("nickname that is no name")
        << card(u"Szabó Béla"_s, {}, {}, {u"Öcsi"_s}) << QStringList{u"Béla"_s};
    QTest::newRow("nickname beside N")
        << card(u"x"_s, {u"Pisti"_s}, {}, {u"Anna"_s}) << QStringList{u"István"_s, u"Anna"_s};
}

void NameMatching::namesOfACard()
{
    QFETCH(Contact, contact);
    QFETCH(QStringList, names);
    QStringList found;
    for (const NameMatcher::Match& match : NameMatcher(aliases).namesOf(contact))
        found += match.name;
    QCOMPARE(found, names);
}

void NameMatching::whoCelebrates_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QStringList>("celebrating"); // "name: the names celebrated"

    QTest::newRow("Mátyás in a common year")
        << QDate(2025, 2, 24) << QStringList{u"Kiss Mátyás: Mátyás"_s};
    QTest::newRow("Mátyás in a leap year")
        << QDate(2024, 2, 25) << QStringList{u"Kiss Mátyás: Mátyás"_s};
    QTest::newRow("nobody on the leap day's place") << QDate(2024, 2, 24) << QStringList();
    QTest::newRow("one of Mária's days, in Hungarian order")
        << QDate(2026, 9, 8) << QStringList{u"Czakó Mária: Mária"_s, u"Csató Anna Mária: Mária"_s};
    QTest::newRow("another of her days")
        << QDate(2026, 12, 8) << QStringList{u"Czakó Mária: Mária"_s, u"Csató Anna Mária: Mária"_s};
    QTest::newRow("two cards of one person, two names that day")
        << QDate(2026, 6, 29) << QStringList{u"Nagy Péter Pál: Péter, Pál"_s};
}

void NameMatching::whoCelebrates()
{
    QFETCH(QDate, date);
    QFETCH(QStringList, celebrating);
    const QList<Contact> contacts = {
        card(u"Kiss Mátyás"_s),
        card(u"Csató Anna Mária"_s, {u"Anna"_s, u"Mária"_s}),
        card(u"Czakó Mária"_s),
        card(u"Nagy Péter Pál"_s, {u"Péter"_s}, u"uid-1"_s),
        card(u"Nagy Péter (munka)"_s, {u"Pál"_s}, u"uid-1"_s),
    };
    QStringList found;
    PersonIndex people;
    people.add(contacts, NameMatcher(aliases));
    for (const Person& person : people.celebrating(dayOn(date)))
        found += person.name + u": "_s + person.names.join(u", "_s);
    QCOMPARE(found, celebrating);
}

void NameMatching::configuration()
{
    const Configuration read = parseConfiguration("\xEF\xBB\xBF# névjegyek\n"
                                                  "[contacts]\n"
                                                  "sources = ~/.contacts, thunderbird ,evolution\n"
                                                  "[Contacts]\n"
                                                  "Sources = ~/régi; 2019\\mappa, thunderbird\n"
                                                  "[aliases]\n"
                                                  "Kati=Katalin\n"
                                                  "Öcsi = Ödön\n"
                                                  "this line is no setting\n"
                                                  "[notification]\r\n"
                                                  "private=true\r\n");
    // The last sources= counts; a path keeps what QSettings would read as a comment or escape.
    QCOMPARE(read.sources, (QStringList{u"~/régi; 2019\\mappa"_s, u"thunderbird"_s}));
    QCOMPARE(read.aliases,
             (QHash<QString, QString>{{u"Kati"_s, u"Katalin"_s}, {u"Öcsi"_s, u"Ödön"_s}}));
    QVERIFY(read.privateNotification);
}

QTEST_GUILESS_MAIN(NameMatching)
#include "tst_namematcher.moc"
