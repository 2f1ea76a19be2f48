#pragma once

#include <QByteArray>
#include <QIODevice>

#include <optional>
#include <sys/types.h>
#include <time.h>

// Writes to a file descriptor it does not own. When a write fails, errorString() says why in
// Hungarian.
class DescriptorOutput : public QIODevice
{
public:
    explicit DescriptorOutput(int descriptor = -1);

    // The errno of the last failure, 0 while none.
    int systemError() const { return m_systemError; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

    void setDescriptor(int descriptor) { m_descriptor = descriptor; }
    int descriptor() const { return m_descriptor; }
    void setSystemError(int error);

private:
    int m_descriptor;
    int m_systemError = 0;
};

// The file a user asked for, written whole or not at all. A new or regular file is replaced
// through a temporary file beside it, which takes the old file's permissions, and its owner and
// group where the process may set them. Any other existing file, a device or a pipe, is written
// directly and never replaced. A symbolic link is followed: its target is written and the link
// stays a link. The path is bytes, as the system names the file; a new file gets
// `newFileMode` less the umask.
class OutputFile : public DescriptorOutput
{
public:
    explicit OutputFile(QByteArray path, mode_t newFileMode = 0666);
    ~OutputFile() override; // what was not committed is removed

    bool open(OpenMode mode = WriteOnly) override;
    // The committed file's modification time is at least a whole second after the replaced
    // file's, so that a reader that compares times in seconds sees every replacement.
    void moveTimeOn() { m_movesTimeOn = true; }
    // Puts the written file in place; false when that or any write failed.
    bool commit();

private:
    bool fail(int error);
    void discard();

    QByteArray m_path;
    mode_t m_newFileMode;
    bool m_movesTimeOn = false;
    std::optional<timespec> m_replacedTime;
    QByteArray m_target;    // the file that is written: the path, its links followed
    QByteArray m_temporary; // empty where the target is written directly
};
