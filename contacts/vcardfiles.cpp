#include "contacts/vcardfiles.h"

#include "contacts/vcard.h"
#include "system/arguments.h"
#include "system/regularfile.h"
#include "system/systemerrors.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <set>
#include <span>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>
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

// Files and sub-folders that could not be read: how many, and the first of them with why.
struct Unreadable
{
    int count = 0;
    QString first; // the first by name, whatever order the folder lists them in
    QByteArray firstPath;

    void note(const QByteArray& path, const QString& why)
    {
        if (count++ > 0 && path >= firstPath)
            return;
        firstPath = path;
        first = u"„%1”: %2"_s.arg(shownArgument(decodedArgument(path)), why);
    }

    void add(const Unreadable& other)
    {
        if (other.count > 0 && (count == 0 || other.firstPath < firstPath)) {
            firstPath = other.firstPath;
            first = other.first;
        }
        count += other.count;
    }
};

// A file or folder, as the system knows it whatever the names and links that lead to it.
using Identity = std::pair<dev_t, ino_t>;

// The vCard files of a folder and of its sub-folders, as paths relative to it.
struct FolderListing
{
    QByteArray root; // the folder's own path, links resolved, with a final '/'
    std::vector<std::pair<QByteArray, Identity>> files;
    std::set<Identity> folders;
    int entries = 0;
    bool tooMany = false;
    Unreadable unreadable; // sub-folders and files that could not be looked at
};

// Whether what the link `path` (relative to the folder) points to lies inside the folder.
bool leadsInside(const FolderListing& listing, const QByteArray& path)
{
    char* resolved = realpath((listing.root + path).constData(), nullptr);
    const bool inside = resolved && (QByteArray(resolved) + '/').startsWith(listing.root);
    std::free(resolved);
    return inside;
}

// Adds the vCard files of `folder` to `listing`, and those of its sub-folders when asked to.
// Counting stops at the limit of entries.
void listFolder(DIR* folder, const QByteArray& prefix, bool withSubFolders, FolderListing& listing)
{
    const int at = dirfd(folder);
    struct stat own;
    if (fstat(at, &own) != 0 || !listing.folders.insert({own.st_dev, own.st_ino}).second)
        return;
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
        Identity identity{own.st_dev, entry->d_ino};
        if (type == DT_LNK || type == DT_UNKNOWN) {
            struct stat status;
            if (fstatat(at, name, &status, 0) != 0) {
                if (vCardFile)
                    listing.unreadable.note(path, systemErrorText(errno));
                continue;
            }
            type = S_ISREG(status.st_mode) ? DT_REG : S_ISDIR(status.st_mode) ? DT_DIR : DT_UNKNOWN;
            if ((type == DT_DIR || vCardFile) && entry->d_type == DT_LNK &&
                !leadsInside(listing, path)) {
                listing.unreadable.note(path, u"a mappán kívülre mutató link"_s);
                continue;
            }
            identity = {status.st_dev, status.st_ino};
        }
        if (type == DT_REG && vCardFile) {
            listing.files.emplace_back(path, identity);
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

// What one thread read of a folder's files.
struct Share
{
    SourceReading reading;
    Unreadable unreadable;
    int readFiles = 0;
};

void readShare(int folder, std::span<const QByteArray> files, Share& share)
{
    QByteArray bytes; // one buffer for every file
    for (const QByteArray& file : files) {
        const FileRead read = readRegularFile(folder, file.constData(), maximumFileSize, bytes);
        if (read.failure.isEmpty()) {
            readVCards(bytes, share.reading, file);
            ++share.readFiles;
        } else if (read.regular) {
            share.unreadable.note(file, read.failure);
        }
    }
}

// A folder that a phone or vdirsyncer keeps holds thousands of small files, and opening and
// reading them is most of the time a status bar waits: a share of them for every core, in the
// order of their names, where there are enough of them to pay for a thread.
int readShares(int folder, std::span<const QByteArray> files, SourceReading& reading,
               Unreadable& unreadable)
{
    const int cores = std::clamp(int(std::thread::hardware_concurrency()), 1, 4);
    const qsizetype count = qsizetype(files.size());
    const qsizetype shareCount = std::clamp<qsizetype>(count / 256, 1, cores);
    std::vector<Share> shares(shareCount);
    const auto shareOf = [&](qsizetype index) {
        const qsizetype first = count * index / shareCount;
        return files.subspan(first, count * (index + 1) / shareCount - first);
    };
    std::vector<std::thread> workers;
    for (qsizetype index = 1; index < shareCount; ++index)
        workers.emplace_back(readShare, folder, shareOf(index), std::ref(shares[index]));
    readShare(folder, shareOf(0), shares[0]);
    for (std::thread& worker : workers)
        worker.join();
    int readFiles = 0;
    for (Share& share : shares) {
        reading.contacts += std::move(share.reading.contacts);
        reading.cards += share.reading.cards;
        reading.malformed += share.reading.malformed;
        reading.notPeople += share.reading.notPeople;
        for (CardNote& note : share.reading.notes)
            reading.note(std::move(note));
        reading.noteCount += share.reading.noteCount - int(share.reading.notes.size());
        unreadable.add(share.unreadable);
        readFiles += share.readFiles;
    }
    return readFiles;
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
    readVCards(bytes, reading, encodedPath);
    if (reading.cards == 0)
        reading.problem = refusal(path, u"nincs benne névjegy (vCard)"_s);
}

void readFolder(const QString& path, const QByteArray& encodedPath, SourceReading& reading)
{
    const Folder folder = openFolder(AT_FDCWD, encodedPath.constData());
    char* root = folder ? realpath(encodedPath.constData(), nullptr) : nullptr;
    if (!root) {
        reading.problem = refusal(path, systemErrorText(errno));
        return;
    }
    FolderListing listing;
    listing.root = QByteArray(root) + '/';
    std::free(root);
    listFolder(folder.get(), QByteArray(), true, listing);
    if (listing.tooMany) {
        reading.problem = refusal(path, u"több mint százezer fájl van benne és az almappáiban"_s);
        return;
    }
    // Each file once, by the first of its names, however links lead to it.
    std::sort(listing.files.begin(), listing.files.end());
    std::set<Identity> seen;
    std::vector<QByteArray> files;
    for (const auto& [file, identity] : listing.files)
        if (seen.insert(identity).second)
            files.push_back(file);
    Unreadable& unreadable = listing.unreadable;
    const int readFiles = readShares(dirfd(folder.get()), files, reading, unreadable);

    if (readFiles == 0 && unreadable.count > 0)
        reading.problem =
            refusal(path, u"egyik vCard-fájlja sem olvasható, például %1"_s.arg(unreadable.first));
    else if (reading.cards == 0)
        reading.problem = refusal(path, u"sem benne, sem az almappáiban nincs névjegy (vCard)"_s);
    else if (unreadable.count == 1)
        reading.problem = u"Nem minden névjegy olvasható innen: „%1” – kimaradt %2."_s.arg(
            shownArgument(path), unreadable.first);
    else if (unreadable.count > 1)
        reading.problem =
            u"Nem minden névjegy olvasható innen: „%1” – %2 fájl vagy almappa kimaradt, például "
            "%3."_s.arg(shownArgument(path))
                .arg(unreadable.count)
                .arg(unreadable.first);
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
