#pragma once

#include "cli/contacts/contact.h"

// Reads one source the user named, never writing to it: "thunderbird" or a Thunderbird profile
// or address book, "evolution" (GNOME's address books), or a vCard file or folder ("~" is the
// home folder). Thunderbird's and GNOME's readers are modules, loaded only for their sources.
SourceReading readContactSource(const QString& source);
