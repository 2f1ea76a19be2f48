#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The program's arguments as texts. Bytes that are not UTF-8 are kept as the lone surrogates
// U+DC80..U+DCFF, so that a file name the system gave comes back byte for byte.
QStringList decodedArguments(int argc, char* argv[]);
QString decodedArgument(QByteArrayView bytes);

// An argument as the system names a file: the exact bytes it was given as.
QByteArray argumentBytes(const QString& argument);

// An argument as a message may quote it to a terminal: control and invisible formatting
// characters and bytes that are not UTF-8 escaped (\x1B, \u202E, \xFF), and no more than its
// first 80 characters.
QString shownArgument(const QString& argument);
