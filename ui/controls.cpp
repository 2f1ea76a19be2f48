#include "ui/controls.h"

#include <QLabel>

void makeNamePlate(QLabel* label)
{
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    QPalette colours = label->palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::HighlightedText));
    label->setPalette(colours);
}

void setSpokenText(QLabel* label, const QString& text, const QString& spoken)
{
    label->setText(text);
    label->setAccessibleName(spoken);
}

void setTextColour(QWidget* control, const QColor& colour)
{
    QPalette colours = control->palette();
    colours.setColor(QPalette::WindowText, colour);
    control->setPalette(colours);
}

void showInFront(QWidget* window)
{
    window->show();
    window->raise();
    window->activateWindow();
}
