#include "commandline.h"

#include "core/calendarrange.h"
#include "dates/datetexts.h"
#include "system/arguments.h"

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

const QCommandLineOption
    calendarOption(u"calendar"_s,
                   u"Megnyitja a naptárt a NAP napján (ÉÉÉÉ-HH-NN, %1 és %2 között); ha a Zorvat "
                   "már fut, abban."_s.arg(firstCalendarYear)
                       .arg(lastCalendarYear),
                   u"NAP"_s);

void describe(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        u"Magyar névnaptár: kinek van ma és holnap névnapja, melyik napon ünneplik egy név "
        "viselőit, és kiket ünnepelnek egy napon %1 és %2 között."_s.arg(firstCalendarYear)
            .arg(lastCalendarYear));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(calendarOption);
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

std::optional<QDate> calendarDayIn(const QStringList& arguments)
{
    QCommandLineParser parser;
    describe(parser);
    // What the parser does not know is refused later, once there is an application to say it.
    parser.parse(arguments);
    const QDate day = isoDay(parser.value(calendarOption));
    return isInCalendarRange(day) ? std::optional(day) : std::nullopt;
}

std::optional<QDate> handleCommandLine(QCoreApplication& app)
{
    QCommandLineParser parser;
    describe(parser);
    parser.process(app);

    const QStringList extra = parser.positionalArguments();
    if (!extra.isEmpty())
        refuse(u"Váratlan argumentum: „%1”."_s.arg(shownArgument(extra.first())));
    if (!parser.isSet(calendarOption))
        return std::nullopt;
    const QString text = parser.value(calendarOption);
    const QDate day = isoDay(text);
    if (!day.isValid())
        refuse(u"Nem érvényes dátum: „%1”; ÉÉÉÉ-HH-NN alakban kell megadni."_s.arg(
            shownArgument(text)));
    if (!isInCalendarRange(day))
        refuse(u"A nap (%1) kívül esik a naptáron: %2 és %3 közötti nap kell."_s.arg(
            day.toString(Qt::ISODate), firstCalendarDay().toString(Qt::ISODate),
            lastCalendarDay().toString(Qt::ISODate)));
    return day;
}
