#pragma once

#include <QWidget>

#include <utility>

class QColor;
class QLabel;

// A control of `window` under its design name, at its designed place.
template<typename Control, typename... Arguments>
Control* addControl(QWidget* window, const char* name, QRect geometry, Arguments&&... arguments)
{
    auto* control = new Control(std::forward<Arguments>(arguments)..., window);
    control->setObjectName(QLatin1StringView(name));
    control->setGeometry(geometry);
    return control;
}

// The boxed labels that show names: a sunken single border on the colour of selected text.
void makeNamePlate(QLabel* label);

// Shows `text` on the label and gives screen readers `spoken` in its place, kept together
// so the two never tell different days: padded name lists read badly aloud and do not say
// whose day they are.
void setSpokenText(QLabel* label, const QString& text, const QString& spoken);

void setTextColour(QWidget* control, const QColor& colour);

// Shows a window without blocking the others, in front of them and ready for keys.
void showInFront(QWidget* window);
