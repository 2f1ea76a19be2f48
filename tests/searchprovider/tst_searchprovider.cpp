#include "support/privatebus.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QDir>
#include <QElapsedTimer>
#include <QLocale>
#include <QTest>

#include <csignal>
#include <memory>

using namespace Qt::StringLiterals;

namespace {
const QString busName = u"hu.zorvat.Zorvat.SearchProvider"_s;
const QString objectPath = u"/hu/zorvat/Zorvat/SearchProvider"_s;
const QString shell = u"org.gnome.Shell.SearchProvider2"_s;
const QString krunner = u"org.kde.krunner1"_s;

// org.kde.krunner1's match, read here as KRunner reads it.
struct Match
{
    QString id;
    QString text;
    QString icon;
    int type;
    double relevance;
    QVariantMap properties;
};
const QDBusArgument& operator>>(const QDBusArgument& argument, Match& match)
{
    argument.beginStructure();
    argument >> match.id >> match.text >> match.icon >> match.type >> match.relevance >>
        match.properties;
    argument.endStructure();
    return argument;
}
QDBusArgument& operator<<(QDBusArgument& argument, const Match& match)
{
    argument.beginStructure();
    argument << match.id << match.text << match.icon << match.type << match.relevance
             << match.properties;
    argument.endStructure();
    return argument;
}

struct Action
{
    QString id;
    QString text;
    QString icon;
};
const QDBusArgument& operator>>(const QDBusArgument& argument, Action& action)
{
    argument.beginStructure();
    argument >> action.id >> action.text >> action.icon;
    argument.endStructure();
    return argument;
}
QDBusArgument& operator<<(QDBusArgument& argument, const Action& action)
{
    argument.beginStructure();
    argument << action.id << action.text << action.icon;
    argument.endStructure();
    return argument;
}

void writeFile(const QString& path, const QByteArray& text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// Anna is celebrated on 26 July: the Shell's line for her, counted from today.
QString annaLine()
{
    const QDate today = QDate::currentDate();
    QDate next(today.year(), 7, 26);
    if (next < today)
        next = next.addYears(1);
    const qint64 days = today.daysTo(next);
    const QString distance = days == 0   ? u"ma"_s
                             : days == 1 ? u"holnap"_s
                                         : u"%1 nap múlva"_s.arg(days);
    return u"Anna — július 26., %1: %2"_s.arg(QLocale(QLocale::Hungarian).dayName(next.dayOfWeek()),
                                              distance);
}

// One desktop session: a bus that starts the search service from the package's service file, in
// an environment of the test's own: its configuration, and a stand-in for zorvat on PATH that
// writes down how it was started.
class Session
{
public:
    explicit Session(const QByteArray& configuration)
    {
        QDir folder(m_folder.path());
        folder.mkpath(u"bin"_s);
        folder.mkpath(u"config/zorvat"_s);
        writeFile(
            folder.filePath(u"people.vcf"_s),
            "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:kiss-anna\r\nFN:Kiss Anna\r\nN:Kiss;Anna;;;\r\n"
            "END:VCARD\r\n");
        writeFile(folder.filePath(u"config/zorvat/zorvat-nevnap.conf"_s),
                  "[contacts]\nsources=" + QFile::encodeName(folder.filePath(u"people.vcf"_s)) +
                      "\n" + configuration);
        const QString standIn = folder.filePath(u"bin/zorvat"_s);
        writeFile(standIn, "#!/bin/sh\necho \"$@\" >> \"$0.started\"\n");
        QFile::setPermissions(standIn, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_started = standIn + u".started"_s;

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"PATH"_s,
                           folder.filePath(u"bin"_s) + u':' + environment.value(u"PATH"_s));
        environment.insert(u"XDG_CONFIG_HOME"_s, folder.filePath(u"config"_s));
        m_bus = std::make_unique<PrivateBus>(QStringLiteral(ZORVAT_SEARCH_SERVICES), environment);
        m_name = u"session %1"_s.arg(quintptr(this));
        m_connection = QDBusConnection::connectToBus(m_bus->address(), m_name);
    }
    ~Session()
    {
        m_connection = QDBusConnection(QString());
        QDBusConnection::disconnectFromBus(m_name);
    }

    bool isConnected() const { return m_connection.isConnected(); }
    QDBusConnection& bus() { return m_connection; }

    QDBusMessage call(const QString& interface, const QString& method,
                      const QVariantList& arguments)
    {
        QDBusMessage message =
            QDBusMessage::createMethodCall(busName, objectPath, interface, method);
        message.setArguments(arguments);
        return m_connection.call(message, QDBus::Block, 10'000);
    }

    // What the stand-in was started with, a line each time.
    QStringList started() const
    {
        QFile file(m_started);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
    void forgetStarts() { QFile::remove(m_started); }

private:
    QTemporaryDir m_folder;
    QString m_started;
    std::unique_ptr<PrivateBus> m_bus;
    QString m_name;
    QDBusConnection m_connection{QString()};
};

QList<Match> matchesOf(const QDBusMessage& reply)
{
    QList<Match> matches;
    if (reply.type() == QDBusMessage::ReplyMessage && reply.signature() == u"a(sssida{sv})"_s)
        reply.arguments().constFirst().value<QDBusArgument>() >> matches;
    return matches;
}

QList<QVariantMap> metasOf(const QDBusMessage& reply)
{
    QList<QVariantMap> metas;
    if (reply.type() == QDBusMessage::ReplyMessage && reply.signature() == u"aa{sv}"_s)
        reply.arguments().constFirst().value<QDBusArgument>() >> metas;
    return metas;
}
} // namespace
Q_DECLARE_METATYPE(Match)
Q_DECLARE_METATYPE(Action)

class SearchProvider : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void startedByTheFirstQuestion();
    void shellResults_data();
    void shellResults();
    void krunnerMatches_data();
    void krunnerMatches();
    void krunnerSetUp();
    void opensTheCalendar_data();
    void opensTheCalendar();
    void contactsOnlyWhereAllowed_data();
    void contactsOnlyWhereAllowed();
    void hostileCalls();
    void endsWithTheSession();

private:
    std::unique_ptr<Session> m_session;
};

void SearchProvider::initTestCase()
{
    qDBusRegisterMetaType<Match>();
    qDBusRegisterMetaType<QList<Match>>();
    qDBusRegisterMetaType<Action>();
    qDBusRegisterMetaType<QList<Action>>();
    qDBusRegisterMetaType<QList<QVariantMap>>();
    m_session = std::make_unique<Session>(QByteArray());
    QVERIFY2(m_session->isConnected(), "dbus-daemon is missing: install dbus-daemon");
}

void SearchProvider::cleanupTestCase()
{
    m_session.reset();
}

void SearchProvider::startedByTheFirstQuestion()
{
    QVERIFY(!m_session->bus().interface()->isServiceRegistered(busName));
    const QDBusMessage reply =
        m_session->call(shell, u"GetInitialResultSet"_s, {QStringList{u"1999-12-24"_s}});
    QCOMPARE(reply.errorMessage(), QString());
    QCOMPARE(reply.arguments(), QVariantList{QStringList{u"date/1999-12-24"_s}});
    QVERIFY(m_session->bus().interface()->isServiceRegistered(busName));
}

// The Shell asks for the ids of a query's results, then for what to show of them.
void SearchProvider::shellResults_data()
{
    QTest::addColumn<QStringList>("terms");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("descriptions");

    QTest::newRow("a date") << QStringList{u"1999-12-24"_s}
                            << QStringList{u"1999. december 24., péntek: Ádám, Éva"_s}
                            << QStringList{QString()};
    QTest::newRow("a date in words")
        << QStringList{u"1999."_s, u"március"_s, u"15."_s}
        << QStringList{u"1999. március 15., hétfő: NEMZETI ÜNNEP, Kristóf"_s}
        << QStringList{QString()};
    QTest::newRow("a name") << QStringList{u"anna"_s}
                            << QStringList{annaLine(), u"Kiss Anna névnapja: július 26."_s}
                            << QStringList();
    QTest::newRow("a contact, in two terms")
        << QStringList{u"Kiss"_s, u"An"_s} << QStringList{u"Kiss Anna névnapja: július 26."_s}
        << QStringList();
    QTest::newRow("nothing") << QStringList{u"qqq"_s} << QStringList() << QStringList();
}

void SearchProvider::shellResults()
{
    QFETCH(QStringList, terms);
    QFETCH(QStringList, names);
    QFETCH(QStringList, descriptions);

    const QDBusMessage ids = m_session->call(shell, u"GetInitialResultSet"_s, {terms});
    QCOMPARE(ids.signature(), u"as"_s);
    const QStringList found = ids.arguments().constFirst().toStringList();
    // Typing on narrows the query: asked again with the previous results.
    const QDBusMessage narrowed =
        m_session->call(shell, u"GetSubsearchResultSet"_s, {found, terms});
    QCOMPARE(narrowed.arguments().constFirst().toStringList(), found);

    const QList<QVariantMap> metas = metasOf(m_session->call(shell, u"GetResultMetas"_s, {found}));
    QCOMPARE(metas.size(), found.size());
    QStringList shownNames;
    for (qsizetype place = 0; place < metas.size(); ++place) {
        const QVariantMap& meta = metas[place];
        QCOMPARE(meta.value(u"id"_s).toString(), found[place]);
        QCOMPARE(meta.value(u"gicon"_s).toString(), u"hu.zorvat.Zorvat"_s);
        QCOMPARE(meta.value(u"clipboardText"_s), meta.value(u"name"_s));
        if (place < descriptions.size())
            QCOMPARE(meta.value(u"description"_s).toString(), descriptions[place]);
        shownNames += meta.value(u"name"_s).toString();
    }
    QCOMPARE(shownNames.mid(0, names.size()), names);
}

void SearchProvider::krunnerMatches_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("types");

    QTest::newRow("a date") << u"1999-12-24"_s
                            << QStringList{u"1999. december 24., péntek: Ádám, Éva"_s}
                            << QList<int>{100};
    QTest::newRow("a name and its beginning")
        << u"Anna"_s
        << QStringList{annaLine(), u"Kiss Anna névnapja: július 26."_s,
                       u"Annamária — július 1., "_s}
        << QList<int>{100, 30, 30};
    QTest::newRow("a contact") << u"kiss an"_s << QStringList{u"Kiss Anna névnapja: július 26."_s}
                               << QList<int>{30};
}

void SearchProvider::krunnerMatches()
{
    QFETCH(QString, query);
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, types);

    const QList<Match> matches = matchesOf(m_session->call(krunner, u"Match"_s, {query}));
    QCOMPARE(matches.size(), texts.size());
    for (qsizetype place = 0; place < matches.size(); ++place) {
        const Match& match = matches[place];
        QVERIFY2(match.text.startsWith(texts[place]), qPrintable(match.text));
        QCOMPARE(match.type, types[place]);
        QCOMPARE(match.icon, u"hu.zorvat.Zorvat"_s);
        QCOMPARE(match.properties.value(u"category"_s).toString(), u"Névnapok"_s);
        if (place > 0)
            QVERIFY(match.relevance < matches[place - 1].relevance);
    }
}

void SearchProvider::krunnerSetUp()
{
    const QDBusMessage actions = m_session->call(krunner, u"Actions"_s, {});
    QCOMPARE(actions.signature(), u"a(sss)"_s);
    QCOMPARE(qdbus_cast<QList<Action>>(actions.arguments().constFirst()).size(), 0);
    const QDBusMessage config = m_session->call(krunner, u"Config"_s, {});
    QCOMPARE(config.signature(), u"a{sv}"_s);
    QCOMPARE(qdbus_cast<QVariantMap>(config.arguments().constFirst()).value(u"MinLetterCount"_s),
             QVariant(2));
    QCOMPARE(m_session->call(krunner, u"Teardown"_s, {}).type(), QDBusMessage::ReplyMessage);
}

// Activating a result starts zorvat on its day, which hands it to a running Zorvat if any.
void SearchProvider::opensTheCalendar_data()
{
    QTest::addColumn<QString>("interface");
    QTest::addColumn<QString>("method");
    QTest::addColumn<QVariantList>("arguments");
    QTest::addColumn<QString>("started");

    QTest::newRow("a Shell result")
        << shell << u"ActivateResult"_s
        << QVariantList{u"date/1999-12-24"_s, QStringList{u"12.24"_s}, 0u}
        << u"--calendar 1999-12-24"_s;
    QTest::newRow("the Shell's search in the program")
        << shell << u"LaunchSearch"_s << QVariantList{QStringList{u"1999-03-15"_s}, 0u}
        << u"--calendar 1999-03-15"_s;
    QTest::newRow("a KRunner match")
        << krunner << u"Run"_s << QVariantList{u"name/2027-07-26/Anna"_s, QString()}
        << u"--calendar 2027-07-26"_s;
    QTest::newRow("an id no search gives")
        << shell << u"ActivateResult"_s
        << QVariantList{u"date/1999-12-24; rm -rf ~"_s, QStringList(), 0u} << QString();
    QTest::newRow("a day after the calendar")
        << krunner << u"Run"_s << QVariantList{u"date/2101-01-01"_s, QString()} << QString();
}

void SearchProvider::opensTheCalendar()
{
    QFETCH(QString, interface);
    QFETCH(QString, method);
    QFETCH(QVariantList, arguments);
    QFETCH(QString, started);

    m_session->forgetStarts();
    const QDBusMessage reply = m_session->call(interface, method, arguments);
    QCOMPARE(reply.errorMessage(), QString());
    if (started.isEmpty()) {
        QTest::qWait(500);
        QCOMPARE(m_session->started(), QStringList());
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(m_session->started(), QStringList{started}, 5000);
    }
}

// The people show where sources are configured, unless the search may not show them.
void SearchProvider::contactsOnlyWhereAllowed_data()
{
    QTest::addColumn<QByteArray>("configuration");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("allowed") << QByteArray("[search]\ncontacts=true\n")
                             << QStringList{u"Kiss Anna névnapja: július 26."_s};
    QTest::newRow("kept out") << QByteArray("[search]\ncontacts=false\n") << QStringList();
    QTest::newRow("no sources") << QByteArray("[contacts]\nsources=\n") << QStringList();
}

void SearchProvider::contactsOnlyWhereAllowed()
{
    QFETCH(QByteArray, configuration);
    QFETCH(QStringList, texts);

    Session session(configuration);
    QStringList found;
    for (const Match& match : matchesOf(session.call(krunner, u"Match"_s, {u"Kiss An"_s})))
        found += match.text;
    QCOMPARE(found, texts);
    const QList<Match> tomorrow = matchesOf(session.call(krunner, u"Match"_s, {u"07.26"_s}));
    QCOMPARE(tomorrow.size(), 1);
    QCOMPARE(tomorrow.constFirst().properties.value(u"subtext"_s).toString(),
             texts.isEmpty() ? QString() : u"Ismerőseid: Kiss Anna"_s);
}

// Whatever another program on the bus sends is answered at once, and opens nothing.
void SearchProvider::hostileCalls()
{
    QStringList manyIds;
    for (int id = 0; id < 100'000; ++id)
        manyIds += u"name/2027-07-26/%1"_s.arg(id);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(metasOf(m_session->call(shell, u"GetResultMetas"_s, {manyIds})), QList<QVariantMap>());
    QCOMPARE(m_session->call(shell, u"GetInitialResultSet"_s, {manyIds}).arguments(),
             QVariantList{QStringList()});
    QCOMPARE(matchesOf(m_session->call(krunner, u"Match"_s, {QString(1'000'000, u'a')})).size(), 0);
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
    QCOMPARE(m_session->call(shell, u"GetResultMetas"_s, {u"not a list"_s}).type(),
             QDBusMessage::ErrorMessage);
    // Still there to answer.
    QCOMPARE(matchesOf(m_session->call(krunner, u"Match"_s, {u"1999-12-24"_s})).size(), 1);
}

void SearchProvider::endsWithTheSession()
{
    auto session = std::make_unique<Session>(QByteArray());
    QVERIFY(!matchesOf(session->call(krunner, u"Match"_s, {u"ma"_s})).isEmpty());
    const QDBusReply<uint> process = session->bus().interface()->servicePid(busName);
    QVERIFY(process.isValid());
    const QString status = u"/proc/%1/stat"_s.arg(process.value());
    session.reset();
    // Ended, or only waiting for its exit status to be collected.
    const auto ended = [&] {
        QFile file(status);
        return !file.open(QIODevice::ReadOnly) || file.readAll().contains(") Z ");
    };
    QTRY_VERIFY_WITH_TIMEOUT(ended(), 5000);
}

QTEST_GUILESS_MAIN(SearchProvider)
#include "tst_searchprovider.moc"
