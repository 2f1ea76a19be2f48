#pragma once

#include <QString>
#include <QStringView>

// " 42" for 42: a leading space stands where a minus sign would; "-5" for -5.
QString numberText(int number);

// The number at the start of the text after leading blanks ("08" gives 8); 0 when there is none.
int textToNumber(QStringView text);

// Removes leading and trailing spaces only; tabs and other blanks stay.
QString trimBlanks(const QString& text);

// Upper case one character at a time, so the length never changes (ß stays ß).
QString upper(QStringView text);

// Position, counted from 1, of the first `what` in `text` at or after `start`; 0 when absent.
// An empty `what` is found at `start` in any non-empty text and nowhere in an empty one.
int find(int start, QStringView text, QStringView what);
