#include "cli/contacts/evolution.h"

// The entry that zorvat-nevnap looks up when it loads this module for the source "evolution".
extern "C" Q_DECL_EXPORT void zorvatReadEvolution(SourceReading& reading)
{
    readEvolutionAddressBooks(reading);
}
