#pragma once

#include <QString>
#include <QStringList>

struct AddressBookFiles
{
    QStringList files; // abook.sqlite first, then abook-1.sqlite, abook-2.sqlite …
    QString problem;   // in Hungarian; empty when there are files to read
};

// The address books that a Thunderbird source names: the default profile's for the word
// "thunderbird" (in ~/.thunderbird, else Flatpak's, else Snap's place) or for a folder holding
// profiles.ini, a profile folder's, or the one file named.
AddressBookFiles findAddressBooks(const QString& source);
