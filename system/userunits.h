#pragma once

#include <QString>

// The user's own systemd units, switched with systemctl --user as the user would.
enum class UserManager {
    Running,
    Absent, // no user service manager runs for this process (a container, a test)
};
UserManager userManager();

bool isUserUnitEnabled(const QString& unit);

// Enables the unit and starts it at once; why not, in Hungarian, empty when done.
QString enableUserUnit(const QString& unit);
// Disables the unit, and stops it where a user service manager runs; why not, in Hungarian.
QString disableUserUnit(const QString& unit);
