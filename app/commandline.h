#pragma once

#include <QStringList>

class QCoreApplication;

// Whether the arguments ask for `--help` or `--version`, which are answered without a window.
bool asksOnlyForText(const QStringList& arguments);

// Answers `--help` and `--version` and refuses anything else the program does not know, in
// Hungarian, by ending the process; returns when the windows should start.
void handleCommandLine(QCoreApplication& app);
