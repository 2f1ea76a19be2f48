#pragma once

#include "contacts/contact.h"

// Adds the people of every enabled address book of Evolution Data Server (GNOME Contacts,
// Evolution, the accounts of GNOME Online Accounts) to `reading`, read-only, through the session
// bus. Contact lists are counted as cards but are nobody's name. An address book that cannot be
// read is named in `problem` while the others are still read; without the session bus or the
// server, or when it does not answer, only `problem` is set. Returns within five seconds, as the
// server is asked with a deadline of its own instead of D-Bus's 25 seconds.
void readEvolutionAddressBooks(SourceReading& reading);
