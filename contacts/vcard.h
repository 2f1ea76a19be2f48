#pragma once

#include "contacts/contact.h"

#include <QByteArrayView>
#include <QString>

// Adds the cards of a vCard text (2.1, 3.0 or 4.0, in any code page, as address books and phones
// export it) from `file` (its name as the system gives it) to `reading`: every card is counted; a
// value that cannot be read costs that value only, a card none of whose names can be read, or whose
// BEGIN or END is missing, is skipped and counted as malformed, and a group's or an organisation's
// card counts as no person. What was skipped, or read by guessing its code page, is noted with the
// card's place.
void readVCards(QByteArrayView text, SourceReading& reading, QByteArrayView file = {});

// The text of a name kept as bytes that name no code page, read as a vCard value without
// CHARSET is: UTF-8 where the bytes are valid UTF-8, else windows-1250; without the spaces
// around it and without control characters.
QString unlabelledText(QByteArrayView bytes);
