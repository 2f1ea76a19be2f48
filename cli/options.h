#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>

#include <optional>

class QCommandLineParser;

// zorvat-nevnap's options, with their Hungarian help.
struct Options
{
    Options();

    QCommandLineOption date;
    QCommandLineOption tomorrow;
    QCommandLineOption json;
    QCommandLineOption waybar;
    QCommandLineOption notify;
    QCommandLineOption search;
    QCommandLineOption name;
    QCommandLineOption year;
    QCommandLineOption ical;
    QCommandLineOption icalContacts;
    QCommandLineOption output;
    QCommandLineOption remind;
    QCommandLineOption contacts;
    QCommandLineOption noContacts;
    QCommandLineOption checkContacts;
    QCommandLineOption desktopCalendar; // on, off or refresh after it; alone, what is registered

    QList<const QCommandLineOption*> all() const;
    // At most one of these is given.
    QList<const QCommandLineOption*> modes() const;
};

// What is wrong with the options together, in Hungarian; empty where they fit.
QString clashOf(const QCommandLineParser& parser, const Options& options);

// The parser's complaint, an unknown option quoted with its dashes, as the user typed it.
QString parseError(const QCommandLineParser& parser);

// A year written with four digits, inside the calendar.
std::optional<int> yearIn(const QString& text);

struct YearRange
{
    int first;
    int last;
};
// "2026" or "2026:2030", four-digit years inside the calendar, the first not after the last.
std::optional<YearRange> yearRangeIn(const QString& text);

// The days before a name day that a reminder comes: 0..30.
std::optional<int> reminderDaysIn(const QString& text);
