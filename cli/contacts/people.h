#pragma once

#include "cli/contacts/celebrants.h"
#include "cli/contacts/configuration.h"
#include "cli/contacts/contact.h"

#include <QList>
#include <QStringList>

// The user's people as one run reads them: what the configuration sets, and what the sources
// named on the command line, or else in the configuration, hold. Nothing is kept after the run.
struct People
{
    Configuration configuration;
    QList<SourceReading> readings; // one a source; none where no source is named
    bool sourcesInUse() const { return !readings.isEmpty(); }
};

// `namedSources` (--contacts) replace the configured sources; `noSources` (--no-contacts) reads
// none. What could not be read is in the readings' problems, and the configuration file's own
// problem, if any, in `complaint`.
People readPeople(const QStringList& namedSources, bool noSources, QString& complaint);

// Who among the people celebrates what.
Acquaintances acquaintancesOf(const People& people, const NameMatcher& matcher);

// For each source, how many cards it had, how many were malformed, matched a name, matched only
// without accents, and matched none; then the people who have no name day, so that the user can
// add aliases for them.
QString contactCheck(const People& people, const NameMatcher& matcher);
