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

// A card that was skipped, or read only in part or by guessing its code page: where it is, so
// that the user can mend it, and why.
struct CardNote
{
    QString file; // the file as the user named it, or its path inside the named folder
    int card = 0; // its place in the file, from 1
    int line = 0; // the line of its BEGIN:VCARD
    QString why;  // in Hungarian
};

// What one source of contacts gave: its people, how many cards it held, and why it could not
// be read.
struct SourceReading
{
    QString source; // as the user named it
    QList<Contact> contacts;
    int cards = 0;         // every card found, the malformed ones and those of no person included
    int malformed = 0;     // cards skipped because no name of theirs could be read
    int notPeople = 0;     // groups and organisations, which have no name day
    QList<CardNote> notes; // the first `keptNotes` of them
    int noteCount = 0;     // all of them
    QString problem;       // in Hungarian; empty when the source was read whole
    static constexpr int keptNotes = 100;

    void note(CardNote note)
    {
        if (noteCount++ < keptNotes)
            notes.append(std::move(note));
    }
};
