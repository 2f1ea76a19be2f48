#include "cli/contacts/vcardfiles.h"

#include "cli/contacts/regularfile.h"
#include "cli/contacts/vcard.h"
#include "dates/arguments.h"
#include "dates/systemerrors.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

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
struct FolderListing
{
    QList<QByteArray> files;
    int entries = 0;
    bool tooMany = false;
    int unreadable = 0;      // sub-folders and files that could not be looked at
    QString firstUnreadable; // the first of them, and why
};

void noteUnreadable(FolderListing& listing, const QByteArray& path, const QString& why)
{
    if (listing.unreadable++ == 0)
        listing.firstUnreadable = u"„%1”: %2"_s.arg(shownArgument(decodedArgument(path)), why);
}

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
                noteUnreadable(listing, prefix.isEmpty() ? "." : prefix.chopped(1),
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
                    noteUnreadable(listing, path, systemErrorText(errno));
                continue;
            }
            type = S_ISREG(status.st_mode) ? DT_REG : S_ISDIR(status.st_mode) ? DT_DIR : DT_UNKNOWN;
        }
        if (type == DT_REG && vCardFile) {
            listing.files.append(path);
        } else if (type == DT_DIR && withSubFolders) {
            const Folder subFolder = openFolder(at, name);
            if (!subFolder) {
                noteUnreadable(listing, path, systemErrorText(errno));
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

    // One buffer for every file: a synchronised address book holds a file per person.
    QByteArray bytes;
    int readFiles = 0;
    for (const QByteArray& file : std::as_const(listing.files)) {
        const FileRead read =
            readRegularFile(dirfd(folder.get()), file.constData(), maximumFileSize, bytes);
        if (read.failure.isEmpty()) {
            readVCards(bytes, reading);
            ++readFiles;
        } else if (read.regular) {
            noteUnreadable(listing, file, read.failure);
        }
    }
    if (readFiles == 0 && listing.unreadable > 0)
        reading.problem = refusal(
            path, u"egyik vCard-fájlja sem olvasható, például %1"_s.arg(listing.firstUnreadable));
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
