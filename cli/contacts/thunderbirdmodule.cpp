#include "cli/contacts/thunderbird.h"

// The entry that zorvat-nevnap looks up when it loads this module.
extern "C" Q_DECL_EXPORT void zorvatReadThunderbird(const QString& source, SourceReading& reading)
{
    reading = readThunderbird(source);
}
