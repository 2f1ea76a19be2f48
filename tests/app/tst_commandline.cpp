#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

class CommandLine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answers_data();
    void answers();
    void withoutArgumentsTheWindowsStart();
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

void CommandLine::withoutArgumentsTheWindowsStart()
{
    QProcess zorvat;
    zorvat.start(QStringLiteral(ZORVAT_BINARY), {});
    QVERIFY(zorvat.waitForStarted());
    QVERIFY2(!zorvat.waitForFinished(1500), zorvat.readAllStandardError().constData());
    zorvat.kill();
    zorvat.waitForFinished();
}

QTEST_GUILESS_MAIN(CommandLine)
#include "tst_commandline.moc"
