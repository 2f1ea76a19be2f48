#pragma once

#include "contacts/contact.h"

typedef struct _EContact EContact;

// What a card of Evolution Data Server says about a person's names.
Contact contactFromCard(EContact* card);

// Whether the card is a contact list: a card, but nobody's name.
bool isContactList(EContact* card);
