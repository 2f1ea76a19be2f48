#include "cli/desktopcalendar.h"

#include "cli/contactcalendar.h"
#include "contacts/sources.h"
#include "core/calendarrange.h"
#include "core/icalendar.h"
#include "dates/datetexts.h"
#include "system/arguments.h"
#include "system/calendarsource.h"
#include "system/outputfile.h"
#include "system/regularfile.h"
#include "system/systemerrors.h"
#include "system/userunits.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

const DesktopCalendar nameDayDesktopCalendar{u"zorvat-nevnapok"_s, u"Névnapok"_s,
                                             u"nevnapok.ics"_s};
const DesktopCalendar contactDesktopCalendar{
    u"zorvat-ismerosok-nevnapjai"_s, u"Ismerősök névnapjai"_s, u"ismerosok-nevnapjai.ics"_s};
const QString desktopCalendarTimer = u"zorvat-nevnap-calendar.timer"_s;

QString desktopCalendarFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u"/zorvat"_s;
}

QString desktopCalendarFile(const DesktopCalendar& calendar)
{
    return desktopCalendarFolder() + u'/' + calendar.fileName;
}

YearRange desktopCalendarYears(const QDate& today)
{
    return {std::max(today.year() - 1, firstCalendarYear),
            std::min(today.year() + 1, lastCalendarYear)};
}

namespace {
// The people the user knows are nobody else's to read.
constexpr mode_t privateFile = 0600;
constexpr mode_t sharedFile = 0666;

QString sourcePath(const DesktopCalendar& calendar)
{
    return evolutionSourcePath(calendar.sourceUid);
}

bool isRegistered(const DesktopCalendar& calendar)
{
    return QFileInfo::exists(sourcePath(calendar));
}

// What a regular file at `path` holds, up to `largest` bytes; empty where there is none.
QByteArray heldIn(const QString& path, off_t largest)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status;
    QByteArray held;
    if (stat(name.constData(), &status) != 0 || !S_ISREG(status.st_mode) ||
        status.st_size > largest ||
        !readRegularFile(AT_FDCWD, name.constData(), largest, held).failure.isEmpty())
        return {};
    return held;
}

// Puts `content` in the file, whole or not at all, unless it holds that already: its readers
// reload only on a change, and see every change, as its time moves on a second at least.
// Returns why it could not, in Hungarian.
QString replaceWith(const QString& path, const QByteArray& content, mode_t newFileMode)
{
    if (heldIn(path, content.size()) == content)
        return {};
    QDir().mkpath(QFileInfo(path).path());
    OutputFile file(QFile::encodeName(path), newFileMode);
    file.moveTimeOn();
    if (file.open() && file.write(content) == content.size() && file.commit())
        return {};
    return file.errorString();
}

QString yearsText(const YearRange& years)
{
    return years.first == years.last ? QString::number(years.first)
                                     : u"%1–%2"_s.arg(years.first).arg(years.last);
}

class DesktopCalendars
{
public:
    DesktopCalendarReport on(const DesktopCalendarContent& content);
    DesktopCalendarReport refresh(const DesktopCalendarContent& content);
    DesktopCalendarReport off();
    DesktopCalendarReport status();

private:
    void say(const QString& line) { m_report.said += line + u'\n'; }
    void fail(const QString& problem)
    {
        m_report.problems += problem;
        m_report.status = 1;
    }
    bool write(const DesktopCalendar& calendar, const QByteArray& text, mode_t newFileMode,
               bool registering);
    void writeNameDays(const DesktopCalendarContent& content, bool registering);
    void writePeople(const DesktopCalendarContent& content, bool registering);
    bool remove(const QString& path);
    bool removeCalendar(const DesktopCalendar& calendar);

    DesktopCalendarReport m_report;
};

// Writes the calendar's file and, where `registering`, its source, which keeps what the user or
// the registry set in it.
bool DesktopCalendars::write(const DesktopCalendar& calendar, const QByteArray& text,
                             mode_t newFileMode, bool registering)
{
    const QString file = desktopCalendarFile(calendar);
    if (const QString problem = replaceWith(file, text, newFileMode); !problem.isEmpty()) {
        fail(u"Nem sikerült megírni a naptárt ebbe a fájlba: „%1” – %2"_s.arg(shownArgument(file),
                                                                              problem));
        return false;
    }
    if (!registering)
        return true;
    const QString source = sourcePath(calendar);
    constexpr off_t largestSource = 1024 * 1024;
    const QByteArray sourceText = readOnlyCalendarSource(
        heldIn(source, largestSource), calendar.displayName, QFile::encodeName(file));
    if (const QString problem = replaceWith(source, sourceText, sharedFile); !problem.isEmpty()) {
        fail(u"Nem sikerült megírni a naptár forrását („%1”) ebbe a fájlba: „%2” – %3"_s.arg(
            calendar.displayName, shownArgument(source), problem));
        return false;
    }
    return true;
}

void DesktopCalendars::writeNameDays(const DesktopCalendarContent& content, bool registering)
{
    QBuffer text;
    text.open(QIODevice::WriteOnly);
    // Among the other events of the clock menu's Today, the names alone would not say what they
    // are.
    writeNameDayCalendar(text, content.years.first, content.years.last, content.stamp,
                         u"Névnap: "_s);
    if (write(nameDayDesktopCalendar, text.data(), sharedFile, registering)) {
        say(u"%1: %2, %3"_s.arg(nameDayDesktopCalendar.displayName,
                                registering ? u"bejegyezve"_s : u"frissítve"_s,
                                yearsText(content.years)));
        say(u"  "_s + desktopCalendarFile(nameDayDesktopCalendar));
    }
}

// The people's calendar follows the configuration: where it names no contact source any more,
// the calendar goes.
void DesktopCalendars::writePeople(const DesktopCalendarContent& content, bool registering)
{
    const ContactSources sources = content.readContacts();
    const QString name = contactDesktopCalendar.displayName;
    if (!sources.inUse()) {
        const bool wasThere = isRegistered(contactDesktopCalendar) ||
                              QFileInfo::exists(desktopCalendarFile(contactDesktopCalendar));
        if (wasThere && removeCalendar(contactDesktopCalendar))
            say(u"%1: eltávolítva, mert nincs megadva névjegyforrás"_s.arg(name));
        else if (!wasThere)
            say(u"%1: nincs, mert nincs megadva névjegyforrás (%2, [contacts] sources=)"_s.arg(
                name, configurationPath()));
        return;
    }
    QBuffer text;
    text.open(QIODevice::WriteOnly);
    writeContactCalendar(text, personIndexOf(sources), content.years.first, content.years.last,
                         sources.configuration.reminderDaysBefore, content.stamp);
    if (write(contactDesktopCalendar, text.data(), privateFile, registering)) {
        say(u"%1: %2, %3"_s.arg(name, registering ? u"bejegyezve"_s : u"frissítve"_s,
                                yearsText(content.years)));
        say(u"  "_s + desktopCalendarFile(contactDesktopCalendar));
    }
}

bool DesktopCalendars::remove(const QString& path)
{
    if (unlink(QFile::encodeName(path).constData()) == 0 || errno == ENOENT)
        return true;
    fail(u"Nem sikerült törölni ezt a fájlt: „%1” – %2"_s.arg(shownArgument(path),
                                                              systemErrorText(errno)));
    return false;
}

// The source first, so that no registered calendar is left without its file.
bool DesktopCalendars::removeCalendar(const DesktopCalendar& calendar)
{
    return remove(sourcePath(calendar)) && remove(desktopCalendarFile(calendar));
}

DesktopCalendarReport DesktopCalendars::on(const DesktopCalendarContent& content)
{
    writeNameDays(content, true);
    writePeople(content, true);
    if (userManager() == UserManager::Absent) {
        say(u"Napi frissítés: nincs bekapcsolva, mert nem fut felhasználói szolgáltatáskezelő "
            "(systemd --user); a naptárak %1 végéig tartanak, frissítés: zorvat-nevnap "
            "--desktop-calendar refresh"_s.arg(content.years.last));
    } else if (const QString problem = enableUserUnit(desktopCalendarTimer); !problem.isEmpty()) {
        fail(u"A napi frissítés időzítője (%1) nem kapcsolható be: %2"_s.arg(desktopCalendarTimer,
                                                                             problem));
        say(u"Napi frissítés: nincs bekapcsolva"_s);
    } else {
        say(u"Napi frissítés: bekapcsolva (%1)"_s.arg(desktopCalendarTimer));
    }
    say(u"A GNOME Shell órája, a GNOME Naptár és az Evolution mutatja őket; a Thunderbird, a "
        "KOrganizer és a khal a fájljukat olvashatja (man zorvat-nevnap)."_s);
    return m_report;
}

DesktopCalendarReport DesktopCalendars::refresh(const DesktopCalendarContent& content)
{
    const bool nameDays = isRegistered(nameDayDesktopCalendar);
    const bool people = isRegistered(contactDesktopCalendar);
    if (nameDays)
        writeNameDays(content, false);
    if (people)
        writePeople(content, false);
    if (!nameDays && !people)
        say(u"Az asztali névnapnaptár nincs bekapcsolva: nincs mit frissíteni."_s);
    return m_report;
}

DesktopCalendarReport DesktopCalendars::off()
{
    bool removedAny = false;
    for (const DesktopCalendar* calendar : {&nameDayDesktopCalendar, &contactDesktopCalendar}) {
        if (!isRegistered(*calendar) && !QFileInfo::exists(desktopCalendarFile(*calendar)))
            continue;
        if (removeCalendar(*calendar))
            say(u"%1: eltávolítva, a fájljával együtt"_s.arg(calendar->displayName));
        removedAny = true;
    }
    // Folders that `on` may have made go where they are empty; anything in them stays.
    const QString sources = QFileInfo(sourcePath(nameDayDesktopCalendar)).path();
    for (const QString& folder : {desktopCalendarFolder(), sources, QFileInfo(sources).path()})
        rmdir(QFile::encodeName(folder).constData());
    if (isUserUnitEnabled(desktopCalendarTimer)) {
        removedAny = true;
        if (const QString problem = disableUserUnit(desktopCalendarTimer); !problem.isEmpty())
            fail(u"A napi frissítés időzítője (%1) nem kapcsolható ki: %2"_s.arg(
                desktopCalendarTimer, problem));
        else
            say(u"Napi frissítés: kikapcsolva"_s);
    }
    if (!removedAny)
        say(u"Az asztali névnapnaptár nem volt bekapcsolva: nem volt mit eltávolítani."_s);
    return m_report;
}

DesktopCalendarReport DesktopCalendars::status()
{
    bool registeredAny = false;
    for (const DesktopCalendar* calendar : {&nameDayDesktopCalendar, &contactDesktopCalendar}) {
        if (!isRegistered(*calendar)) {
            say(u"%1: nincs bejegyezve"_s.arg(calendar->displayName));
            continue;
        }
        registeredAny = true;
        const QFileInfo file(desktopCalendarFile(*calendar));
        if (file.exists()) {
            const QDateTime written = file.lastModified();
            say(u"%1: bejegyezve, frissítve %2 %3"_s.arg(
                calendar->displayName, dateText(written.date()), written.time().toString(u"H:mm")));
        } else {
            say(u"%1: bejegyezve, de a fájlja hiányzik; a zorvat-nevnap --desktop-calendar "
                "refresh újra megírja"_s.arg(calendar->displayName));
        }
        say(u"  "_s + file.filePath());
    }
    say(isUserUnitEnabled(desktopCalendarTimer)
            ? u"Napi frissítés: bekapcsolva (%1)"_s.arg(desktopCalendarTimer)
            : u"Napi frissítés: nincs bekapcsolva"_s);
    if (!registeredAny)
        say(u"Bekapcsolás: zorvat-nevnap --desktop-calendar on"_s);
    return m_report;
}
} // namespace

DesktopCalendarReport switchDesktopCalendarsOn(const DesktopCalendarContent& content)
{
    return DesktopCalendars().on(content);
}

DesktopCalendarReport refreshDesktopCalendars(const DesktopCalendarContent& content)
{
    return DesktopCalendars().refresh(content);
}

DesktopCalendarReport switchDesktopCalendarsOff()
{
    return DesktopCalendars().off();
}

DesktopCalendarReport desktopCalendarStatus()
{
    return DesktopCalendars().status();
}
