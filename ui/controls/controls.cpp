#include "ui/controls/controls.h"

#include "ui/controls/twips.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStringBuilder>

#include <algorithm>
#include <cmath>

void makeNamePlate(QLabel* label)
{
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    // White, as the colour of selected text is in the standard scheme: the plates' text colours
    // are fixed, so their background is too, or a dark theme would put them on black.
    QPalette colours = label->palette();
    colours.setColor(QPalette::Window, Qt::white);
    label->setPalette(colours);
}

void showOnNamePlate(QLabel* plate, const QFont& font, const QString& text, const QString& meaning)
{
    plate->setText(text);
    const QString shown = text.simplified();
    plate->setAccessibleName(meaning.isEmpty() ? shown : shown % u" – " % meaning);

    const int room = plate->parentWidget()->width();
    QFont fitting = font;
    plate->setFont(fitting);
    plate->adjustSize();
    // The text narrows with the point size, the frame and margins do not: hence the loop.
    while (plate->width() > room && fitting.pointSizeF() > 1) {
        const qreal points = std::floor(4 * fitting.pointSizeF() * room / plate->width()) / 4;
        fitting.setPointSizeF(std::min(points, fitting.pointSizeF() - 0.25));
        plate->setFont(fitting);
        plate->adjustSize();
    }
    // The outer width includes the frame, which can push a plate that fits past the right edge.
    const int left = centredLeft(plate->window()->frameGeometry().width(), plate->width());
    plate->move(std::max(0, std::min(left, room - plate->width())), plate->y());
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

bool pressFocusedButton(const QWidget* window, const QKeyEvent* event)
{
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter)
        return false;
    auto* focused = qobject_cast<QPushButton*>(window->focusWidget());
    if (!focused || !focused->isVisible())
        return false;
    focused->click();
    return true;
}

bool pressFocusedButtonOrLeave(const QWidget* window, const QKeyEvent* event,
                               const std::function<void()>& leave)
{
    if (pressFocusedButton(window, event))
        return true;
    if (!event->matches(QKeySequence::Cancel))
        return false;
    leave();
    return true;
}
