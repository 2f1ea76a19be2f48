#include "contacts/vcard.h"

#include <cstdint>
#include <cstdlib>

// Any bytes at all: the reader must not crash, leak or lose count of a card.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    SourceReading reading;
    readVCards(QByteArrayView(data, qsizetype(size)), reading);
    if (reading.contacts.size() + reading.malformed != reading.cards)
        std::abort();
    return 0;
}
