#include "contacts/sourcemodule.h"

#include <QObject>

#include <cstdlib>

// A module as zorvat-nevnap loads one, built for the interface TEST_MODULE_IID names. One built
// for an interface it does not know must never run: its construction ends the test.
class TestModule : public QObject, public ContactSourceModule
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID TEST_MODULE_IID)
    Q_INTERFACES(ContactSourceModule)

public:
    TestModule()
    {
        if (qstrcmp(TEST_MODULE_IID, ContactSourceModule_iid) != 0)
            std::abort();
    }

    SourceReading read(const QString& source) override
    {
        SourceReading reading;
        reading.source = source;
        reading.cards = 1;
        return reading;
    }
};

#include "testmodule.moc"
