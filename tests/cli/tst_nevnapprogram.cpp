#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {
struct Finished
{
    int status;
    QString out;
    QString err;
};

Finished runProgram(const QStringList& arguments, const QString& outputFile = {})
{
    QProcess program;
    if (!outputFile.isEmpty())
        program.setStandardOutputFile(outputFile);
    program.start(QStringLiteral(ZORVAT_NEVNAP_BINARY), arguments);
    if (!program.waitForFinished(10'000) || program.exitStatus() != QProcess::NormalExit)
        return {-1, {}, QString::fromUtf8(program.readAllStandardError())};
    return {program.exitCode(), QString::fromUtf8(program.readAllStandardOutput()),
            QString::fromUtf8(program.readAllStandardError())};
}
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
    void fullDisk();
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
                            << u"-h, --help              Megjeleníti ezt a súgót.\n"_s;
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
        << QStringList{u"--bogus"_s} << u"Ismeretlen kapcsoló: „bogus”."_s;
    QTest::newRow("argument") << QStringList{u"2026-12-24"_s}
                              << u"Váratlan argumentum: „2026-12-24”."_s;
    QTest::newRow("blank search") << QStringList{u"--search"_s, u" \t\u00a0"_s}
                                  << u"A --search szövege üres."_s;
    QTest::newRow("two modes") << QStringList{u"--waybar"_s, u"--notify"_s}
                               << u"Ezek a kapcsolók nem adhatók meg együtt: --waybar, --notify."_s;
    QTest::newRow("--year without --search") << QStringList{u"--json"_s, u"--year"_s, u"2004"_s}
                                             << u"A --year csak a --search mellett adható meg."_s;
    QTest::newRow("--year 2101") << QStringList{u"--search"_s, u"Béla"_s, u"--year"_s, u"2101"_s}
                                 << u"Nem érvényes év: „2101”; 1900 és 2100 közötti év kell."_s;
    QTest::newRow("--output without --ical") << QStringList{u"--output"_s, u"x.ics"_s}
                                             << u"Az --output csak az --ical mellett adható meg."_s;
    QTest::newRow("--date with --ical")
        << QStringList{u"--ical"_s, u"2004"_s, u"--date"_s, u"2004-01-01"_s}
        << u"Ezek a kapcsolók nem adhatók meg együtt: --ical, --date."_s;
    for (const QString& range : {u"2005:2004"_s, u"1899"_s, u"2004:2005:2006"_s})
        QTest::addRow("--ical %s", qPrintable(range))
            << QStringList{u"--ical"_s, range}
            << u"Nem érvényes évtartomány: „%1”; ELSŐ vagy ELSŐ:UTOLSÓ alakban, 1900 és 2100 "
               "közötti évekkel kell megadni, az elsőt elöl."_s.arg(range);
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
                           path + u"” ("_s),
        qPrintable(run.err));
    QVERIFY(!QFileInfo::exists(path));
}

void NevnapProgram::fullDisk()
{
    const Finished run = runProgram({u"--ical"_s, u"2004"_s}, u"/dev/full"_s);
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.startsWith(u"zorvat-nevnap: Nem sikerült kiírni a naptárt: "_s),
             qPrintable(run.err));
}

QTEST_GUILESS_MAIN(NevnapProgram)
#include "tst_nevnapprogram.moc"
