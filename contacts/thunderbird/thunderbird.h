#pragma once

#include "contacts/contact.h"

// Reads the address books that a Thunderbird source names (see isThunderbirdSource) as one
// source: their cards add up. A book that cannot be read is named in `problem`, and the people
// of the others are still given.
SourceReading readThunderbird(const QString& source);
