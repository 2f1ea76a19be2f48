#include "contacts/evolution/evolution.h"
#include "contacts/sourcemodule.h"

#include <QObject>

// What zorvat-nevnap loads for the source "evolution".
class EvolutionModule : public QObject, public ContactSourceModule
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ContactSourceModule_iid)
    Q_INTERFACES(ContactSourceModule)

public:
    SourceReading read(const QString& source) override
    {
        SourceReading reading;
        readEvolutionAddressBooks(reading);
        reading.source = source;
        return reading;
    }
};

#include "evolutionmodule.moc"
