#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One person as an address book holds them: only what deciding their name days needs.
struct Contact
{
    QString uid;            // the card's UID; empty where it has none
    QString formattedName;  // FN, as the person is shown
    bool hasName = false;   // whether the card has N
    QString familyName;     // N's family-name component
    QStringList givenNames; // N's given and additional names, each value of a component
    QStringList nicknames;  // NICKNAME's values
};

// What one source of contacts gave: its people, how many cards it held, and why it could not
// be read.
struct SourceReading
{
    QString source; // as the user named it
    QList<Contact> contacts;
    int cards = 0;     // every card found, the malformed ones included
    int malformed = 0; // cards skipped because they could not be read
    QString problem;   // in Hungarian; empty when the source was read
};
