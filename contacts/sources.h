#pragma once

#include "contacts/configuration.h"
#include "contacts/contact.h"
#include "contacts/person.h"

#include <QList>
#include <QStringList>

// Reads one source the user named, never writing to it: "thunderbird" or a Thunderbird profile
// or address book, "evolution" (GNOME's address books), or a vCard file or folder ("~" is the
// home folder). Thunderbird's and GNOME's readers are modules, loaded only for their sources.
SourceReading readContactSource(const QString& source);

// What one run reads of the user's contacts: the configuration, and each source named on the
// command line, or else in the configuration. Nothing is kept after the run.
struct ContactSources
{
    Configuration configuration;
    QList<SourceReading> readings; // one a source; none where no source is named
    bool inUse() const { return !readings.isEmpty(); }
};

// `namedSources` (--contacts) replace the configured sources; `noSources` (--no-contacts) reads
// none. What could not be read is in the readings' problems, and the configuration file's own
// problem, if any, in `complaint`.
ContactSources readContactSources(const QStringList& namedSources, bool noSources,
                                  QString& complaint);

// Who among the people of the sources celebrates what, with the configuration's aliases.
PersonIndex personIndexOf(const ContactSources& sources);
