#include "cli/options.h"

#include "contacts/configuration.h"
#include "core/calendarrange.h"
#include "system/arguments.h"

#include <QCommandLineParser>
#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// "1900..2100" in the help texts.
QString calendarYears()
{
    return u"%1..%2"_s.arg(firstCalendarYear).arg(lastCalendarYear);
}

QString optionName(const QCommandLineOption& option)
{
    return u"--"_s + option.names().constFirst();
}

bool isWholeNumber(const QString& text, int digits)
{
    static const QRegularExpression number(u"^[0-9]+$"_s);
    return (digits == 0 || text.size() == digits) && number.match(text).hasMatch();
}
} // namespace

Options::Options()
    : date(u"date"_s,
           u"Ennek a napnak a névnapjai (%1 és %2 között), a mai nap helyett."_s.arg(
               firstCalendarDay().toString(Qt::ISODate), lastCalendarDay().toString(Qt::ISODate)),
           u"ÉÉÉÉ-HH-NN"_s)
    , tomorrow(u"tomorrow"_s, u"A következő nap névnapjai (a mai vagy a --date napja után)."_s)
    , json(u"json"_s, u"Egy JSON-objektum a napról és a következő napról."_s)
    , waybar(u"waybar"_s, u"Egy JSON-sor a waybar egyéni moduljának (return-type: json)."_s)
    , notify(u"notify"_s, u"Asztali értesítés a nap névnapjairól."_s)
    , search(u"search"_s,
             u"Az év napjai, amelyeknek a bejegyzésében benne van a szöveg, ahogy a névkeresés "
             "találja: a kis- és nagybetű mindegy, az ékezet nem."_s,
             u"SZÖVEG"_s)
    , name(u"name"_s,
           u"Az év napjai, amelyeken ezt a nevet ünneplik (egész névre, a beállítófájl "
           "beceneveivel)."_s,
           u"NÉV"_s)
    , year(u"year"_s, u"A --search és a --name éve (%1), az idei helyett."_s.arg(calendarYears()),
           u"ÉÉÉÉ"_s)
    , ical(u"ical"_s, u"Az évek névnapjai iCalendar-naptárként (%1)."_s.arg(calendarYears()),
           u"ELSŐ[:UTOLSÓ]"_s)
    , icalContacts(u"ical-contacts"_s,
                   u"Az ismerősök névnapjai az évekre (%1), magán iCalendar-naptárként."_s.arg(
                       calendarYears()),
                   u"ELSŐ[:UTOLSÓ]"_s)
    , output(u"output"_s,
             u"Az --ical vagy --ical-contacts naptára ebbe a fájlba kerül: egészben vagy sehogy "
             "(- a szabványos kimenet)."_s,
             u"FÁJL"_s)
    , remind(u"remind"_s,
             u"Az --ical-contacts eseményei ennyi nappal előtte emlékeztetnek (0..%1), a "
             "beállítófájl [contacts] remind= sora helyett."_s.arg(longestReminder),
             u"NAPOK"_s)
    , contacts(u"contacts"_s,
               u"Az ismerősök névjegyei innen, a beállítófájlban megadottak helyett: .vcf fájl, "
               "mappa, thunderbird vagy evolution. Többször is megadható."_s,
               u"FORRÁS"_s)
    , noContacts(u"no-contacts"_s, u"Nem olvas névjegyeket, a beállítófájl forrásait sem."_s)
    , checkContacts(u"check-contacts"_s,
                    u"Forrásonként megmondja, hány névjegyet olvasott, és kinek nem talált "
                    "névnapot."_s)
    , desktopCalendar(u"desktop-calendar"_s,
                      u"A névnapok az asztal naptáraiban (a GNOME Shell órája, GNOME Naptár, "
                      "Evolution; fájlként Thunderbird, KOrganizer, khal), az ismerősökéi is, "
                      "naponta frissítve: „on” bekapcsolja, „off” kikapcsolja, „refresh” most "
                      "frissíti; magában megmondja, mi van bejegyezve."_s)
{
}

QList<const QCommandLineOption*> Options::all() const
{
    return {&date,     &tomorrow,   &json,          &waybar,         &notify, &search,
            &name,     &year,       &ical,          &icalContacts,   &output, &remind,
            &contacts, &noContacts, &checkContacts, &desktopCalendar};
}

QList<const QCommandLineOption*> Options::modes() const
{
    return {&json, &waybar,       &notify,        &search,         &name,
            &ical, &icalContacts, &checkContacts, &desktopCalendar};
}

QString clashOf(const QCommandLineParser& parser, const Options& options)
{
    QStringList clashing;
    const QCommandLineOption* mode = nullptr;
    for (const QCommandLineOption* candidate : options.modes())
        if (parser.isSet(*candidate)) {
            clashing += optionName(*candidate);
            mode = candidate;
        }
    // The day options choose the day of a mode that tells one day.
    const bool tellsOneDay =
        !mode || mode == &options.json || mode == &options.waybar || mode == &options.notify;
    if (!tellsOneDay)
        for (const QCommandLineOption* dayOption : {&options.date, &options.tomorrow})
            if (parser.isSet(*dayOption))
                clashing += optionName(*dayOption);
    // The calendars the timer rewrites hold the configuration's contacts, whatever one run says.
    const bool namesItsContacts = mode != &options.desktopCalendar;
    for (const QCommandLineOption* contactOption : {&options.contacts, &options.noContacts})
        if (!namesItsContacts && parser.isSet(*contactOption))
            clashing += optionName(*contactOption);
    if (namesItsContacts && parser.isSet(options.contacts) && parser.isSet(options.noContacts))
        clashing += {optionName(options.contacts), optionName(options.noContacts)};
    if (clashing.size() > 1)
        return u"Ezek a kapcsolók nem adhatók meg együtt: %1."_s.arg(clashing.join(u", "));

    const auto onlyWith = [&](const QCommandLineOption& option,
                              QList<const QCommandLineOption*> partners, const QString& text) {
        return parser.isSet(option) && !partners.contains(mode) ? text : QString();
    };
    for (const QString& problem :
         {onlyWith(options.year, {&options.search, &options.name},
                   u"A --year csak a --search vagy a --name mellett adható meg."_s),
          onlyWith(options.output, {&options.ical, &options.icalContacts},
                   u"Az --output csak az --ical vagy az --ical-contacts mellett adható meg."_s),
          onlyWith(options.remind, {&options.icalContacts},
                   u"A --remind csak az --ical-contacts mellett adható meg."_s)})
        if (!problem.isEmpty())
            return problem;
    return {};
}

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

std::optional<int> yearIn(const QString& text)
{
    if (!isWholeNumber(text, 4))
        return std::nullopt;
    const int year = text.toInt();
    if (year < firstCalendarYear || year > lastCalendarYear)
        return std::nullopt;
    return year;
}

std::optional<YearRange> yearRangeIn(const QString& text)
{
    const QStringList parts = text.split(u':');
    const std::optional<int> first = yearIn(parts.constFirst());
    const std::optional<int> last = parts.size() == 2 ? yearIn(parts.constLast()) : first;
    if (parts.size() > 2 || !first || !last || *first > *last)
        return std::nullopt;
    return YearRange{*first, *last};
}

std::optional<int> reminderDaysIn(const QString& text)
{
    if (!isWholeNumber(text, 0) || text.size() > 2 || text.toInt() > longestReminder)
        return std::nullopt;
    return text.toInt();
}
