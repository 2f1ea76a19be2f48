#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace Qt::StringLiterals;

namespace {
struct Finished
{
    int status;
    QString out;
    QString err;
};

Finished finish(QProcess& program)
{
    if (!program.waitForFinished(10'000) || program.exitStatus() != QProcess::NormalExit)
        return {-1, {}, QString::fromUtf8(program.readAllStandardError())};
    return {program.exitCode(), QString::fromUtf8(program.readAllStandardOutput()),
            QString::fromUtf8(program.readAllStandardError())};
}

Finished runProgram(const QStringList& arguments, const QString& outputFile = {})
{
    QProcess program;
    if (!outputFile.isEmpty())
        program.setStandardOutputFile(outputFile);
    program.start(QStringLiteral(ZORVAT_NEVNAP_BINARY), arguments);
    return finish(program);
}

// The program started by the shell, for what QProcess cannot give: argument bytes that are
// not UTF-8 ($(printf '\377')), or a closed standard output (>&-). "$0" is the program.
Finished runInShell(const QString& command)
{
    QProcess program;
    program.start(u"/bin/sh"_s, {u"-c"_s, command, QStringLiteral(ZORVAT_NEVNAP_BINARY)});
    return finish(program);
}

QByteArray contentsOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The names in a folder as the system has them, which QDir cannot list when they are not UTF-8.
QList<QByteArray> namesIn(const QString& folder)
{
    QList<QByteArray> names;
    if (DIR* entries = opendir(QFile::encodeName(folder).constData())) {
        while (const dirent* entry = readdir(entries))
            if (qstrcmp(entry->d_name, ".") != 0 && qstrcmp(entry->d_name, "..") != 0)
                names += entry->d_name;
        closedir(entries);
    }
    return names;
}

const QByteArray calendarStart = "BEGIN:VCALENDAR\r\n";
} // namespace

class NevnapProgram : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answers_data();
    void answers();
    void refusals_data();
    void refusals();
    void calendarFileThatCannotBeWritten_data();
    void calendarFileThatCannotBeWritten();
    void failuresInHungarian_data();
    void failuresInHungarian();
    void outputTargets_data();
    void outputTargets();
    void argumentsAsShown_data();
    void argumentsAsShown();
};

void NevnapProgram::answers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("output"); // contained in standard output

    QTest::newRow("a date") << QStringList{u"--date"_s, u"2026-12-24"_s} << u"Ádám, Éva\n"_s;
    QTest::newRow("--version") << QStringList{u"--version"_s}
                               << u"zorvat-nevnap " ZORVAT_VERSION "\n"_s;
    // Qt's translation has no text of its own for the help option.
    QTest::newRow("--help") << QStringList{u"--help"_s}
                            << u"-h, --help                       Megjeleníti ezt a súgót.\n"_s;
}

void NevnapProgram::answers()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, output);
    const Finished run = runProgram(arguments);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);
    QVERIFY2(run.out.contains(output), qPrintable(run.out));
}

void NevnapProgram::refusals_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("complaint");

    const QString notADate = u"Nem érvényes dátum: „%1”; ÉÉÉÉ-HH-NN alakban kell megadni."_s;
    const QString outside =
        u"A nap (%1) kívül esik a naptáron: 1900-01-01 és 2100-12-31 közötti nap kell."_s;
    QTest::newRow("month without zero")
        << QStringList{u"--date"_s, u"2026-1-01"_s} << notADate.arg(u"2026-1-01"_s);
    QTest::newRow("slashes") << QStringList{u"--date"_s, u"2026/12/24"_s}
                             << notADate.arg(u"2026/12/24"_s);
    QTest::newRow("30 February") << QStringList{u"--date"_s, u"2026-02-30"_s}
                                 << notADate.arg(u"2026-02-30"_s);
    QTest::newRow("before 1900") << QStringList{u"--date"_s, u"1899-12-31"_s}
                                 << outside.arg(u"1899-12-31"_s);
    QTest::newRow("after 2100 by --tomorrow")
        << QStringList{u"--date"_s, u"2100-12-31"_s, u"--tomorrow"_s}
        << outside.arg(u"2101-01-01"_s);
    QTest::newRow("unknown option")
        << QStringList{u"--bogus"_s} << u"Ismeretlen kapcsoló: „--bogus”."_s;
    QTest::newRow("argument") << QStringList{u"2026-12-24"_s}
                              << u"Váratlan argumentum: „2026-12-24”."_s;
    QTest::newRow("--desktop-calendar with a wrong word")
        << QStringList{u"--desktop-calendar"_s, u"be"_s}
        << u"A --desktop-calendar után on, off vagy refresh állhat, vagy semmi; ez nem: „be”."_s;
    QTest::newRow("--desktop-calendar with two words")
        << QStringList{u"--desktop-calendar"_s, u"on"_s, u"off"_s}
        << u"Váratlan argumentum: „off”."_s;
    QTest::newRow("on without --desktop-calendar")
        << QStringList{u"on"_s} << u"Váratlan argumentum: „on”."_s;
    QTest::newRow("--desktop-calendar with --no-contacts")
        << QStringList{u"--desktop-calendar"_s, u"on"_s, u"--no-contacts"_s}
        << u"Ezek a kapcsolók nem adhatók meg együtt: --desktop-calendar, --no-contacts."_s;
    QTest::newRow("blank search") << QStringList{u"--search"_s, u" \t\u00a0"_s}
                                  << u"A --search szövege üres."_s;
    QTest::newRow("two modes") << QStringList{u"--waybar"_s, u"--notify"_s}
                               << u"Ezek a kapcsolók nem adhatók meg együtt: --waybar, --notify."_s;
    QTest::newRow("--year without --search")
        << QStringList{u"--json"_s, u"--year"_s, u"2004"_s}
        << u"A --year csak a --search vagy a --name mellett adható meg."_s;
    const QString notAYear =
        u"Nem érvényes év: „%1”; 1900 és 2100 közötti év kell, négy számjeggyel."_s;
    for (const QString& year : {u"2101"_s, u" 2026"_s, u"+2026"_s, u"02026"_s, u"1899"_s})
        QTest::addRow("--year \"%s\"", qPrintable(year))
            << QStringList{u"--search"_s, u"Béla"_s, u"--year"_s, year} << notAYear.arg(year);
    QTest::newRow("--output without --ical")
        << QStringList{u"--output"_s, u"x.ics"_s}
        << u"Az --output csak az --ical vagy az --ical-contacts mellett adható meg."_s;
    QTest::newRow("--date with --ical")
        << QStringList{u"--ical"_s, u"2004"_s, u"--date"_s, u"2004-01-01"_s}
        << u"Ezek a kapcsolók nem adhatók meg együtt: --ical, --date."_s;
    for (const QString& range :
         {u"2005:2004"_s, u"1899"_s, u"2004:2005:2006"_s, u"+2026"_s, u"2026: 2027"_s})
        QTest::addRow("--ical %s", qPrintable(range))
            << QStringList{u"--ical"_s, range}
            << u"Nem érvényes évtartomány: „%1”; ELSŐ vagy ELSŐ:UTOLSÓ alakban, 1900 és 2100 "
               "közötti, négyjegyű évekkel kell megadni, az elsőt elöl."_s.arg(range);
}

// Nothing on standard output, so a status bar shows no half answer.
void NevnapProgram::refusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, complaint);
    const Finished run = runProgram(arguments);
    QCOMPARE(run.err, u"zorvat-nevnap: "_s + complaint + u'\n');
    QCOMPARE(run.status, 2);
    QCOMPARE(run.out, QString());
}

void NevnapProgram::calendarFileThatCannotBeWritten_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("folder that does not exist") << u"/nonexistent/névnapok.ics"_s;
    QTest::newRow("under /proc") << u"/proc/névnapok.ics"_s;
}

void NevnapProgram::calendarFileThatCannotBeWritten()
{
    QFETCH(QString, path);
    const Finished run = runProgram({u"--ical"_s, u"2004:2005"_s, u"--output"_s, path});
    QCOMPARE(run.status, 1);
    QCOMPARE(run.out, QString());
    QVERIFY2(
        run.err.startsWith(u"zorvat-nevnap: Nem sikerült megírni a naptárt ebbe a fájlba: „"_s +
                           path + u"” – "_s),
        qPrintable(run.err));
    QVERIFY(!QFileInfo::exists(path));
}

// The system's reasons in Hungarian, its own words only after them.
void NevnapProgram::failuresInHungarian_data()
{
    QTest::addColumn<QString>("command"); // for the shell, "$0" being the program
    QTest::addColumn<QString>("complaint");

    QTest::newRow("full disk, --output")
        << u"exec \"$0\" --ical 2004 --output /dev/full"_s
        << u"Nem sikerült megírni a naptárt ebbe a fájlba: „/dev/full” – Nincs több hely az "
           "eszközön (No space left on device)"_s;
    QTest::newRow("full disk, standard output")
        << u"exec \"$0\" --ical 2004 >/dev/full"_s
        << u"Nem sikerült a szabványos kimenetre írni a naptárt: Nincs több hely az eszközön "
           "(No space left on device)"_s;
    QTest::newRow("closed standard output")
        << u"exec \"$0\" --date 2026-12-24 >&-"_s
        << u"Nem sikerült a szabványos kimenetre írni: Nincs megnyitva (Bad file descriptor)"_s;
    QTest::newRow("a folder as --output")
        << u"exec \"$0\" --ical 2004 --output /"_s
        << u"Nem sikerült megírni a naptárt ebbe a fájlba: „/” – Ez egy mappa (Is a directory)"_s;
    QTest::newRow("a missing folder")
        << u"exec \"$0\" --ical 2004 --output /nonexistent/n.ics"_s
        << u"Nem sikerült megírni a naptárt ebbe a fájlba: „/nonexistent/n.ics” – Nincs ilyen "
           "fájl vagy mappa (No such file or directory)"_s;
}

void NevnapProgram::failuresInHungarian()
{
    QFETCH(QString, command);
    QFETCH(QString, complaint);
    const Finished run = runInShell(command);
    QCOMPARE(run.err, u"zorvat-nevnap: "_s + complaint + u'\n');
    QCOMPARE(run.status, 1);
}

// --output writes what the user named: a device or a pipe directly, never replaced; the target
// of a symbolic link; a file named in bytes that are not UTF-8; standard output for "-".
void NevnapProgram::outputTargets_data()
{
    QTest::addColumn<QString>("target");
    for (const char* target : {"device", "pipe", "symbolic link", "dangling symbolic link",
                               "name not UTF-8", "standard output", "replaced file's mode"})
        QTest::newRow(target) << QString::fromLatin1(target);
}

void NevnapProgram::outputTargets()
{
    QFETCH(QString, target);
    const QTemporaryDir folder;
    const QString path = folder.filePath(u"target"_s);
    const QString linked = folder.filePath(u"linked.ics"_s);
    const QByteArray pathBytes = QFile::encodeName(path);
    QString command = u"exec \"$0\" --ical 2004 --output "_s + path;
    if (target == u"device") {
        // A device of its own where the test may make one, so that a fault cannot harm /dev.
        if (mknod(pathBytes.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
            command.replace(path, u"/dev/null"_s);
    } else if (target == u"pipe") {
        QVERIFY(mkfifo(pathBytes.constData(), 0600) == 0);
        command.prepend(u"cat "_s + path + u" >"_s + linked + u" & "_s);
        command.replace(u"exec "_s, QString());
        command += u"; wait"_s;
    } else if (target.contains(u"symbolic link")) {
        if (!target.startsWith(u"dangling"))
            QVERIFY(QFile(linked).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(u"linked.ics"_s, path));
    } else if (target == u"name not UTF-8") {
        command = u"exec \"$0\" --ical 2004 --output \"$(printf '%1/bad\\377name.ics')\""_s.arg(
            folder.path());
    } else if (target == u"standard output") {
        command = u"exec \"$0\" --ical 2004 --output - >"_s + path;
    } else if (target == u"replaced file's mode") {
        QFile existing(path);
        QVERIFY(existing.open(QIODevice::WriteOnly));
        QVERIFY(existing.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    }

    const Finished run = runInShell(command);
    QCOMPARE(run.err, QString());
    QCOMPARE(run.status, 0);

    struct stat status;
    if (target == u"device") {
        QVERIFY(stat(command.contains(u"/dev/null") ? "/dev/null" : pathBytes.constData(),
                     &status) == 0);
        QVERIFY(S_ISCHR(status.st_mode));
    } else if (target == u"pipe") {
        QVERIFY(stat(pathBytes.constData(), &status) == 0 && S_ISFIFO(status.st_mode));
        QVERIFY(contentsOf(linked).startsWith(calendarStart));
    } else if (target.contains(u"symbolic link")) {
        QCOMPARE(QFileInfo(path).symLinkTarget(), linked);
        QVERIFY(contentsOf(linked).startsWith(calendarStart));
    } else if (target == u"name not UTF-8") {
        QCOMPARE(namesIn(folder.path()), QList<QByteArray>{"bad\377name.ics"});
        // QTemporaryDir cannot remove it.
        unlink((QFile::encodeName(folder.path()) + "/bad\377name.ics").constData());
    } else {
        QVERIFY(contentsOf(path).startsWith(calendarStart));
    }
    if (target == u"replaced file's mode") {
        QVERIFY(stat(pathBytes.constData(), &status) == 0);
        QCOMPARE(status.st_mode & 0777, 0640u);
        QCOMPARE(namesIn(folder.path()), QList<QByteArray>{"target"}); // no temporary file left
    }
}

// An argument is quoted with its dashes, control characters escaped, at most 80 characters.
void NevnapProgram::argumentsAsShown_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("complaint");

    QTest::newRow("terminal title sequence")
        << u"exec \"$0\" --date \"$(printf '\\033]0;pwned\\007')\""_s
        << u"Nem érvényes dátum: „\\x1B]0;pwned\\x07”; ÉÉÉÉ-HH-NN alakban kell megadni."_s;
    QTest::newRow("unknown option with an escape")
        << u"exec \"$0\" \"$(printf -- '--a\\033b')\""_s << u"Ismeretlen kapcsoló: „--a\\x1Bb”."_s;
    QTest::newRow("right-to-left override and a byte not UTF-8")
        << u"exec \"$0\" \"$(printf 'x\\342\\200\\256y\\377')\""_s
        << u"Váratlan argumentum: „x\\u202Ey\\xFF”."_s;
    QTest::newRow("100 KB argument")
        << u"exec \"$0\" --date \"$(head -c 100000 /dev/zero | tr '\\0' 7)\""_s
        << u"Nem érvényes dátum: „%1…”; ÉÉÉÉ-HH-NN alakban kell megadni."_s.arg(QString(80, u'7'));
}

void NevnapProgram::argumentsAsShown()
{
    QFETCH(QString, command);
    QFETCH(QString, complaint);
    const Finished run = runInShell(command);
    QCOMPARE(run.err, u"zorvat-nevnap: "_s + complaint + u'\n');
    QCOMPARE(run.status, 2);
}

QTEST_GUILESS_MAIN(NevnapProgram)
#include "tst_nevnapprogram.moc"
