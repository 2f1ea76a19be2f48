#include "system/runninginstance.h"

#include <QFile>
#include <QLibraryInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

using namespace Qt::StringLiterals;

class CommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answers_data();
    void answers();
    void helpHasNoEnglishParserText_data();
    void helpHasNoEnglishParserText();
    void withoutArgumentsTheWindowsStart();
    void calendarDayForTheRunningZorvat();
    void withoutTheOptionAZorvatOfItsOwn();
    void calendarDayWhereNoneRuns();
    void withoutADisplay_data();
    void withoutADisplay();
};

void CommandLine::answers_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("errors");

    const QString help = u"Használat: "_s;
    const QString version = u"zorvat " ZORVAT_VERSION "\n"_s;
    QTest::newRow("--help") << QStringList{u"--help"_s} << 0 << help << QString();
    QTest::newRow("-h") << QStringList{u"-h"_s} << 0 << help << QString();
    QTest::newRow("--help-all") << QStringList{u"--help-all"_s} << 0 << u"-platform"_s << QString();
    QTest::newRow("--version") << QStringList{u"--version"_s} << 0 << version << QString();
    QTest::newRow("-v") << QStringList{u"-v"_s} << 0 << version << QString();
    QTest::newRow("unknown option") << QStringList{u"--bogus"_s} << 1 << QString()
                                    << u"zorvat: Ismeretlen kapcsoló: „bogus”."_s;
    QTest::newRow("unknown option beside help")
        << QStringList{u"-x"_s, u"--help"_s} << 1 << QString() << u"Ismeretlen kapcsoló: „x”."_s;
    QTest::newRow("argument") << QStringList{u"2024.05.01."_s} << 1 << QString()
                              << u"zorvat: Váratlan argumentum: „2024.05.01.”."_s;
    QTest::newRow("value for a flag") << QStringList{u"--version=2"_s} << 1 << QString()
                                      << u"Váratlan érték ez után: „--version”."_s;
    QTest::newRow("--help names --calendar")
        << QStringList{u"--help"_s} << 0 << u"--calendar <NAP>"_s << QString();
    QTest::newRow("--calendar, no such day")
        << QStringList{u"--calendar"_s, u"2026-02-30"_s} << 1 << QString()
        << u"zorvat: Nem érvényes dátum: „2026-02-30”; ÉÉÉÉ-HH-NN alakban kell megadni."_s;
    QTest::newRow("--calendar, not as ISO writes it")
        << QStringList{u"--calendar=2026.07.26."_s} << 1 << QString()
        << u"Nem érvényes dátum: „2026.07.26.”"_s;
    QTest::newRow("--calendar, after the calendar")
        << QStringList{u"--calendar"_s, u"2101-01-01"_s} << 1 << QString()
        << u"zorvat: A nap (2101-01-01) kívül esik a naptáron: 1900-01-01 és 2100-12-31 közötti "
           "nap kell."_s;
    QTest::newRow("--calendar without a day")
        << QStringList{u"--calendar"_s} << 1 << QString() << u"„--calendar”"_s;
}

void CommandLine::answers()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(QString, errors);

    QProcess zorvat;
    zorvat.start(QStringLiteral(ZORVAT_BINARY), arguments);
    QVERIFY(zorvat.waitForFinished(10'000));
    QCOMPARE(zorvat.exitStatus(), QProcess::NormalExit);
    QCOMPARE(zorvat.exitCode(), exitCode);
    const QString printed = QString::fromUtf8(zorvat.readAllStandardOutput());
    const QString complained = QString::fromUtf8(zorvat.readAllStandardError());
    if (output.isEmpty())
        QCOMPARE(printed, QString());
    else
        QVERIFY2(printed.contains(output), qPrintable(printed));
    if (!errors.isEmpty())
        QVERIFY2(complained.contains(errors), qPrintable(complained));
}

// Qt's texts for its command-line parser; where Qt's Hungarian translation has one, the help
// shows it, and where it has none, the program's own.
void CommandLine::helpHasNoEnglishParserText_data()
{
    QTest::addColumn<QString>("english");
    for (const char* text :
         {"Usage: %1", "[options]", "Options:", "Displays version information.",
          "Displays help on commandline options.", "Displays help including Qt specific options."})
        QTest::newRow(text) << QString::fromLatin1(text);
}

void CommandLine::helpHasNoEnglishParserText()
{
    QFETCH(QString, english);
    QTranslator qt;
    QVERIFY2(qt.load(u"qtbase_hu"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)),
             "Qt's Hungarian translation is missing: install qt6-translations-l10n");
    QString hungarian = qt.translate("QCommandLineParser", english.toLatin1().constData());

    QProcess zorvat;
    zorvat.start(QStringLiteral(ZORVAT_BINARY), {u"--help-all"_s});
    QVERIFY(zorvat.waitForFinished(10'000));
    // Long descriptions are wrapped over several lines.
    const QString printed = QString::fromUtf8(zorvat.readAllStandardOutput()).simplified();
    const QString program = QStringLiteral(ZORVAT_BINARY);
    QVERIFY2(!printed.contains(english.replace("%1"_L1, program)), qPrintable(printed));
    if (!hungarian.isEmpty())
        QVERIFY2(printed.contains(hungarian.replace("%1"_L1, program)), qPrintable(printed));
}

void CommandLine::withoutArgumentsTheWindowsStart()
{
    QProcess zorvat;
    zorvat.start(QStringLiteral(ZORVAT_BINARY), {});
    QVERIFY(zorvat.waitForStarted());
    QVERIFY2(!zorvat.waitForFinished(1500), zorvat.readAllStandardError().constData());
    zorvat.kill();
    zorvat.waitForFinished();
}

// Asked for a day while a Zorvat runs, the start hands the day to it and ends, without a window.
void CommandLine::calendarDayForTheRunningZorvat()
{
    RunningInstance running(u"hu.zorvat.Zorvat"_s);
    QVERIFY(running.listen());
    QSignalSpy asked(&running, &RunningInstance::calendarRequested);
    QProcess zorvat;
    QSignalSpy finished(&zorvat, &QProcess::finished);
    zorvat.start(QStringLiteral(ZORVAT_BINARY), {u"--calendar"_s, u"2026-07-26"_s});
    QVERIFY(finished.wait(10'000));
    QCOMPARE(zorvat.readAllStandardError(), QByteArray());
    QCOMPARE(zorvat.exitCode(), 0);
    QCOMPARE(asked.count(), 1);
    QCOMPARE(asked.first().first().toDate(), QDate(2026, 7, 26));
}

void CommandLine::withoutTheOptionAZorvatOfItsOwn()
{
    RunningInstance running(u"hu.zorvat.Zorvat"_s);
    QVERIFY(running.listen());
    QSignalSpy asked(&running, &RunningInstance::calendarRequested);
    QProcess zorvat;
    zorvat.start(QStringLiteral(ZORVAT_BINARY), {});
    QVERIFY(zorvat.waitForStarted());
    QVERIFY2(!zorvat.waitForFinished(1500), zorvat.readAllStandardError().constData());
    zorvat.kill();
    zorvat.waitForFinished();
    QCOMPARE(asked.count(), 0);
}

// Where no Zorvat runs, the start is the one that later starts find once it is on the screen.
void CommandLine::calendarDayWhereNoneRuns()
{
    QProcess zorvat;
    zorvat.start(QStringLiteral(ZORVAT_BINARY), {u"--calendar"_s, u"2026-07-26"_s});
    QVERIFY(zorvat.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(handToRunningInstance(u"hu.zorvat.Zorvat"_s, QDate(2027, 3, 15)),
                             10'000);
    QCOMPARE(zorvat.state(), QProcess::Running);
    zorvat.terminate();
    QVERIFY(zorvat.waitForFinished());
}

void CommandLine::withoutADisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("platform"); // Qt's default when null
    QTest::addColumn<QString>("display");  // none when null
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("errors"); // the end of stderr, unless empty

    const QString refusal =
        u"zorvat: grafikus asztali környezet kell hozzá, de nem nyitható meg kijelző.\n"_s;
    // xvfb-run -a counts up from :99, so nothing answers on :97.
    const QString refusing = u":97"_s;
    QTest::newRow("no display")
        << QStringList() << QString() << QString() << 1
        << refusal + u"zorvat: a libqt6gui6 csomag „xcb” Qt-platformbővítménye nem indult el "
                     "(could not connect to display).\n"_s;
    QTest::newRow("display that refuses")
        << QStringList() << QString() << refusing << 1
        << refusal + u"zorvat: a libqt6gui6 csomag „xcb” Qt-platformbővítménye nem indult el "
                     "(could not connect to display :97).\n"_s;
    // Whether qt6-wayland is installed or not, the message names it.
    const bool wayland = QFile::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                                       u"/platforms/libqwayland-generic.so"_s);
    const QString waylandLine =
        wayland ? u"zorvat: a qt6-wayland csomag „wayland” Qt-platformbővítménye nem indult el "
                  "(Failed to create wl_display (No such file or directory)).\n"_s
                : u"zorvat: nincs telepítve a Qt „wayland” platformbővítménye, ezt a qt6-wayland "
                  "csomag hozza (Could not find the Qt platform plugin \"wayland\" in \"\").\n"_s;
    QTest::newRow("Wayland, no compositor")
        << QStringList() << u"wayland"_s << QString() << 1 << refusal + waylandLine;
    QTest::newRow("Wayland, then X11")
        << QStringList() << u"wayland;xcb"_s << refusing << 1
        << refusal + waylandLine +
               u"zorvat: a libqt6gui6 csomag „xcb” Qt-platformbővítménye nem indult el "
               "(could not connect to display :97).\n"_s;
    QTest::newRow("no such plugin")
        << QStringList() << u"nosuch"_s << QString() << 1
        << refusal + u"zorvat: nincs telepítve a Qt „nosuch” platformbővítménye (Could not find "
                     "the Qt platform plugin \"nosuch\" in \"\").\n"_s;
    QTest::newRow("--help, no display")
        << QStringList{u"--help"_s} << QString() << QString() << 0 << QString();
    QTest::newRow("--version, display that refuses")
        << QStringList{u"--version"_s} << QString() << refusing << 0 << QString();
}

void CommandLine::withoutADisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, platform);
    QFETCH(QString, display);
    QFETCH(int, exitCode);
    QFETCH(QString, errors);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& name :
         {u"QT_QPA_PLATFORM"_s, u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"XDG_SESSION_TYPE"_s})
        environment.remove(name);
    if (!platform.isNull())
        environment.insert(u"QT_QPA_PLATFORM"_s, platform);
    if (!display.isNull())
        environment.insert(u"DISPLAY"_s, display);
    // No compositor answers in an empty runtime folder.
    const QTemporaryDir runtime;
    environment.insert(u"XDG_RUNTIME_DIR"_s, runtime.path());
    QProcess zorvat;
    zorvat.setProcessEnvironment(environment);
    zorvat.start(QStringLiteral(ZORVAT_BINARY), arguments);
    QVERIFY(zorvat.waitForFinished(10'000));
    const QString complained = QString::fromUtf8(zorvat.readAllStandardError());
    QVERIFY2(zorvat.exitStatus() == QProcess::NormalExit, qPrintable(complained));
    QCOMPARE(zorvat.exitCode(), exitCode);
    if (!errors.isEmpty())
        QCOMPARE(complained.right(errors.size()), errors);
}

QTEST_GUILESS_MAIN(CommandLine)
#include "tst_commandline.moc"
