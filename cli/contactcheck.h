#pragma once

#include "contacts/sources.h"

#include <QString>

// For each source, what could not be read of it, how many cards it had, how many were malformed or
// of no person, matched a name, matched only without accents, and matched none, and where the
// cards are that were skipped or read only in part or by guess; then the people who have no name
// day, so that the user can add aliases for them.
QString contactCheck(const ContactSources& sources);
