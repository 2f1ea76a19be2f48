#include "cli/namedays.h"

#include "cli/contactcalendar.h"
#include "cli/contactcheck.h"
#include "cli/desktopcalendar.h"
#include "cli/notification.h"
#include "cli/options.h"
#include "cli/outputs.h"
#include "contacts/namematcher.h"
#include "contacts/sources.h"
#include "core/calendarrange.h"
#include "core/icalendar.h"
#include "core/namesearch.h"
#include "core/nametable.h"
#include "dates/clock.h"
#include "dates/datetexts.h"
#include "dates/daysofyear.h"
#include "system/arguments.h"
#include "system/outputfile.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <functional>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr int failed = 1;
constexpr int refused = 2;

// One run of the program: its options, where its answer goes and where its complaints.
class NameDaysRun
{
public:
    NameDaysRun(QIODevice& out, QIODevice& err)
        : m_out(out)
        , m_err(err)
    {
    }

    int run(const QStringList& arguments);

private:
    int complain(int status, const QString& message);
    int print(const QByteArray& text);
    std::optional<QDate> inCalendar(const QDate& day);
    std::optional<QDate> chosenDay();
    std::optional<int> chosenYear();
    std::optional<YearRange> chosenYears(const QCommandLineOption& option);
    ContactSources contactSources();
    int refuseWithoutSources();
    int writeCalendar(const std::function<bool(QIODevice&)>& write);

    int tellDay();
    int searchYear();
    int listNameDays();
    int writeNameDayCalendar();
    int writeContactCalendar();
    int checkContacts();
    int desktopCalendars();

    QIODevice& m_out;
    QIODevice& m_err;
    const Options m_options;
    QCommandLineParser m_parser;
};

int NameDaysRun::complain(int status, const QString& message)
{
    m_err.write((QCoreApplication::applicationName() + u": "_s + message + u'\n').toUtf8());
    return status;
}

int NameDaysRun::print(const QByteArray& text)
{
    if (m_out.write(text) == text.size())
        return 0;
    return complain(failed,
                    u"Nem sikerült a szabványos kimenetre írni: %1"_s.arg(m_out.errorString()));
}

// A day outside the calendar is refused alike in every mode.
std::optional<QDate> NameDaysRun::inCalendar(const QDate& day)
{
    if (isInCalendarRange(day))
        return day;
    complain(refused, u"A nap (%1) kívül esik a naptáron: %2 és %3 közötti nap kell."_s.arg(
                          day.toString(Qt::ISODate), firstCalendarDay().toString(Qt::ISODate),
                          lastCalendarDay().toString(Qt::ISODate)));
    return std::nullopt;
}

// The day of --date or today, moved on by --tomorrow; empty after a complaint.
std::optional<QDate> NameDaysRun::chosenDay()
{
    QDate day = today();
    if (m_parser.isSet(m_options.date)) {
        const QString text = m_parser.value(m_options.date);
        day = isoDay(text);
        if (!day.isValid()) {
            complain(refused, u"Nem érvényes dátum: „%1”; ÉÉÉÉ-HH-NN alakban kell megadni."_s.arg(
                                  shownArgument(text)));
            return std::nullopt;
        }
    }
    if (m_parser.isSet(m_options.tomorrow))
        day = day.addDays(1);
    return inCalendar(day);
}

// The year of --year, or this year.
std::optional<int> NameDaysRun::chosenYear()
{
    if (!m_parser.isSet(m_options.year)) {
        const std::optional<QDate> day = inCalendar(today());
        return day ? std::optional(day->year()) : std::nullopt;
    }
    const QString text = m_parser.value(m_options.year);
    const std::optional<int> year = yearIn(text);
    if (!year)
        complain(refused, u"Nem érvényes év: „%1”; %2 és %3 közötti év kell, négy számjeggyel."_s
                              .arg(shownArgument(text))
                              .arg(firstCalendarYear)
                              .arg(lastCalendarYear));
    return year;
}

std::optional<YearRange> NameDaysRun::chosenYears(const QCommandLineOption& option)
{
    const QString text = m_parser.value(option);
    const std::optional<YearRange> years = yearRangeIn(text);
    if (!years)
        complain(refused, u"Nem érvényes évtartomány: „%1”; ELSŐ vagy ELSŐ:UTOLSÓ alakban, %2 és "
                          "%3 közötti, négyjegyű évekkel kell megadni, az elsőt elöl."_s
                              .arg(shownArgument(text))
                              .arg(firstCalendarYear)
                              .arg(lastCalendarYear));
    return years;
}

// The configuration, and the people of the sources it or --contacts names. A source that cannot
// be read is told, and costs nothing else: a status bar still shows the day's names.
ContactSources NameDaysRun::contactSources()
{
    QString complaint;
    ContactSources sources = readContactSources(m_parser.values(m_options.contacts),
                                                m_parser.isSet(m_options.noContacts), complaint);
    if (!complaint.isEmpty())
        complain(0, complaint);
    if (!m_parser.isSet(m_options.checkContacts))
        for (const SourceReading& reading : std::as_const(sources.readings))
            if (!reading.problem.isEmpty())
                complain(0, reading.problem);
    return sources;
}

int NameDaysRun::refuseWithoutSources()
{
    return complain(refused, u"Nincs megadva névjegyforrás: a --contacts kapcsolóval vagy a "
                             "beállítófájl [contacts] részének sources= sorával adható meg "
                             "(%1)."_s.arg(configurationPath()));
}

// To --output, whole or not at all, or to standard output.
int NameDaysRun::writeCalendar(const std::function<bool(QIODevice&)>& write)
{
    const QString path = m_parser.value(m_options.output);
    if (path.isEmpty() || path == u"-"_s) {
        if (write(m_out))
            return 0;
        return complain(failed, u"Nem sikerült a szabványos kimenetre írni a naptárt: %1"_s.arg(
                                    m_out.errorString()));
    }
    OutputFile file(argumentBytes(path));
    if (file.open() && write(file) && file.commit())
        return 0;
    return complain(failed, u"Nem sikerült megírni a naptárt ebbe a fájlba: „%1” – %2"_s.arg(
                                shownArgument(path), file.errorString()));
}

int NameDaysRun::tellDay()
{
    const std::optional<QDate> date = chosenDay();
    if (!date)
        return refused;
    const ContactSources sources = contactSources();
    std::optional<PersonIndex> people;
    if (sources.inUse())
        people = personIndexOf(sources);
    const auto reportOf = [&](const QDate& day) {
        DayReport report{dayOn(day), std::nullopt};
        if (people)
            report.people = people->celebrating(report.day);
        return report;
    };

    const DayReport day = reportOf(*date);
    // The day after the calendar's last has no names to tell.
    std::optional<DayReport> next;
    if (isInCalendarRange(date->addDays(1)))
        next = reportOf(date->addDays(1));
    if (m_parser.isSet(m_options.json))
        return print(jsonLine(day, next));
    if (m_parser.isSet(m_options.waybar))
        return print(waybarLine(day, next));
    if (m_parser.isSet(m_options.notify)) {
        const QString problem = notifyNameDays(
            notificationOf(day, next, today(), sources.configuration.privateNotification));
        return problem.isEmpty() ? 0 : complain(failed, problem);
    }
    return print(namesLine(day));
}

int NameDaysRun::searchYear()
{
    const QString query = searchQuery(m_parser.value(m_options.search));
    if (query.isEmpty())
        return complain(refused, u"A --search szövege üres."_s);
    const std::optional<int> year = chosenYear();
    return year ? print(searchLines(*year, query)) : refused;
}

// The days on which a whole name is celebrated, matched as a contact's name is.
int NameDaysRun::listNameDays()
{
    const QString wanted = m_parser.value(m_options.name).trimmed();
    if (wanted.isEmpty())
        return complain(refused, u"A --name neve üres."_s);
    const std::optional<int> year = chosenYear();
    if (!year)
        return refused;
    // Only the configuration's aliases: no source is read.
    QString complaint;
    const Configuration configuration = readConfiguration(complaint);
    if (!complaint.isEmpty())
        complain(0, complaint);
    const QString name = NameMatcher(configuration.aliases).match(wanted).name;
    QByteArray lines;
    const NameTable table(*year);
    for (const QDate& day : daysOfYear(*year))
        if (!name.isEmpty() && table.day(day).celebrated.contains(name))
            lines += day.toString(Qt::ISODate).toLatin1() + '\n';
    return print(lines);
}

int NameDaysRun::writeNameDayCalendar()
{
    const std::optional<YearRange> years = chosenYears(m_options.ical);
    if (!years)
        return refused;
    return writeCalendar([&](QIODevice& out) {
        return ::writeNameDayCalendar(out, years->first, years->last, now());
    });
}

int NameDaysRun::writeContactCalendar()
{
    const std::optional<YearRange> years = chosenYears(m_options.icalContacts);
    if (!years)
        return refused;
    std::optional<int> reminder;
    if (m_parser.isSet(m_options.remind)) {
        reminder = reminderDaysIn(m_parser.value(m_options.remind));
        if (!reminder)
            return complain(refused,
                            u"Nem érvényes emlékeztető: „%1”; 0 és 30 közötti napszám "
                            "kell."_s.arg(shownArgument(m_parser.value(m_options.remind))));
    }
    const ContactSources sources = contactSources();
    if (!sources.inUse())
        return refuseWithoutSources();
    if (!reminder)
        reminder = sources.configuration.reminderDaysBefore;
    const PersonIndex people = personIndexOf(sources);
    return writeCalendar([&](QIODevice& out) {
        return ::writeContactCalendar(out, people, years->first, years->last, *reminder, now());
    });
}

int NameDaysRun::checkContacts()
{
    const ContactSources sources = contactSources();
    if (!sources.inUse())
        return refuseWithoutSources();
    if (const int status = print(contactCheck(sources).toUtf8()); status != 0)
        return status;
    const bool unreadable = std::ranges::any_of(
        sources.readings, [](const SourceReading& reading) { return !reading.problem.isEmpty(); });
    return unreadable ? failed : 0;
}

int NameDaysRun::desktopCalendars()
{
    const QString action = m_parser.positionalArguments().value(0);
    DesktopCalendarReport report;
    if (action.isEmpty()) {
        report = desktopCalendarStatus();
    } else if (action == u"off"_s) {
        report = switchDesktopCalendarsOff();
    } else if (action == u"on"_s || action == u"refresh"_s) {
        const std::optional<QDate> day = inCalendar(today());
        if (!day)
            return refused;
        const DesktopCalendarContent content{desktopCalendarYears(*day), now(),
                                             [this] { return contactSources(); }};
        report = action == u"on"_s ? switchDesktopCalendarsOn(content)
                                   : refreshDesktopCalendars(content);
    } else {
        return complain(refused, u"A --desktop-calendar után on, off vagy refresh állhat, vagy "
                                 "semmi; ez nem: „%1”."_s.arg(shownArgument(action)));
    }
    for (const QString& problem : std::as_const(report.problems))
        complain(0, problem);
    const int printed = print(report.said.toUtf8());
    return report.status != 0 ? report.status : printed;
}

int NameDaysRun::run(const QStringList& arguments)
{
    m_parser.setApplicationDescription(
        u"Magyar névnapok a parancssorban: a mai vagy bármelyik nap névnapjai %1 és %2 között, "
        "állapotsorba (waybar, polybar), naptárprogramba vagy asztali értesítésbe, és hogy kinek "
        "van névnapja az ismerősei közül."_s.arg(firstCalendarYear)
            .arg(lastCalendarYear));
    const QCommandLineOption help = m_parser.addHelpOption();
    const QCommandLineOption version = m_parser.addVersionOption();
    for (const QCommandLineOption* option : m_options.all())
        m_parser.addOption(*option);

    if (!m_parser.parse(arguments))
        return complain(refused, parseError(m_parser));
    // A program without Qt's own options has the same help for --help-all.
    if (m_parser.isSet(help) || m_parser.isSet(u"help-all"_s))
        return print(m_parser.helpText().toUtf8());
    if (m_parser.isSet(version))
        return print((QCoreApplication::applicationName() + u' ' +
                      QCoreApplication::applicationVersion() + u'\n')
                         .toUtf8());
    // Only --desktop-calendar takes a word after it.
    const QStringList positional = m_parser.positionalArguments();
    const qsizetype allowed = m_parser.isSet(m_options.desktopCalendar) ? 1 : 0;
    if (positional.size() > allowed)
        return complain(refused,
                        u"Váratlan argumentum: „%1”."_s.arg(shownArgument(positional.at(allowed))));
    if (const QString clash = clashOf(m_parser, m_options); !clash.isEmpty())
        return complain(refused, clash);

    if (m_parser.isSet(m_options.search))
        return searchYear();
    if (m_parser.isSet(m_options.name))
        return listNameDays();
    if (m_parser.isSet(m_options.ical))
        return writeNameDayCalendar();
    if (m_parser.isSet(m_options.icalContacts))
        return writeContactCalendar();
    if (m_parser.isSet(m_options.checkContacts))
        return checkContacts();
    if (m_parser.isSet(m_options.desktopCalendar))
        return desktopCalendars();
    return tellDay();
}

} // namespace

int runNameDays(const QStringList& arguments, QIODevice& out, QIODevice& err)
{
    return NameDaysRun(out, err).run(arguments);
}
