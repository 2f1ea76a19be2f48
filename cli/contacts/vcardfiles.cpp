#include "cli/contacts/vcardfiles.h"

#include "cli/contacts/vcard.h"
#include "dates/systemerrors.h"

#include <QFile>

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

constexpr int readOnlyFile = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
constexpr int readOnlyFolder = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

using Folder = std::unique_ptr<DIR, int (*)(DIR*)>;

struct OpenFile
{
    const int descriptor;
    ~OpenFile()
    {
        if (descriptor >= 0)
            close(descriptor);
    }
};

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

// A path as a message may quote it to a terminal: control and invisible formatting characters
// escaped, as the names in a synchronised folder come from a server.
QString shownPath(const QString& path)
{
    QString shown;
    for (const QChar c : path) {
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            shown += u"\\u"_s + u"%1"_s.arg(c.unicode(), 4, 16, QChar(u'0')).toUpper();
        else
            shown += c;
    }
    return shown;
}

QString refusal(const QString& path, const QString& reason)
{
    return u"Nem olvashatók a névjegyek innen: „%1” – %2."_s.arg(shownPath(path), reason);
}

QString notAFileText(mode_t mode)
{
    const QString kind = S_ISFIFO(mode)                   ? u"cső (FIFO)"_s
                         : S_ISSOCK(mode)                 ? u"foglalat (socket)"_s
                         : S_ISCHR(mode) || S_ISBLK(mode) ? u"eszköz"_s
                                                          : u"különleges fájl"_s;
    return u"ez nem fájl és nem mappa, hanem %1"_s.arg(kind);
}

QString tooBigText()
{
    return u"a fájl nagyobb 64 MiB-nál, ekkora névjegyfájl nincs"_s;
}

// How reading one file went: the reason it was not read, empty when it was.
struct FileRead
{
    bool regular = true;
    QString failure;
};

// Reads the file `name`, relative to the folder `at`, whole into `bytes`. Opening never blocks
// nor takes a terminal, and fstat makes sure that no pipe or device took the place of the file
// that was looked at before.
FileRead readRegularFile(int at, const char* name, QByteArray& bytes)
{
    const OpenFile file{openat(at, name, readOnlyFile)};
    const int descriptor = file.descriptor;
    if (descriptor < 0)
        return {true, systemErrorText(errno)};
    struct stat status;
    if (fstat(descriptor, &status) != 0)
        return {true, systemErrorText(errno)};
    if (!S_ISREG(status.st_mode))
        return {false, notAFileText(status.st_mode)};
    if (status.st_size > maximumFileSize)
        return {true, tooBigText()};

    // A file that shrinks meanwhile is read as far as it goes, one that grows as far as it was.
    bytes.resize(status.st_size);
    qsizetype filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = read(descriptor, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return {true, systemErrorText(errno)};
        if (got == 0)
            break;
        filled += got;
    }
    bytes.resize(filled);
    return {};
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
        listing.firstUnreadable = u"„%1”: %2"_s.arg(shownPath(QFile::decodeName(path)), why);
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
    const FileRead read = readRegularFile(AT_FDCWD, encodedPath.constData(), bytes);
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
        const FileRead read = readRegularFile(dirfd(folder.get()), file.constData(), bytes);
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
    const QByteArray encodedPath = QFile::encodeName(path);
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
