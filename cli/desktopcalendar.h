#pragma once

#include "cli/options.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>

struct ContactSources;

// The name days where the desktop already looks: calendar files in $XDG_DATA_HOME/zorvat/,
// registered with Evolution Data Server as read-only calendars (GNOME Shell's clock, GNOME
// Calendar, Evolution), the same files for Thunderbird, KOrganizer and khal, and rewritten every
// day by a user timer.
struct DesktopCalendar
{
    QString sourceUid; // its source is $XDG_CONFIG_HOME/evolution/sources/<uid>.source
    QString displayName;
    QString fileName; // in desktopCalendarFolder()
};
extern const DesktopCalendar nameDayDesktopCalendar;
extern const DesktopCalendar contactDesktopCalendar;
extern const QString desktopCalendarTimer;

QString desktopCalendarFolder();
QString desktopCalendarFile(const DesktopCalendar& calendar);

// Last year, this year and next, as far as the calendar goes.
YearRange desktopCalendarYears(const QDate& today);

// What a run did: the lines for standard output, the problems for standard error, in Hungarian.
struct DesktopCalendarReport
{
    int status = 0; // 1 where a file or a source could not be written or removed
    QString said;
    QStringList problems;
};

// What the calendars hold: the years, when they were made, and the user's contacts with the
// configuration, read only where their calendar is written.
struct DesktopCalendarContent
{
    YearRange years;
    QDateTime stamp;
    std::function<ContactSources()> readContacts;
};

// Writes both files and registers their sources, the user's people only where contact sources
// are configured, and switches the daily timer on.
DesktopCalendarReport switchDesktopCalendarsOn(const DesktopCalendarContent& content);
// What the timer runs: rewrites the files of the calendars that are still registered, and never
// registers one that the user removed.
DesktopCalendarReport refreshDesktopCalendars(const DesktopCalendarContent& content);
// Removes the sources, the files and the timer's enablement, and nothing else.
DesktopCalendarReport switchDesktopCalendarsOff();
// What is registered, where its file is and when it was last written.
DesktopCalendarReport desktopCalendarStatus();
