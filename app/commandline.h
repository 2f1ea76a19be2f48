#pragma once

#include <QDate>
#include <QStringList>

#include <optional>

class QCoreApplication;

// Whether the arguments ask for `--help` or `--version`, which are answered without a window.
bool asksOnlyForText(const QStringList& arguments);

// The day of `--calendar DAY` where it is one of the calendar's, read before the application
// exists, so that a running Zorvat can be given it before a display is opened.
std::optional<QDate> calendarDayIn(const QStringList& arguments);

// Answers `--help` and `--version` and refuses anything else the program does not know, in
// Hungarian, by ending the process; returns when the windows should start, with the day of
// `--calendar` where one is given.
std::optional<QDate> handleCommandLine(QCoreApplication& app);
