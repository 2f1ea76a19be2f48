#pragma once

#include "contacts/contact.h"

// Adds the cards of one Thunderbird address book (abook.sqlite) to `reading`; returns why it
// could not be read, in Hungarian, and then adds nothing. The file is only ever opened
// read-only: nothing is written into the profile, and no copy is made anywhere.
QString readAddressBook(const QString& file, SourceReading& reading);
