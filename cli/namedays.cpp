#include "cli/namedays.h"

#include "cli/arguments.h"
#include "cli/notification.h"
#include "cli/outputs.h"
#include "core/calendarrange.h"
#include "core/icalendar.h"
#include "core/namesearch.h"
#include "core/outputfile.h"
#include "dates/clock.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRegularExpression>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr int failed = 1;
constexpr int refused = 2;

QString isoDate(const QDate& date)
{
    return date.toString(Qt::ISODate);
}

// "1900..2100" in the help texts.
QString calendarYears()
{
    return u"%1..%2"_s.arg(firstCalendarYear).arg(lastCalendarYear);
}

struct Options
{
    QCommandLineOption date{
        u"date"_s,
        u"Ennek a napnak a névnapjai (%1 és %2 között), a mai nap helyett."_s.arg(
            isoDate(firstCalendarDay()), isoDate(lastCalendarDay())),
        u"ÉÉÉÉ-HH-NN"_s};
    QCommandLineOption tomorrow{u"tomorrow"_s,
                                u"A következő nap névnapjai (a mai vagy a --date napja után)."_s};
    QCommandLineOption json{u"json"_s, u"Egy JSON-objektum a napról és a következő napról."_s};
    QCommandLineOption waybar{u"waybar"_s,
                              u"Egy JSON-sor a waybar egyéni moduljának (return-type: json)."_s};
    QCommandLineOption search{u"search"_s,
                              u"Az év napjai, amelyeknek a bejegyzésében benne van a szöveg, "
                              "ahogy a névkeresés találja: a kis- és nagybetű mindegy, az "
                              "ékezet nem."_s,
                              u"SZÖVEG"_s};
    QCommandLineOption year{
        u"year"_s, u"A --search éve (%1), az idei helyett."_s.arg(calendarYears()), u"ÉÉÉÉ"_s};
    QCommandLineOption ical{u"ical"_s,
                            u"Az évek névnapjai iCalendar-naptárként (%1)."_s.arg(calendarYears()),
                            u"ELSŐ[:UTOLSÓ]"_s};
    QCommandLineOption output{u"output"_s,
                              u"Az --ical naptára ebbe a fájlba kerül: egészben vagy sehogy "
                              "(- a szabványos kimenet)."_s,
                              u"FÁJL"_s};
    QCommandLineOption notify{u"notify"_s, u"Asztali értesítés a nap névnapjairól."_s};

    QList<const QCommandLineOption*> modes() const
    {
        return {&json, &waybar, &search, &ical, &notify};
    }
};

QString optionName(const QCommandLineOption& option)
{
    return u"--"_s + option.names().constFirst();
}

void complain(QIODevice& err, const QString& message)
{
    err.write((QCoreApplication::applicationName() + u": "_s + message + u'\n').toUtf8());
}

int refuse(QIODevice& err, const QString& message)
{
    complain(err, message);
    return refused;
}

int fail(QIODevice& err, const QString& message)
{
    complain(err, message);
    return failed;
}

int print(QIODevice& out, QIODevice& err, const QByteArray& text)
{
    if (out.write(text) == text.size())
        return 0;
    return fail(err, u"Nem sikerült a szabványos kimenetre írni: %1"_s.arg(out.errorString()));
}

// A day outside the calendar is refused alike in every mode.
std::optional<QDate> inCalendar(const QDate& day, QIODevice& err)
{
    if (isInCalendarRange(day))
        return day;
    refuse(err, u"A nap (%1) kívül esik a naptáron: %2 és %3 közötti nap kell."_s.arg(
                    isoDate(day), isoDate(firstCalendarDay()), isoDate(lastCalendarDay())));
    return std::nullopt;
}

// A year written with four digits, inside the calendar.
std::optional<int> yearIn(const QString& text)
{
    static const QRegularExpression fourDigits(u"^[0-9]{4}$"_s);
    if (!fourDigits.match(text).hasMatch())
        return std::nullopt;
    const int year = text.toInt();
    if (year < firstCalendarYear || year > lastCalendarYear)
        return std::nullopt;
    return year;
}

// The day of --date or today, moved on by --tomorrow; empty after a complaint.
std::optional<QDate> chosenDay(const QCommandLineParser& parser, const Options& options,
                               QIODevice& err)
{
    QDate day = today();
    if (parser.isSet(options.date)) {
        const QString text = parser.value(options.date);
        day = QDate::fromString(text, Qt::ISODate);
        // fromString also takes other separators and anything after the day.
        if (!day.isValid() || isoDate(day) != text) {
            refuse(err, u"Nem érvényes dátum: „%1”; ÉÉÉÉ-HH-NN alakban kell megadni."_s.arg(
                            shownArgument(text)));
            return std::nullopt;
        }
    }
    if (parser.isSet(options.tomorrow))
        day = day.addDays(1);
    return inCalendar(day, err);
}

int searchYear(const QCommandLineParser& parser, const Options& options, QIODevice& out,
               QIODevice& err)
{
    const QString query = searchQuery(parser.value(options.search));
    if (query.isEmpty())
        return refuse(err, u"A --search szövege üres."_s);
    int year = 0;
    if (parser.isSet(options.year)) {
        const std::optional<int> given = yearIn(parser.value(options.year));
        if (!given)
            return refuse(err, u"Nem érvényes év: „%1”; %2 és %3 közötti év kell, négy "
                               "számjeggyel."_s.arg(shownArgument(parser.value(options.year)))
                                   .arg(firstCalendarYear)
                                   .arg(lastCalendarYear));
        year = *given;
    } else if (const std::optional<QDate> day = inCalendar(today(), err)) {
        year = day->year();
    } else {
        return refused;
    }
    return print(out, err, searchLines(year, query));
}

int writeCalendar(const QCommandLineParser& parser, const Options& options, QIODevice& out,
                  QIODevice& err)
{
    const QString range = parser.value(options.ical);
    const QStringList parts = range.split(u':');
    const std::optional<int> first = yearIn(parts.constFirst());
    const std::optional<int> last = parts.size() == 2 ? yearIn(parts.constLast()) : first;
    if (parts.size() > 2 || !first || !last || *first > *last)
        return refuse(err, u"Nem érvényes évtartomány: „%1”; ELSŐ vagy ELSŐ:UTOLSÓ alakban, "
                           "%2 és %3 közötti, négyjegyű évekkel kell megadni, az elsőt "
                           "elöl."_s.arg(shownArgument(range))
                               .arg(firstCalendarYear)
                               .arg(lastCalendarYear));

    const QString path = parser.value(options.output);
    if (path.isEmpty() || path == u"-"_s) {
        if (writeNameDayCalendar(out, *first, *last, now()))
            return 0;
        return fail(err, u"Nem sikerült a szabványos kimenetre írni a naptárt: %1"_s.arg(
                             out.errorString()));
    }
    OutputFile file(argumentBytes(path));
    if (file.open() && writeNameDayCalendar(file, *first, *last, now()) && file.commit())
        return 0;
    return fail(err, u"Nem sikerült megírni a naptárt ebbe a fájlba: „%1” – %2"_s.arg(
                         shownArgument(path), file.errorString()));
}

// Whether the options fit together; complains when they do not.
bool fitTogether(const QCommandLineParser& parser, const Options& options, QIODevice& err)
{
    QStringList clashing;
    const QCommandLineOption* mode = nullptr;
    for (const QCommandLineOption* candidate : options.modes())
        if (parser.isSet(*candidate)) {
            clashing += optionName(*candidate);
            mode = candidate;
        }
    // The day options choose the day of a mode that shows one day.
    if (mode == &options.search || mode == &options.ical)
        for (const QCommandLineOption* dayOption : {&options.date, &options.tomorrow})
            if (parser.isSet(*dayOption))
                clashing += optionName(*dayOption);
    if (clashing.size() > 1) {
        refuse(err, u"Ezek a kapcsolók nem adhatók meg együtt: %1."_s.arg(clashing.join(u", ")));
        return false;
    }
    if (parser.isSet(options.year) && mode != &options.search) {
        refuse(err, u"A --year csak a --search mellett adható meg."_s);
        return false;
    }
    if (parser.isSet(options.output) && mode != &options.ical) {
        refuse(err, u"Az --output csak az --ical mellett adható meg."_s);
        return false;
    }
    return true;
}

// Qt's own text quotes an unknown option without its dashes, and as it was typed.
QString parseError(const QCommandLineParser& parser)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (unknown.isEmpty())
        return parser.errorText();
    QStringList shown;
    for (const QString& name : unknown)
        shown += u"„"_s + shownArgument((name.size() == 1 ? u"-"_s : u"--"_s) + name) + u"”"_s;
    return (unknown.size() == 1 ? u"Ismeretlen kapcsoló: %1."_s : u"Ismeretlen kapcsolók: %1."_s)
        .arg(shown.join(u", "_s));
}

} // namespace

int runNameDays(const QStringList& arguments, QIODevice& out, QIODevice& err)
{
    const Options options;
    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Magyar névnapok a parancssorban: a mai vagy bármelyik nap névnapjai %1 és %2 között, "
        "állapotsorba (waybar, polybar), naptárprogramba vagy asztali értesítésbe."_s
            .arg(firstCalendarYear)
            .arg(lastCalendarYear));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    for (const QCommandLineOption* option :
         {&options.date, &options.tomorrow, &options.json, &options.waybar, &options.search,
          &options.year, &options.ical, &options.output, &options.notify})
        parser.addOption(*option);

    if (!parser.parse(arguments))
        return refuse(err, parseError(parser));
    // A program without Qt's own options has the same help for --help-all.
    if (parser.isSet(help) || parser.isSet(u"help-all"_s))
        return print(out, err, parser.helpText().toUtf8());
    if (parser.isSet(version))
        return print(out, err,
                     (QCoreApplication::applicationName() + u' ' +
                      QCoreApplication::applicationVersion() + u'\n')
                         .toUtf8());
    if (!parser.positionalArguments().isEmpty())
        return refuse(err, u"Váratlan argumentum: „%1”."_s.arg(
                               shownArgument(parser.positionalArguments().constFirst())));
    if (!fitTogether(parser, options, err))
        return refused;

    if (parser.isSet(options.search))
        return searchYear(parser, options, out, err);
    if (parser.isSet(options.ical))
        return writeCalendar(parser, options, out, err);
    const std::optional<QDate> day = chosenDay(parser, options, err);
    if (!day)
        return refused;
    const Day names = dayOn(*day);
    // The day after the calendar's last has no names to tell.
    std::optional<Day> next;
    if (isInCalendarRange(day->addDays(1)))
        next = dayOn(day->addDays(1));
    if (parser.isSet(options.json))
        return print(out, err, jsonLine(names, next));
    if (parser.isSet(options.waybar))
        return print(out, err, waybarLine(names, next));
    if (parser.isSet(options.notify)) {
        const QString problem = notifyNameDays(notificationOf(names, next, today()));
        if (problem.isEmpty())
            return 0;
        return fail(err, problem);
    }
    return print(out, err, namesLine(names));
}
