#include "contacts/thunderbird/thunderbirdbook.h"

#include "contacts/vcard.h"
#include "system/regularfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>
#include <fcntl.h>
#include <limits>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
// SQLite's primary result codes, as Qt passes them on.
enum SqliteResult {
    sqlitePermission = 3,
    sqliteBusy = 5,
    sqliteLocked = 6,
    sqliteIoError = 10,
    sqliteCorrupt = 11,
    sqliteCannotOpen = 14,
    sqliteAuthorization = 23,
    sqliteNotADatabase = 26,
};

QString sqliteProblem(const QSqlError& error)
{
    QString problem;
    switch (error.nativeErrorCode().toInt() & 0xff) {
    case sqliteBusy:
    case sqliteLocked:
        problem = u"egy másik program zárolja"_s;
        break;
    case sqliteNotADatabase:
        problem = u"nem SQLite-adatbázis"_s;
        break;
    case sqliteCorrupt:
        problem = u"sérült adatbázis"_s;
        break;
    case sqliteCannotOpen:
        problem = u"nem nyitható meg"_s;
        break;
    case sqliteIoError:
        problem = u"bemeneti/kimeneti hiba"_s;
        break;
    case sqlitePermission:
    case sqliteAuthorization:
        problem = u"nincs hozzá jogosultság"_s;
        break;
    default:
        problem = u"váratlan adatbázishiba"_s;
    }
    return problem + u" ("_s + error.databaseText() + u')';
}

// While Thunderbird runs, a -wal and its -shm lie beside the book: reading through their locks
// sees the rows not yet merged. Any other book is read as immutable, which creates no -wal or
// -shm in the profile (a -wal that a crash left without its -shm waits for Thunderbird). A
// -journal is a write under way in the older mode, whose locks keep out a half-written book.
QString databaseUri(const QString& file)
{
    const bool live =
        (QFileInfo::exists(file + u"-wal"_s) && QFileInfo::exists(file + u"-shm"_s)) ||
        QFileInfo::exists(file + u"-journal"_s);
    const QByteArray path =
        QFile::encodeName(QFileInfo(file).absoluteFilePath()).toPercentEncoding("/");
    return u"file://"_s + QString::fromLatin1(path) +
           (live ? u"?mode=ro"_s : u"?mode=ro&immutable=1"_s);
}

// The properties of one card that name its person, as the bytes they were written in: a book
// that an older Thunderbird or an import filled may hold other code pages than UTF-8.
struct Card
{
    QString id;
    bool hasVCard = false;
    QByteArray vCard;
    QByteArray firstName;
    QByteArray lastName;
    QByteArray displayName;
    QByteArray nickName;
};

void addCard(const Card& card, const QString& file, SourceReading& reading)
{
    if (!card.hasVCard) {
        // Written before Thunderbird 102, which keeps the whole card as a vCard.
        Contact contact;
        contact.uid = card.id;
        contact.formattedName = unlabelledText(card.displayName);
        contact.familyName = unlabelledText(card.lastName);
        if (const QString firstName = unlabelledText(card.firstName); !firstName.isEmpty())
            contact.givenNames.append(firstName);
        contact.hasName = !contact.familyName.isEmpty() || !contact.givenNames.isEmpty();
        if (const QString nickName = unlabelledText(card.nickName); !nickName.isEmpty())
            contact.nicknames.append(nickName);
        reading.contacts.append(contact);
        ++reading.cards;
        return;
    }
    SourceReading vCards;
    readVCards(card.vCard, vCards, QFile::encodeName(file));
    if (vCards.cards == 0) {
        ++reading.cards;
        ++reading.malformed;
        return;
    }
    for (Contact& contact : vCards.contacts) {
        if (contact.uid.isEmpty())
            contact.uid = card.id;
        reading.contacts.append(std::move(contact));
    }
    // A card's place is its place in the book.
    for (CardNote& note : vCards.notes) {
        note.card += reading.cards;
        reading.note(std::move(note));
    }
    reading.cards += vCards.cards;
    reading.malformed += vCards.malformed;
    reading.notPeople += vCards.notPeople;
}

QString readCards(const QSqlDatabase& database, const QString& file, SourceReading& reading)
{
    QSqlQuery query(database);
    query.setForwardOnly(true);
    // Sorting stays in memory, so that no temporary file holds contacts.
    if (!query.exec(u"PRAGMA temp_store = MEMORY"_s) ||
        !query.exec(
            u"SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = 'properties'"_s))
        return sqliteProblem(query.lastError());
    if (!query.next() || query.value(0).toInt() == 0)
        return u"nincs benne a címjegyzék táblája (properties)"_s;
    if (!query.exec(u"SELECT card, name, CAST(value AS BLOB) FROM properties ORDER BY card"_s))
        return sqliteProblem(query.lastError());

    Card card;
    bool hasCard = false;
    while (query.next()) {
        const QString id = query.value(0).toString();
        if (!hasCard || id != card.id) {
            if (hasCard)
                addCard(card, file, reading);
            card = Card();
            card.id = id;
            hasCard = true;
        }
        const QString name = query.value(1).toString();
        const QByteArray value = query.value(2).toByteArray();
        if (name == u"_vCard") {
            card.hasVCard = true;
            card.vCard = value;
        } else if (name == u"FirstName") {
            card.firstName = value;
        } else if (name == u"LastName") {
            card.lastName = value;
        } else if (name == u"DisplayName") {
            card.displayName = value;
        } else if (name == u"NickName") {
            card.nickName = value;
        }
    }
    if (query.lastError().isValid())
        return sqliteProblem(query.lastError());
    if (hasCard)
        addCard(card, file, reading);
    return {};
}

QString readDatabase(const QString& file, SourceReading& reading)
{
    static std::atomic<int> connections;
    const QString connection = u"zorvat-thunderbird-%1"_s.arg(++connections);
    QString problem;
    {
        QSqlDatabase database = QSqlDatabase::addDatabase(u"QSQLITE"_s, connection);
        database.setConnectOptions(
            u"QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=500"_s);
        database.setDatabaseName(databaseUri(file));
        problem = database.open() ? readCards(database, file, reading)
                                  : sqliteProblem(database.lastError());
        database.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return problem;
}
} // namespace

QString readAddressBook(const QString& file, SourceReading& reading)
{
    const auto unreadable = [&file](const QString& problem) {
        return u"Nem olvasható a Thunderbird-címjegyzék: „%1” – %2."_s.arg(file, problem);
    };
    // SQLite would wait for ever on a pipe: only a regular file goes on.
    FileRead opened;
    const int descriptor = openRegularFile(AT_FDCWD, QFile::encodeName(file).constData(),
                                           std::numeric_limits<off_t>::max(), opened);
    if (descriptor < 0)
        return unreadable(opened.regular ? opened.failure : u"ez nem közönséges fájl"_s);
    ::close(descriptor);
    if (!QSqlDatabase::isDriverAvailable(u"QSQLITE"_s))
        return unreadable(u"hiányzik a Qt SQLite-illesztője (libqt6sql6-sqlite)"_s);

    SourceReading book;
    if (const QString problem = readDatabase(file, book); !problem.isEmpty())
        return unreadable(problem);
    reading.contacts.append(book.contacts);
    reading.cards += book.cards;
    reading.malformed += book.malformed;
    reading.notPeople += book.notPeople;
    for (CardNote& note : book.notes)
        reading.note(std::move(note));
    reading.noteCount += book.noteCount - book.notes.size();
    return {};
}
