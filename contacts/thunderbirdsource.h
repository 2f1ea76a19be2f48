#pragma once

#include <QString>
#include <QStringView>

// Whether a contact source names Thunderbird's address books: the word "thunderbird", a
// Thunderbird folder (it holds profiles.ini), a profile folder (it holds prefs.js or an address
// book) or an address book file. Qt Core only: the program asks it of every source at start.
bool isThunderbirdSource(const QString& source);

// Whether a file name is one of the address books of a Thunderbird profile: abook.sqlite,
// abook-1.sqlite, abook-2.sqlite … Collected addresses (history.sqlite) are not one.
bool isAddressBookFileName(QStringView fileName);
