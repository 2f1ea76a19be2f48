#pragma once

#include "support/fakeclock.h"
#include "ui/windows.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QTest>
#include <QWidget>

// The whole program on a fixed clock: as many runs per test binary as there are test
// functions.
struct Program
{
    explicit Program(const QDateTime& start)
        : clock(start)
    {
    }

    FakeClock clock;
    Windows windows;
};

// A control of a window by its object name; a missing control ends the test binary,
// as nothing else in the test could make sense of it.
template<typename Control> Control* child(const QObject& window, const char* name)
{
    auto* control = window.findChild<Control*>(QLatin1StringView(name));
    if (!control)
        qFatal("%s has no control %s", qPrintable(window.objectName()), name);
    return control;
}

// Picks an entry from a picker's drop-down list with the mouse, as a user does.
inline void pick(QComboBox* picker, int index)
{
    picker->showPopup();
    QAbstractItemView* list = picker->view();
    const QModelIndex item = list->model()->index(index, 0);
    list->scrollTo(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(item).center());
}
