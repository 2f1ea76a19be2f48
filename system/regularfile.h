#pragma once

#include <QByteArray>
#include <QString>

#include <sys/types.h>

// How opening or reading one file went: why it was not read, empty when it was.
struct FileRead
{
    bool regular = true; // false for a pipe, a device or a socket, which is never read
    QString failure;
    off_t size = 0; // of the file opened
};

// Opens the file `name`, relative to the folder `at` (AT_FDCWD for the working folder), where it
// is a regular file of at most `largest` bytes: its descriptor, which the caller closes, or -1
// and why in `opened`. Opening never blocks nor takes a terminal, so a pipe or a device costs
// nothing.
int openRegularFile(int at, const char* name, off_t largest, FileRead& opened);

// Reads the file `name` whole into `bytes`, where it is a regular file of at most `largest` bytes;
// the caller has found a regular file there. Anything larger than one read is made sure of with
// fstat before more is read, so a pipe or device that took the file's place gives at most 64 KiB.
FileRead readRegularFile(int at, const char* name, off_t largest, QByteArray& bytes);

// "ez nem fájl és nem mappa, hanem eszköz", for what stat found at a path.
QString notAFileText(mode_t mode);
