#pragma once

#include <QFont>

// The windows were designed with Windows fonts. Each face is asked for by its own
// name first, then by a free face of similar shape and size.
QFont timesNewRoman(qreal points, bool bold = false);
QFont arial(qreal points, bool bold = false);
QFont impact(qreal points);
QFont msSansSerif(qreal points, bool bold = false);
