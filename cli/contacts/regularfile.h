#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

// How reading one file went: why it was not read, empty when it was.
struct FileRead
{
    bool regular = true; // false for a pipe, a device or a socket, which is never read
    QString failure;
};

// Reads the file `name`, relative to the folder `at` (AT_FDCWD for the working folder), whole
// into `bytes`, where it is a regular file of at most `largest` bytes. Opening never blocks nor
// takes a terminal, and fstat makes sure that no pipe or device took the place of the file that
// was looked at before.
FileRead readRegularFile(int at, const char* name, off_t largest, QByteArray& bytes);

// "ez nem fájl és nem mappa, hanem eszköz", for what stat found at a path.
QString notAFileText(mode_t mode);
