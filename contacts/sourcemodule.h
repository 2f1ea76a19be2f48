#pragma once

#include "contacts/contact.h"

#include <QtPlugin>

// A reader of address books whose library only some runs need, in a module of its own.
class ContactSourceModule
{
public:
    virtual ~ContactSourceModule() = default;
    // Reads the source as the user named it, never writing to it.
    virtual SourceReading read(const QString& source) = 0;
};

// A new number whenever this class, SourceReading or Contact changes: a module built for
// another is refused instead of called.
#define ContactSourceModule_iid "hu.zorvat.ContactSourceModule/2"
Q_DECLARE_INTERFACE(ContactSourceModule, ContactSourceModule_iid)
