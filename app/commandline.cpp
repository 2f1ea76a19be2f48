#include "commandline.h"

#include "core/calendarrange.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void refuse(const QString& message)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                 qPrintable(message));
    std::exit(EXIT_FAILURE);
}

} // namespace

bool asksOnlyForText(const QStringList& arguments)
{
    for (const QString& argument : arguments.sliced(qMin(1, arguments.size()))) {
        if (argument == "--"_L1)
            break;
        if (argument == "-h"_L1 || argument == "-?"_L1 || argument == "--help"_L1 ||
            argument == "--help-all"_L1 || argument == "-v"_L1 || argument == "--version"_L1)
            return true;
    }
    return false;
}

void handleCommandLine(QCoreApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Magyar névnaptár: kinek van ma és holnap névnapja, melyik napon ünneplik egy név "
        "viselőit, és kiket ünnepelnek egy napon %1 és %2 között."_s.arg(firstCalendarYear)
            .arg(lastCalendarYear));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);

    const QStringList extra = parser.positionalArguments();
    if (!extra.isEmpty())
        refuse(u"Váratlan argumentum: „%1”."_s.arg(extra.first()));
}
