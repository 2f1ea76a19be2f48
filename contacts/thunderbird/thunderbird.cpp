#include "contacts/thunderbird/thunderbird.h"

#include "contacts/thunderbird/thunderbirdbook.h"
#include "contacts/thunderbird/thunderbirdprofiles.h"

SourceReading readThunderbird(const QString& source)
{
    SourceReading reading;
    reading.source = source;
    const AddressBookFiles books = findAddressBooks(source);
    QStringList problems{books.problem};
    for (const QString& file : books.files)
        problems.append(readAddressBook(file, reading));
    problems.removeAll(QString());
    reading.problem = problems.join(u' ');
    return reading;
}
