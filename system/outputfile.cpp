#include "system/outputfile.h"

#include "system/systemerrors.h"

#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
constexpr int maximumLinks = 40; // as many as the kernel follows

QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return ".";
    return slash == 0 ? QByteArray("/") : path.left(slash);
}

// The path with its symbolic links followed, to the file that a write should reach; empty with
// errno set where that cannot be found.
QByteArray linkTarget(QByteArray path)
{
    for (int links = 0; links <= maximumLinks; ++links) {
        struct stat status;
        if (lstat(path.constData(), &status) != 0)
            return errno == ENOENT ? path : QByteArray();
        if (!S_ISLNK(status.st_mode))
            return path;
        QByteArray target(PATH_MAX, Qt::Uninitialized);
        const ssize_t length = readlink(path.constData(), target.data(), target.size());
        if (length < 0)
            return {};
        target.truncate(length);
        path = target.startsWith('/') ? target : folderOf(path) + '/' + target;
    }
    errno = ELOOP;
    return {};
}
} // namespace

DescriptorOutput::DescriptorOutput(int descriptor)
    : m_descriptor(descriptor)
{
}

qint64 DescriptorOutput::writeData(const char* data, qint64 size)
{
    qint64 written = 0;
    while (written < size) {
        const ssize_t result = ::write(m_descriptor, data + written, size_t(size - written));
        if (result < 0 && errno == EINTR)
            continue;
        if (result <= 0) {
            setSystemError(result < 0 ? errno : EIO);
            return -1;
        }
        written += result;
    }
    return written;
}

void DescriptorOutput::setSystemError(int error)
{
    m_systemError = error;
    setErrorString(systemErrorText(error));
}

OutputFile::OutputFile(QByteArray path, mode_t newFileMode)
    : m_path(std::move(path))
    , m_newFileMode(newFileMode)
{
}

OutputFile::~OutputFile()
{
    discard();
}

bool OutputFile::open(OpenMode mode)
{
    if (m_path.isEmpty())
        return fail(ENOENT);
    m_target = linkTarget(m_path);
    if (m_target.isEmpty())
        return fail(errno);

    struct stat existing;
    const bool exists = stat(m_target.constData(), &existing) == 0;
    if (!exists && errno != ENOENT)
        return fail(errno);
    if (exists && !S_ISREG(existing.st_mode)) {
        // A device or a pipe is what the user asked to write to, so it is never replaced.
        const int descriptor = ::open(m_target.constData(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
        if (descriptor < 0)
            return fail(errno);
        setDescriptor(descriptor);
        return QIODevice::open(mode | Unbuffered);
    }

    int descriptor = -1;
    for (int attempt = 0; descriptor < 0 && attempt < 100; ++attempt) {
        m_temporary = folderOf(m_target) + "/." + m_target.mid(m_target.lastIndexOf('/') + 1) +
                      '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        // The umask applies to a new file, as it would to the file written in place.
        descriptor = ::open(m_temporary.constData(),
                            O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, m_newFileMode);
        if (descriptor < 0 && errno != EEXIST) {
            m_temporary.clear();
            return fail(errno);
        }
    }
    if (descriptor < 0) {
        m_temporary.clear();
        return fail(EEXIST);
    }
    setDescriptor(descriptor);
    if (exists) {
        m_replacedTime = existing.st_mtim;
        if (fchmod(descriptor, existing.st_mode & 07777) != 0)
            return fail(errno);
        // Only a privileged process may give a file away; a group may be set by its members.
        if (fchown(descriptor, existing.st_uid, existing.st_gid) != 0) [[maybe_unused]]
            const int ignored = fchown(descriptor, uid_t(-1), existing.st_gid);
    }
    return QIODevice::open(mode | Unbuffered);
}

bool OutputFile::commit()
{
    if (!isOpen() || systemError() != 0)
        return fail(systemError() ? systemError() : EBADF);
    const int descriptor = this->descriptor();
    if (!m_temporary.isEmpty() && m_movesTimeOn && m_replacedTime) {
        struct stat written;
        if (fstat(descriptor, &written) != 0)
            return fail(errno);
        if (written.st_mtim.tv_sec <= m_replacedTime->tv_sec) {
            const timespec times[2] = {{0, UTIME_OMIT}, {m_replacedTime->tv_sec + 1, 0}};
            if (futimens(descriptor, times) != 0)
                return fail(errno);
        }
    }
    QIODevice::close();
    setDescriptor(-1);
    if (m_temporary.isEmpty()) {
        if (::close(descriptor) != 0 && errno != EINTR)
            return fail(errno);
        return true;
    }
    // The descriptor is closed whether or not the data reached the disk.
    int error = fsync(descriptor) == 0 ? 0 : errno;
    if (::close(descriptor) != 0 && error == 0)
        error = errno;
    if (error == 0 && rename(m_temporary.constData(), m_target.constData()) != 0)
        error = errno;
    if (error != 0)
        return fail(error);
    m_temporary.clear();
    return true;
}

bool OutputFile::fail(int error)
{
    setSystemError(error);
    discard();
    return false;
}

void OutputFile::discard()
{
    if (descriptor() >= 0) {
        ::close(descriptor());
        setDescriptor(-1);
    }
    QIODevice::close();
    if (!m_temporary.isEmpty()) {
        unlink(m_temporary.constData());
        m_temporary.clear();
    }
}
