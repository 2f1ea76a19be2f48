#pragma once

#include "contacts/sources.h"

#include <QString>

// For each source, how many cards it had, how many were malformed, matched a name, matched only
// without accents, and matched none; then the people who have no name day, so that the user can
// add aliases for them.
QString contactCheck(const ContactSources& sources);
