#include "ui/fonts.h"

#include <QStringList>

using namespace Qt::StringLiterals;

namespace {
QFont font(const QStringList& families, qreal points, bool bold)
{
    QFont result;
    result.setFamilies(families);
    result.setPointSizeF(points);
    result.setBold(bold);
    return result;
}
} // namespace

QFont timesNewRoman(qreal points, bool bold)
{
    return font({u"Times New Roman"_s, u"Liberation Serif"_s}, points, bold);
}

QFont arial(qreal points, bool bold)
{
    return font({u"Arial"_s, u"Liberation Sans"_s}, points, bold);
}

// Impact is a heavy, narrow headline face; a narrow bold sans keeps its width.
QFont impact(qreal points)
{
    return font({u"Impact"_s, u"Liberation Sans Narrow"_s}, points, true);
}

QFont msSansSerif(qreal points, bool bold)
{
    return font({u"MS Sans Serif"_s, u"Liberation Sans"_s}, points, bold);
}
