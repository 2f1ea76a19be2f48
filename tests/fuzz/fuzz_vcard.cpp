#include "contacts/vcard.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <sanitizer/allocator_interface.h>

// Any bytes at all: the reader must not crash, leak or lose count of a card, and must take time
// and memory in proportion to the input.

namespace {
std::atomic<std::size_t> allocated;
std::atomic<std::size_t> peak;

void noteAllocation(const volatile void*, std::size_t size)
{
    const std::size_t now = allocated += size;
    std::size_t before = peak;
    while (now > before && !peak.compare_exchange_weak(before, now)) {
    }
}

void noteRelease(const volatile void* pointer)
{
    allocated -= __sanitizer_get_allocated_size(const_cast<const void*>(pointer));
}

double cpuSeconds()
{
    timespec now;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

const bool hooked = __sanitizer_install_malloc_and_free_hooks(noteAllocation, noteRelease) != 0;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (!hooked)
        std::abort();
    const double start = cpuSeconds();
    const std::size_t before = allocated;
    peak = before;
    {
        SourceReading reading;
        readVCards(QByteArrayView(data, qsizetype(size)), reading);
        if (reading.contacts.size() + reading.malformed + reading.notPeople != reading.cards)
            std::abort();
    }
    // A card of a few bytes is a Contact of its own, and a code page it names opens Qt's
    // converter: the bounds leave room for both, and none for work that grows faster than the text.
    if (peak - before > 64 * size + 4 * 1024 * 1024)
        std::abort();
    if (cpuSeconds() - start > 0.05 + 20e-6 * double(size))
        std::abort();
    return 0;
}
