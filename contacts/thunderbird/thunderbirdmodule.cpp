#include "contacts/sourcemodule.h"
#include "contacts/thunderbird/thunderbird.h"

#include <QObject>

// What zorvat-nevnap loads for a Thunderbird source.
class ThunderbirdModule : public QObject, public ContactSourceModule
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ContactSourceModule_iid)
    Q_INTERFACES(ContactSourceModule)

public:
    SourceReading read(const QString& source) override { return readThunderbird(source); }
};

#include "thunderbirdmodule.moc"
