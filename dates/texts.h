#pragma once

#include <QString>
#include <QStringView>

// " 42" for 42: a leading space stands where a minus sign would; "-5" for -5.
QString numberText(int number);

// Upper case one character at a time, so the length never changes (ß stays ß).
QString upper(QStringView text);
