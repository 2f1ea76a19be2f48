#pragma once

#include <QRect>

// The windows are laid out in twips, as designed; 15 twips are one logical pixel,
// so Qt's high-DPI scaling applies on top.
constexpr int twips(double value)
{
    return qRound(value / 15.0);
}

constexpr QRect twipsRect(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

// The left edge that centres a control of `width` on a window `outerWidth` wide.
// The outer width includes the window frame, so the control sits one frame width
// right of the client area's centre.
constexpr int centredLeft(int outerWidth, int width)
{
    return qRound((outerWidth - width) / 2.0);
}
