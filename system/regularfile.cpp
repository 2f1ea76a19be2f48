#include "system/regularfile.h"

#include "system/systemerrors.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {
struct OpenFile
{
    const int descriptor;
    ~OpenFile()
    {
        if (descriptor >= 0)
            close(descriptor);
    }
};
} // namespace

QString notAFileText(mode_t mode)
{
    const QString kind = S_ISFIFO(mode)                   ? u"cső (FIFO)"_s
                         : S_ISSOCK(mode)                 ? u"foglalat (socket)"_s
                         : S_ISCHR(mode) || S_ISBLK(mode) ? u"eszköz"_s
                                                          : u"különleges fájl"_s;
    return u"ez nem fájl és nem mappa, hanem %1"_s.arg(kind);
}

namespace {
// Opening never blocks on a pipe nor takes a terminal.
int openWithoutBlocking(int at, const char* name)
{
    return openat(at, name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

// Why the open file is not read: empty where it is a regular file of at most `largest` bytes.
FileRead refusalOf(int descriptor, off_t largest)
{
    struct stat status;
    if (fstat(descriptor, &status) != 0)
        return {true, systemErrorText(errno)};
    if (!S_ISREG(status.st_mode))
        return {false, notAFileText(status.st_mode)};
    if (status.st_size > largest)
        return {true, u"a fájl nagyobb %1 MiB-nál"_s.arg(largest / (1024 * 1024))};
    return {true, {}, status.st_size};
}
} // namespace

int openRegularFile(int at, const char* name, off_t largest, FileRead& opened)
{
    const int descriptor = openWithoutBlocking(at, name);
    opened =
        descriptor < 0 ? FileRead{true, systemErrorText(errno)} : refusalOf(descriptor, largest);
    if (opened.failure.isEmpty())
        return descriptor;
    if (descriptor >= 0)
        close(descriptor);
    return -1;
}

FileRead readRegularFile(int at, const char* name, off_t largest, QByteArray& bytes)
{
    const OpenFile file{openWithoutBlocking(at, name)};
    const int descriptor = file.descriptor;
    if (descriptor < 0)
        return {true, systemErrorText(errno)};
    const auto readInto = [&](qsizetype from) {
        for (;;) {
            const ssize_t got = read(descriptor, bytes.data() + from, bytes.size() - from);
            if (got >= 0 || errno != EINTR)
                return got;
        }
    };

    // A card file is small, and a short read is the end of a regular file, so most files take
    // one read, which spares an fstat for each of a folder's thousands of files; what fills it
    // is made sure of first: a regular file, and not too large. The caller found a regular file
    // here, and what took its place since cannot block (O_NONBLOCK) nor give more than this one
    // read.
    constexpr qsizetype firstRead = 64 * 1024;
    bytes.resize(firstRead);
    qsizetype filled = readInto(0);
    if (filled < 0)
        return {true, systemErrorText(errno)};
    if (filled < firstRead) {
        bytes.resize(filled);
        return {};
    }
    const FileRead refusal = refusalOf(descriptor, largest);
    if (!refusal.failure.isEmpty())
        return refusal;

    // A file that shrinks meanwhile is read as far as it goes, one that grows as far as it was.
    bytes.resize(std::max<qsizetype>(refusal.size, filled));
    while (filled < bytes.size()) {
        const ssize_t got = readInto(filled);
        if (got < 0)
            return {true, systemErrorText(errno)};
        if (got == 0)
            break;
        filled += got;
    }
    bytes.resize(filled);
    return {};
}
