#include "contacts/vcardfiles.h"

#include "contacts/vcard.h"
#include "system/arguments.h"
#include "system/regularfile.h"
#include "system/systemerrors.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <span>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace {
// An address book of thousands of people is a few megabytes; reading anything much larger, or a
// folder of more entries, would stall a status bar for a path that was named by mistake.
constexpr off_t maximumFileSize = 64 * 1024 * 1024;
constexpr int maximumFolderEntries = 100'000;

constexpr int readOnlyFolder = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

using Folder = std::unique_ptr<DIR, int (*)(DIR*)>;

Folder openFolder(int at, const char* name)
{
    const int descriptor = openat(at, name, readOnlyFolder);
    DIR* folder = descriptor < 0 ? nullptr : fdopendir(descriptor);
    if (descriptor >= 0 && !folder) {
        const int error = errno;
        close(descriptor);
        errno = error;
    }
    return Folder(folder, closedir);
}

QString refusal(const QString& path, const QString& reason)
{
    return u"Nem olvashatók a névjegyek innen: „%1” – %2."_s.arg(shownArgument(path), reason);
}

bool isVCardFileName(const char* name)
{
    const size_t length = std::strlen(name);
    return name[0] != '.' && length > 4 && strcasecmp(name + length - 4, ".vcf") == 0;
}

// The vCard files of a folder and of its sub-folders, as paths relative to it.
// Files and sub-folders that could not be read: how many, and the first of them with why.
struct Unreadable
{
    int count = 0;
    QString first;

    void note(const QByteArray& path, const QString& why)
    {
        if (count++ == 0)
            first = u"„%1”: %2"_s.arg(shownArgument(decodedArgument(path)), why);
    }
};

struct FolderListing
{
    QList<QByteArray> files;
    int entries = 0;
    bool tooMany = false;
    Unreadable unreadable; // sub-folders and files that could not be looked at
};

// Adds the vCard files of `folder` to `listing`, and those of its sub-folders when asked to.
// Counting stops at the limit of entries.
void listFolder(DIR* folder, const QByteArray& prefix, bool withSubFolders, FolderListing& listing)
{
    const int at = dirfd(folder);
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(folder);
        if (!entry) {
            if (errno != 0)
                listing.unreadable.note(prefix.isEmpty() ? "." : prefix.chopped(1),
                                        systemErrorText(errno));
            return;
        }
        const char* name = entry->d_name;
        if (std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        if (++listing.entries > maximumFolderEntries) {
            listing.tooMany = true;
            return;
        }
        const bool vCardFile = isVCardFileName(name);
        if (name[0] == '.' || (!vCardFile && !withSubFolders))
            continue;
        const QByteArray path = prefix + name;
        unsigned char type = entry->d_type;
        if (type == DT_LNK || type == DT_UNKNOWN) {
            struct stat status;
            if (fstatat(at, name, &status, 0) != 0) {
                if (vCardFile)
                    listing.unreadable.note(path, systemErrorText(errno));
                continue;
            }
            type = S_ISREG(status.st_mode) ? DT_REG : S_ISDIR(status.st_mode) ? DT_DIR : DT_UNKNOWN;
        }
        if (type == DT_REG && vCardFile) {
            listing.files.append(path);
        } else if (type == DT_DIR && withSubFolders) {
            const Folder subFolder = openFolder(at, name);
            if (!subFolder) {
                listing.unreadable.note(path, systemErrorText(errno));
                continue;
            }
            listFolder(subFolder.get(), path + '/', false, listing);
            if (listing.tooMany)
                return;
        }
    }
}

void readFile(const QString& path, const QByteArray& encodedPath, SourceReading& reading)
{
    QByteArray bytes;
    const FileRead read =
        readRegularFile(AT_FDCWD, encodedPath.constData(), maximumFileSize, bytes);
    if (!read.failure.isEmpty()) {
        reading.problem = refusal(path, read.failure);
        return;
    }
    readVCards(bytes, reading);
    if (reading.cards == 0)
        reading.problem = refusal(path, u"nincs benne névjegy (vCard)"_s);
}

// What one thread read of a folder's files.
struct Share
{
    SourceReading reading;
    int readFiles = 0;
    Unreadable unreadable;
};

void readShare(int folder, std::span<const QByteArray> files, Share& share)
{
    // One buffer for every file.
    QByteArray bytes;
    for (const QByteArray& file : files) {
        const FileRead read = readRegularFile(folder, file.constData(), maximumFileSize, bytes);
        if (read.failure.isEmpty()) {
            readVCards(bytes, share.reading);
            ++share.readFiles;
        } else if (read.regular) {
            share.unreadable.note(file, read.failure);
        }
    }
}

void readFolder(const QString& path, const QByteArray& encodedPath, SourceReading& reading)
{
    const Folder folder = openFolder(AT_FDCWD, encodedPath.constData());
    if (!folder) {
        reading.problem = refusal(path, systemErrorText(errno));
        return;
    }
    FolderListing listing;
    listFolder(folder.get(), QByteArray(), true, listing);
    if (listing.tooMany) {
        reading.problem = refusal(path, u"több mint százezer fájl van benne és az almappáiban"_s);
        return;
    }
    std::sort(listing.files.begin(), listing.files.end());

    // A synchronised address book holds a file per person, and reading them is mostly waiting
    // for the system: the files are read a share at a time, a share for every core.
    const int cores = std::clamp(int(std::thread::hardware_concurrency()), 1, 4);
    const qsizetype count = listing.files.size();
    const qsizetype shareCount = std::clamp<qsizetype>(count / 256, 1, cores);
    std::vector<Share> shares(shareCount);
    std::vector<std::thread> workers;
    const auto shareOf = [&](qsizetype index) {
        return std::span(listing.files)
            .subspan(count * index / shareCount,
                     count * (index + 1) / shareCount - count * index / shareCount);
    };
    const int at = dirfd(folder.get());
    for (qsizetype index = 1; index < shareCount; ++index)
        workers.emplace_back(readShare, at, shareOf(index), std::ref(shares[index]));
    readShare(at, shareOf(0), shares[0]);
    for (std::thread& worker : workers)
        worker.join();

    int readFiles = 0;
    Unreadable& unreadable = listing.unreadable;
    for (Share& share : shares) {
        reading.contacts += std::move(share.reading.contacts);
        reading.cards += share.reading.cards;
        reading.malformed += share.reading.malformed;
        readFiles += share.readFiles;
        if (unreadable.count == 0)
            unreadable.first = share.unreadable.first;
        unreadable.count += share.unreadable.count;
    }
    if (readFiles == 0 && unreadable.count > 0)
        reading.problem =
            refusal(path, u"egyik vCard-fájlja sem olvasható, például %1"_s.arg(unreadable.first));
    else if (reading.cards == 0)
        reading.problem = refusal(path, u"sem benne, sem az almappáiban nincs névjegy (vCard)"_s);
}
} // namespace

SourceReading readVCardSource(const QString& path)
{
    SourceReading reading;
    reading.source = path;
    const QByteArray encodedPath = argumentBytes(path);
    struct stat status;
    if (encodedPath.contains('\0'))
        reading.problem = refusal(path, systemErrorText(ENOENT));
    else if (stat(encodedPath.constData(), &status) != 0)
        reading.problem = refusal(path, systemErrorText(errno));
    else if (S_ISDIR(status.st_mode))
        readFolder(path, encodedPath, reading);
    else if (S_ISREG(status.st_mode))
        readFile(path, encodedPath, reading);
    else
        reading.problem = refusal(path, notAFileText(status.st_mode));
    return reading;
}
