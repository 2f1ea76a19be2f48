#pragma once

#include "contacts/contact.h"

#include <QByteArrayView>

// Adds the cards of a vCard text (2.1, 3.0 or 4.0, as address books and phones export it) to
// `reading`: every card is counted, a malformed one is skipped and counted as such, and never
// stops the cards after it.
void readVCards(QByteArrayView text, SourceReading& reading);
