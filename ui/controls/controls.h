#pragma once

#include <QWidget>

#include <functional>
#include <utility>

class QColor;
class QKeyEvent;
class QLabel;

// A control of `window` under its object name, at its designed place.
template<typename Control, typename... Arguments>
Control* addControl(QWidget* window, const char* name, QRect geometry, Arguments&&... arguments)
{
    auto* control = new Control(std::forward<Arguments>(arguments)..., window);
    control->setObjectName(QLatin1StringView(name));
    control->setGeometry(geometry);
    return control;
}

// The boxed labels that show names: a sunken single border on white, whatever the theme.
void makeNamePlate(QLabel* label);

// Shows `text` on a name plate in `font` where it fits inside the window, else in the largest
// smaller size of the same face that does, centred on the window's outer width and kept
// inside the window. Screen readers hear the text as shown, then what it means ("mai
// névnap"), set together so the two never tell different days.
void showOnNamePlate(QLabel* plate, const QFont& font, const QString& text, const QString& meaning);

void setTextColour(QWidget* control, const QColor& colour);

// Shows a window without blocking the others, in front of them and ready for keys.
void showInFront(QWidget* window);

// Return or Enter on the push button that has the focus presses it, as Space does: Qt's buttons
// do so by themselves only in dialogs. True when it pressed one.
bool pressFocusedButton(const QWidget* window, const QKeyEvent* event);

// As pressFocusedButton, and Escape, once an open list or a field has taken what it wants of it,
// leaves the window as its exit button does. False for any other key, which the window passes on.
bool pressFocusedButtonOrLeave(const QWidget* window, const QKeyEvent* event,
                               const std::function<void()>& leave);
