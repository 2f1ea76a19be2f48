#pragma once

#include <QString>
#include <QStringList>

typedef struct _GError GError;

// What the user reads when GNOME's address books cannot be read: Hungarian, with GLib's and
// libebook's English text after it, in parentheses, as a detail.

QString busProblem(const GError* error);    // no session bus
QString serverProblem(const GError* error); // the server neither answered nor could be started
QString registryProblem(const GError* error);
QString lateServerProblem();

enum class AddressBookStep {
    opening,
    listing
};
// Why one address book could not be read, to follow its name.
QString addressBookFailure(const GError* error, AddressBookStep step);
QString lateAddressBookFailure();
// The address books that could not be read, each "„name” – why".
QString unreadAddressBooksProblem(const QStringList& failures);
