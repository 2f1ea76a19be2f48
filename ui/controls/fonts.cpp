#include "ui/controls/fonts.h"

#include <QFontDatabase>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace {
// The first installed family, alone. Qt sends a family it cannot find through fontconfig's
// fallback sort, which weighs every installed font, and sorts again for the face it settles on
// when the list names more than one.
QStringList installed(const QStringList& families)
{
    for (const QString& family : families)
        if (!QFontDatabase::styles(family).isEmpty())
            return {family};
    return families; // none is: Qt's own fallback finds the nearest
}

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
    static const QStringList families = installed({u"Times New Roman"_s, u"Liberation Serif"_s});
    return font(families, points, bold);
}

QFont arial(qreal points, bool bold)
{
    static const QStringList families = installed({u"Arial"_s, u"Liberation Sans"_s});
    return font(families, points, bold);
}

// Impact is a heavy, narrow headline face; a narrow bold sans keeps its width.
QFont impact(qreal points)
{
    static const QStringList families = installed({u"Impact"_s, u"Liberation Sans Narrow"_s});
    return font(families, points, true);
}

QFont msSansSerif(qreal points, bool bold)
{
    static const QStringList families = installed({u"MS Sans Serif"_s, u"Liberation Sans"_s});
    return font(families, points, bold);
}
