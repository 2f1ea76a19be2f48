#include "contacts/vcardfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
constexpr qint64 limit = 64 * 1024 * 1024;

// A file of `size` bytes that takes no room on the disk.
bool makeSparseFile(const QString& path, qint64 size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && ftruncate(file.handle(), size) == 0;
}

QString refusal(const QString& path, const QString& reason)
{
    return u"Nem olvashatók a névjegyek innen: „"_s + path + u"” – "_s + reason + u'.';
}
} // namespace

class VCardFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void folder();
    void unreadableFile();
    void manyFilesInTheOrderOfTheirNames();
    void refusals_data();
    void refusals();

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QTemporaryDir m_dir;
};

// book/ as a synchronised address book with what must not be read around it.
void VCardFiles::initTestCase()
{
    QVERIFY(m_dir.isValid());
    const QDir data(QFINDTESTDATA("data"));
    QVERIFY(QDir(m_dir.path()).mkpath(u"book/sub/deeper"_s));
    QVERIFY(QDir(m_dir.path()).mkpath(u"elsewhere"_s));
    const std::pair<const char*, const char*> copies[] = {
        {"google-3.0.vcf", "book/google.vcf"},      {"apple-4.0.vcf", "book/sub/apple.VCF"},
        {"phone-2.1.vcf", "book/sub/deeper/x.vcf"}, {"phone-2.1.vcf", "book/.hidden.vcf"},
        {"phone-2.1.vcf", "book/half.vcf.tmp"},     {"phone-2.1.vcf", "book/notes.txt"},
        {"broken.vcf", "elsewhere/broken.vcf"},
    };
    for (const auto& [from, to] : copies)
        QVERIFY(QFile::copy(data.filePath(QLatin1StringView(from)), path(QLatin1StringView(to))));
    // Links out of the folder are not followed; those inside lead to what is read already.
    QVERIFY(QFile::link(path(u"elsewhere/broken.vcf"_s), path(u"book/linked.vcf"_s)));
    QVERIFY(QFile::link(u"."_s, path(u"book/loop"_s)));
    QVERIFY(QFile::link(u".."_s, path(u"book/up"_s)));
    QVERIFY(QFile::link(u"google.vcf"_s, path(u"book/same.vcf"_s)));
    QVERIFY(QFile::link(u"../google.vcf"_s, path(u"book/sub/back.vcf"_s)));
    QVERIFY(QFile::link(u"/dev/zero"_s, path(u"book/zero.vcf"_s)));
    QCOMPARE(mkfifo(QFile::encodeName(path(u"book/pipe.vcf"_s)).constData(), 0600), 0);
    QVERIFY(makeSparseFile(path(u"book/huge.vcf"_s), limit + 1));

    // A name that is not UTF-8, as an old Windows program may have written it.
    const QByteArray latin1Name = QFile::encodeName(path(u"book/"_s)) + "\xC9jjel.vcf";
    const int descriptor = open(latin1Name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    const QByteArray card = "BEGIN:VCARD\r\nFN:Éjjeli Bagoly\r\nEND:VCARD\r\n";
    QCOMPARE(write(descriptor, card.constData(), card.size()), card.size());
    QCOMPARE(close(descriptor), 0);
}

// QTemporaryDir cannot remove a name that is not UTF-8.
void VCardFiles::cleanupTestCase()
{
    unlink((QFile::encodeName(path(u"book/"_s)) + "\xC9jjel.vcf").constData());
}

void VCardFiles::folder()
{
    const SourceReading reading = readVCardSource(path(u"book"_s));
    QStringList names;
    for (const Contact& contact : reading.contacts)
        names += contact.formattedName;
    // google.vcf, sub/apple.VCF, \xC9jjel.vcf
    QCOMPARE(names, QStringList({u"Nagy Erzsébet"_s, u"Tóth László"_s, u"Példa Kft."_s,
                                 u"Kiss Anna Mária"_s,
                                 u"Szabó-Horváth Krisztina Zsófia Eleonóra, a Kodály Zoltán "
                                 "Vegyeskar vezetője"_s,
                                 QString(), u"Varga Gábor"_s, u"Éjjeli Bagoly"_s}));
    QCOMPARE(reading.cards, 8);
    QCOMPARE(reading.malformed, 0);
    // huge.vcf, linked.vcf, up, zero.vcf
    QCOMPARE(reading.problem,
             u"Nem minden névjegy olvasható innen: „%1” – 4 fájl vagy almappa kimaradt, például "
             "„huge.vcf”: a fájl nagyobb 64 MiB-nál."_s.arg(path(u"book"_s)));
    QCOMPARE(reading.source, path(u"book"_s));
}

// A file and a sub-folder beside readable ones that cannot be read are told.
void VCardFiles::unreadableFile()
{
    const QString folder = path(u"locked"_s);
    QVERIFY(QDir().mkpath(folder + u"/sub"_s));
    QVERIFY(QFile::copy(QFINDTESTDATA("data/google-3.0.vcf"), folder + u"/a.vcf"_s));
    QVERIFY(QFile::copy(QFINDTESTDATA("data/google-3.0.vcf"), folder + u"/b.vcf"_s));
    for (const QString& open : {m_dir.path(), folder})
        QVERIFY(chmod(QFile::encodeName(open).constData(), 0755) == 0);
    QVERIFY(QFile::setPermissions(folder + u"/b.vcf"_s, {}));
    QVERIFY(QFile::setPermissions(folder + u"/sub"_s, {}));
    const uid_t fileUser = setfsuid(65534); // the superuser reads anything, nobody does not
    const SourceReading reading = readVCardSource(folder);
    setfsuid(fileUser);
    QCOMPARE(reading.cards, 3);
    QCOMPARE(reading.problem, u"Nem minden névjegy olvasható innen: „%1” – 2 fájl vagy almappa "
                              "kimaradt, például „b.vcf”: Nincs hozzá jogosultság (Permission "
                              "denied)."_s.arg(folder));
}

// Enough files for a share of them on each core: what they hold comes together as one thread
// would have read it.
void VCardFiles::manyFilesInTheOrderOfTheirNames()
{
    QTemporaryDir folder;
    QStringList expected;
    for (int number = 0; number < 1200; ++number) {
        QFile file(folder.filePath(u"card-%1.vcf"_s.arg(number, 4, 10, QChar(u'0'))));
        QVERIFY(file.open(QIODevice::WriteOnly));
        // Every hundredth card has no end, and is skipped.
        const bool broken = number % 100 == 0;
        const QString name = u"Kiss %1"_s.arg(number);
        file.write(u"BEGIN:VCARD\r\nVERSION:3.0\r\nFN:%1\r\n%2"_s
                       .arg(name, broken ? QString() : u"END:VCARD\r\n"_s)
                       .toUtf8());
        if (!broken)
            expected += name;
    }
    const SourceReading reading = readVCardSource(folder.path());
    QCOMPARE(reading.problem, QString());
    QCOMPARE(reading.cards, 1200);
    QCOMPARE(reading.malformed, 12);
    QStringList names;
    for (const Contact& contact : reading.contacts)
        names += contact.formattedName;
    QCOMPARE(names, expected);
    QCOMPARE(reading.noteCount, 12);
    QStringList noted;
    for (const CardNote& note : reading.notes)
        noted += note.file;
    QCOMPARE(noted.constFirst(), u"card-0000.vcf"_s);
    QCOMPARE(noted.constLast(), u"card-1100.vcf"_s);
    QVERIFY(std::is_sorted(noted.cbegin(), noted.cend()));
}

void VCardFiles::refusals_data()
{
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("problem");

    const QString missing = path(u"missing.vcf"_s);
    const QString noSuchFile = u"Nincs ilyen fájl vagy mappa (No such file or directory)"_s;
    QTest::newRow("missing") << missing << refusal(missing, noSuchFile);
    QTest::newRow("a terminal escape in the path")
        << path(u"\x1B[2J.vcf"_s) << refusal(path(u"\\x1B[2J.vcf"_s), noSuchFile);
    const QString pipe = path(u"book/pipe.vcf"_s);
    QTest::newRow("pipe") << pipe << refusal(pipe, u"ez nem fájl és nem mappa, hanem cső (FIFO)"_s);
    QTest::newRow("device") << u"/dev/zero"_s
                            << refusal(u"/dev/zero"_s, u"ez nem fájl és nem mappa, hanem eszköz"_s);
    const QString huge = path(u"book/huge.vcf"_s);
    QTest::newRow("over 64 MiB") << huge << refusal(huge, u"a fájl nagyobb 64 MiB-nál"_s);
    const QString largest = path(u"largest.vcf"_s);
    QVERIFY(makeSparseFile(largest, limit));
    QTest::newRow("64 MiB, read") << largest << refusal(largest, u"nincs benne névjegy (vCard)"_s);

    const QString onlyHuge = path(u"onlyhuge"_s);
    QVERIFY(QDir().mkpath(onlyHuge));
    QVERIFY(makeSparseFile(onlyHuge + u"/huge.vcf"_s, limit + 1));
    QTest::newRow("folder of a file over 64 MiB")
        << onlyHuge
        << refusal(onlyHuge, u"egyik vCard-fájlja sem olvasható, például „huge.vcf”: a fájl "
                             "nagyobb 64 MiB-nál"_s);
    const QString empty = path(u"empty"_s);
    QVERIFY(QDir().mkpath(empty));
    QTest::newRow("empty folder")
        << empty << refusal(empty, u"sem benne, sem az almappáiban nincs névjegy (vCard)"_s);

    // Over the limit through a sub-folder: 100,001 entries, the sub-folder one of them.
    const QString crowded = path(u"crowded"_s);
    QVERIFY(QDir().mkpath(crowded + u"/sub"_s));
    for (int file = 1; file <= 100'000; ++file) {
        const QByteArray name = QFile::encodeName(crowded + (file % 2 ? u"/sub/"_s : u"/"_s)) +
                                QByteArray::number(file);
        const int descriptor = open(name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        QVERIFY(descriptor >= 0);
        close(descriptor);
    }
    QTest::newRow("folder over 100,000 entries")
        << crowded << refusal(crowded, u"több mint százezer fájl van benne és az almappáiban"_s);

    // The superuser reads anything.
    if (geteuid() != 0) {
        const QString locked = path(u"locked.vcf"_s);
        QVERIFY(QFile::copy(QFINDTESTDATA("data/google-3.0.vcf"), locked));
        QVERIFY(QFile::setPermissions(locked, {}));
        QTest::newRow("no permission")
            << locked << refusal(locked, u"Nincs hozzá jogosultság (Permission denied)"_s);
    }
}

void VCardFiles::refusals()
{
    QFETCH(QString, source);
    QFETCH(QString, problem);

    const SourceReading reading = readVCardSource(source);
    QCOMPARE(reading.problem, problem);
    QCOMPARE(reading.cards, 0);
}

QTEST_GUILESS_MAIN(VCardFiles)
#include "tst_vcardfiles.moc"
