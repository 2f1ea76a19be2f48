#include "contacts/sourcemodule.h"
#include "contacts/thunderbirdsource.h"
#include "system/systemerrors.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QPluginLoader>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
const QString schema = u"CREATE TABLE properties (card TEXT, name TEXT, value TEXT)"_s;

QString insert(const QString& card, const QString& name, const QString& value)
{
    return u"INSERT INTO properties VALUES ('%1', '%2', '%3')"_s.arg(card, name, value);
}

QString vCard(const QString& properties)
{
    return u"BEGIN:VCARD\r\nVERSION:4.0\r\n%1\r\nEND:VCARD\r\n"_s.arg(properties);
}

// Runs statements on a named connection, which stays open until closeSql(): a writer.
bool runSql(const QString& connection, const QString& file, const QStringList& statements)
{
    QSqlDatabase database = QSqlDatabase::contains(connection)
                                ? QSqlDatabase::database(connection)
                                : QSqlDatabase::addDatabase(u"QSQLITE"_s, connection);
    database.setDatabaseName(file);
    if (!database.isOpen() && !database.open())
        return false;
    QSqlQuery query(database);
    return std::all_of(statements.begin(), statements.end(),
                       [&](const QString& statement) { return query.exec(statement); });
}

void closeSql(const QString& connection)
{
    QSqlDatabase::database(connection, false).close();
    QSqlDatabase::removeDatabase(connection);
}

// Thunderbird's address books are read by a module, as zorvat-nevnap loads it.
SourceReading readThunderbird(const QString& source)
{
    QPluginLoader module(QStringLiteral(ZORVAT_THUNDERBIRD_MODULE));
    auto* reader = qobject_cast<ContactSourceModule*>(module.instance());
    if (!reader)
        qFatal("%s", qPrintable(module.errorString()));
    return reader->read(source);
}

bool writeBook(const QString& file, const QStringList& statements)
{
    const bool written = runSql(u"book"_s, file, QStringList{schema} + statements);
    closeSql(u"book"_s);
    return written;
}

// uid|formatted name|family name|given names|nicknames, a line per contact, sorted.
QStringList described(const QList<Contact>& contacts)
{
    QStringList lines;
    for (const Contact& c : contacts)
        lines.append(QStringList{c.uid, c.formattedName, c.familyName, c.givenNames.join(u','),
                                 c.nicknames.join(u',')}
                         .join(u'|'));
    lines.sort();
    return lines;
}

// Every file under a folder, with its bytes and modification time (-shm files by name only).
QMap<QString, QByteArray> snapshot(const QString& folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator entries(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        QFile file(entries.next());
        // A reader beside a running writer marks in the shared -shm where it reads.
        if (file.fileName().endsWith(u"-shm"_s) || !file.open(QIODevice::ReadOnly)) {
            files.insert(file.fileName(), {});
            continue;
        }
        files.insert(
            file.fileName(),
            QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256) +
                QByteArray::number(file.fileTime(QFile::FileModificationTime).toMSecsSinceEpoch()));
    }
    return files;
}

using Files = QMap<QString, QByteArray>; // path under a home folder: bytes

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

enum class Trouble {
    None,
    Pipe,
    ListPipe,
    NoPermission,
    Locked,
};
} // namespace

class ThunderbirdReading : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void cleanupTestCase();
    void readsTheDefaultProfile_data();
    void readsTheDefaultProfile();
    void writesNothing();
    void otherHomes_data();
    void otherHomes();
    void recognisesSources_data();
    void recognisesSources();

private:
    QByteArray m_originalHome = qgetenv("HOME");
    QTemporaryDir m_home;
    QString m_thunderbird = m_home.path() + u"/.thunderbird"_s;
    // Characters that SQLite's file: addresses would take apart.
    QString m_profile = m_thunderbird + u"/Profiles/x1y2z3 #%?.default-release"_s;
    QByteArray m_book; // Tóth Ilona's card alone
};

void ThunderbirdReading::initTestCase()
{
    qputenv("HOME", m_home.path().toUtf8());
    const QString other = m_thunderbird + u"/Profiles/a9b8c7.default"_s;
    QVERIFY(QDir().mkpath(m_profile) && QDir().mkpath(other) &&
            QDir().mkpath(m_home.filePath(u"vcards"_s)));
    QFile list(m_thunderbird + u"/profiles.ini"_s);
    QVERIFY(list.open(QIODevice::WriteOnly));
    // The installation's default wins over Default=1.
    list.write(
        "[Install4F96D1932A9F858E]\nDefault=Profiles/x1y2z3 #%?.default-release\nLocked=1\n\n"
        "[Profile1]\nName=default\nIsRelative=1\nPath=Profiles/a9b8c7.default\n"
        "Default=1\n\n[Profile0]\nName=default-release\nIsRelative=1\n"
        "Path=Profiles/x1y2z3 #%?.default-release\n\n[General]\nVersion=2\n");
    list.close();
    for (const QString& file :
         {m_profile + u"/prefs.js"_s, other + u"/prefs.js"_s, m_home.filePath(u"vcards/a.vcf"_s)})
        QVERIFY(QFile(file).open(QIODevice::WriteOnly));

    // Thunderbird runs: rows after the checkpoint are only in abook.sqlite-wal.
    QVERIFY(
        runSql(u"writer"_s, m_profile + u"/abook.sqlite"_s,
               {
                   u"PRAGMA journal_mode = WAL"_s,
                   u"PRAGMA wal_autocheckpoint = 0"_s,
                   schema,
                   insert(u"1a2b"_s, u"_vCard"_s, vCard(u"FN:Kovács Ágnes\r\nN:Kovács;Ágnes;;;"_s)),
                   insert(u"1a2b"_s, u"PrimaryEmail"_s, u"agnes@example.hu"_s),
                   insert(u"c3d4"_s, u"_vCard"_s,
                          vCard(u"UID:urn:uuid:5f1e\r\nFN:Szabó Éva\r\nN:Szabó;Éva;Mária;;\r\n"
                                "NICKNAME:Évi"_s)),
                   insert(u"c3d4"_s, u"FirstName"_s, u"Régi"_s), // stale: the vCard counts
                   insert(u"e5f6"_s, u"FirstName"_s, u"Béla"_s),
                   insert(u"e5f6"_s, u"LastName"_s, u"Nagy"_s),
                   insert(u"e5f6"_s, u"DisplayName"_s, u"Nagy Béla"_s),
                   insert(u"e5f6"_s, u"NickName"_s, u"Béci"_s),
                   insert(u"f7a8"_s, u"_vCard"_s, u"nem névjegy"_s),
                   // Bytes of windows-1250, as an import from Windows left them: Őri Ödön, and
                   // a vCard of Szűts Györgyi.
                   u"INSERT INTO properties VALUES ('t2', 'LastName', X'D57269')"_s,
                   u"INSERT INTO properties VALUES ('t2', 'FirstName', X'D664F66E')"_s,
                   u"INSERT INTO properties VALUES ('t3', '_vCard', X'%1')"_s.arg(
                       QString::fromLatin1(QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Sz\xFBts "
                                                      "Gy\xF6rgyi\r\nEND:VCARD\r\n")
                                               .toHex())),
                   u"PRAGMA wal_checkpoint(TRUNCATE)"_s,
                   insert(u"9b0c"_s, u"_vCard"_s, vCard(u"FN:Kiss Anna\r\nN:Kiss;Anna;;;"_s)),
               }));
    // A book that Thunderbird closed keeps its journal mode, but no -wal.
    QVERIFY(
        writeBook(m_profile + u"/abook-1.sqlite"_s,
                  {u"PRAGMA journal_mode = WAL"_s,
                   insert(u"t1"_s, u"_vCard"_s, vCard(u"FN:Tóth Ilona\r\nN:Tóth;Ilona;;;"_s))}));
    QFile book(m_profile + u"/abook-1.sqlite"_s);
    QVERIFY(book.open(QIODevice::ReadOnly));
    m_book = book.readAll();
    for (const QString& ignored : {m_profile + u"/history.sqlite"_s,
                                   m_profile + u"/abook-copy.sqlite"_s, other + u"/abook.sqlite"_s})
        QVERIFY(writeBook(ignored, {insert(u"x"_s, u"DisplayName"_s, u"Máshol Márta"_s)}));
}

void ThunderbirdReading::cleanup()
{
    qputenv("HOME", m_home.path().toUtf8());
    closeSql(u"locker"_s);
}

void ThunderbirdReading::cleanupTestCase()
{
    closeSql(u"writer"_s);
    qputenv("HOME", m_originalHome);
}

void ThunderbirdReading::readsTheDefaultProfile_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QStringList>("people");
    QTest::addColumn<int>("cards");

    const QStringList profile = {
        u"1a2b|Kovács Ágnes|Kovács|Ágnes|"_s,
        u"9b0c|Kiss Anna|Kiss|Anna|"_s,
        u"e5f6|Nagy Béla|Nagy|Béla|Béci"_s,
        u"t1|Tóth Ilona|Tóth|Ilona|"_s,
        u"t2||Őri|Ödön|"_s,
        u"t3|Szűts Györgyi|||"_s,
        u"urn:uuid:5f1e|Szabó Éva|Szabó|Éva,Mária|Évi"_s,
    };
    QTest::newRow("the word") << u"thunderbird"_s << profile << 8;
    QTest::newRow("Thunderbird's folder") << m_thunderbird << profile << 8;
    QTest::newRow("a profile") << m_profile << profile << 8;
    QTest::newRow("an address book")
        << m_profile + u"/abook-1.sqlite"_s << QStringList{u"t1|Tóth Ilona|Tóth|Ilona|"_s} << 1;
}

void ThunderbirdReading::readsTheDefaultProfile()
{
    QFETCH(QString, source);
    QFETCH(QStringList, people);
    QFETCH(int, cards);
    const SourceReading reading = readThunderbird(source);
    QCOMPARE(reading.problem, QString());
    QCOMPARE(reading.source, source);
    QCOMPARE(described(reading.contacts), people);
    QCOMPARE(reading.cards, cards);
    QCOMPARE(reading.malformed, cards - int(people.size())); // every other card names someone
}

void ThunderbirdReading::writesNothing()
{
    const QMap<QString, QByteArray> before = snapshot(m_home.path());
    QCOMPARE(readThunderbird(u"thunderbird"_s).cards, 8);
    QCOMPARE(readThunderbird(m_profile + u"/history.sqlite"_s).cards, 1);
    QCOMPARE(snapshot(m_home.path()), before);
    QVERIFY(before.contains(m_profile + u"/abook.sqlite-wal"_s));
    QVERIFY(!before.contains(m_profile + u"/abook-1.sqlite-wal"_s));
}

void ThunderbirdReading::otherHomes_data()
{
    QTest::addColumn<Files>("files");
    QTest::addColumn<Trouble>("trouble");
    QTest::addColumn<QString>("source"); // "thunderbird", or a path under the home folder
    QTest::addColumn<QString>("problem");
    QTest::addColumn<QStringList>("people");

    const QString flatpak = u".var/app/org.mozilla.Thunderbird/.thunderbird/"_s;
    const QString snap = u"snap/thunderbird/common/.thunderbird/"_s;
    const QStringList ilona = {u"t1|Tóth Ilona|Tóth|Ilona|"_s};
    const QByteArray notADatabase(4096, 'x');
    QTest::newRow("Flatpak") << Files{{flatpak + u"profiles.ini"_s,
                                       "[Profile0]\nIsRelative=1\nPath=p\nDefault=1\n"},
                                      {flatpak + u"p/abook.sqlite"_s, m_book}}
                             << Trouble::None << u"thunderbird"_s << QString() << ilona;
    QTest::newRow("Snap, an absolute path")
        << Files{{snap + u"profiles.ini"_s,
                  "[Profile0]\nIsRelative=0\nPath=%HOME%/" + snap.toUtf8() + "p\nDefault=1\n"},
                 {snap + u"p/abook.sqlite"_s, m_book}}
        << Trouble::None << u"thunderbird"_s << QString() << ilona;
    QTest::newRow("no Thunderbird")
        << Files() << Trouble::None << u"thunderbird"_s
        << u"Nem található Thunderbird: nincs profiles.ini"_s << QStringList();
    QTest::newRow("no default profile")
        << Files{{u".thunderbird/profiles.ini"_s, "[Profile0]\nPath=a\n[Profile1]\nPath=b\n"}}
        << Trouble::None << u"thunderbird"_s << u"nem nevez meg alapértelmezett profilt."_s
        << QStringList();
    QTest::newRow("a profile without books")
        << Files{{u"p/prefs.js"_s, {}}} << Trouble::None << u"p"_s
        << u"Nincs címjegyzék (abook.sqlite)"_s << QStringList();
    QTest::newRow("missing") << Files() << Trouble::None << u"abook.sqlite"_s
                             << systemErrorText(ENOENT) << QStringList();
    QTest::newRow("not a database")
        << Files{{u"abook.sqlite"_s, notADatabase}} << Trouble::None << u"abook.sqlite"_s
        << u" – nem SQLite-adatbázis (file is not a database)."_s << QStringList();
    QTest::newRow("without the table")
        << Files{{u"abook.sqlite"_s, {}}} << Trouble::None << u"abook.sqlite"_s
        << u" – nincs benne a címjegyzék táblája (properties)."_s << QStringList();
    QTest::newRow("one book of two")
        << Files{{u"p/abook.sqlite"_s, m_book}, {u"p/abook-1.sqlite"_s, notADatabase}}
        << Trouble::None << u"p"_s << u"abook-1.sqlite” – nem SQLite-adatbázis"_s << ilona;
    QTest::newRow("a pipe") << Files() << Trouble::Pipe << u"abook.sqlite"_s
                            << u"abook.sqlite” – ez nem közönséges fájl."_s << QStringList();
    QTest::newRow("a pipe for the list of profiles")
        << Files() << Trouble::ListPipe << u"thunderbird"_s
        << u"profiles.ini” – ez nem fájl és nem mappa, hanem cső (FIFO)."_s << QStringList();
    QTest::newRow("no permission") << Files{{u"abook.sqlite"_s, m_book}} << Trouble::NoPermission
                                   << u"abook.sqlite"_s << systemErrorText(EACCES) << QStringList();
    QTest::newRow("locked") << Files() << Trouble::Locked << u"abook.sqlite"_s
                            << u" – egy másik program zárolja (database is locked)."_s
                            << QStringList();
}

void ThunderbirdReading::otherHomes()
{
    QFETCH(Files, files);
    QFETCH(Trouble, trouble);
    QFETCH(QString, source);
    QFETCH(QString, problem);
    QFETCH(QStringList, people);
    QTemporaryDir home;
    QVERIFY(::chmod(QFile::encodeName(home.path()).constData(), 0755) == 0);
    for (const auto& [path, bytes] : files.asKeyValueRange()) {
        QVERIFY(QDir(home.path()).mkpath(QFileInfo(path).path()));
        QVERIFY(writeFile(home.filePath(path),
                          QByteArray(bytes).replace("%HOME%", home.path().toUtf8())));
    }
    const QByteArray book = QFile::encodeName(home.filePath(u"abook.sqlite"_s));
    uid_t fileUser = ::setfsuid(-1);
    switch (trouble) {
    case Trouble::None:
        break;
    case Trouble::Pipe:
        QVERIFY(::mkfifo(book.constData(), 0600) == 0);
        break;
    case Trouble::ListPipe:
        QVERIFY(QDir(home.path()).mkpath(u".thunderbird"_s));
        QVERIFY(::mkfifo(QFile::encodeName(home.filePath(u".thunderbird/profiles.ini"_s)), 0600) ==
                0);
        break;
    case Trouble::NoPermission:
        QVERIFY(::chmod(book.constData(), 0) == 0);
        fileUser = ::setfsuid(65534); // root reads any file, nobody does not
        break;
    case Trouble::Locked:
        QVERIFY(
            runSql(u"locker"_s, home.filePath(u"abook.sqlite"_s),
                   {u"PRAGMA journal_mode = WAL"_s, schema, u"PRAGMA locking_mode = EXCLUSIVE"_s,
                    insert(u"l1"_s, u"LastName"_s, u"Lakatos"_s)}));
        break;
    }
    qputenv("HOME", home.path().toUtf8());
    const SourceReading reading =
        readThunderbird(source == u"thunderbird" ? source : home.filePath(source));
    ::setfsuid(fileUser);
    QVERIFY2(problem.isEmpty() ? reading.problem.isEmpty() : reading.problem.contains(problem),
             qPrintable(reading.problem));
    QCOMPARE(described(reading.contacts), people);
}

void ThunderbirdReading::recognisesSources_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<bool>("thunderbird");

    QTest::newRow("the word") << u"thunderbird"_s << true;
    QTest::newRow("Thunderbird's folder") << m_thunderbird << true;
    QTest::newRow("a profile") << m_profile << true;
    QTest::newRow("an address book") << m_profile + u"/abook-1.sqlite"_s << true;
    QTest::newRow("collected addresses") << m_profile + u"/history.sqlite"_s << false;
    QTest::newRow("a copy of a book") << m_profile + u"/abook-copy.sqlite"_s << false;
    QTest::newRow("a folder of vCards") << m_home.filePath(u"vcards"_s) << false;
    QTest::newRow("missing") << m_profile + u"/abook-2.sqlite"_s << false;
}

void ThunderbirdReading::recognisesSources()
{
    QFETCH(QString, source);
    QFETCH(bool, thunderbird);
    QCOMPARE(isThunderbirdSource(source), thunderbird);
}

QTEST_GUILESS_MAIN(ThunderbirdReading)
#include "tst_thunderbird.moc"
