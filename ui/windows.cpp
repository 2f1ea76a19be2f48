#include "ui/windows.h"

#include "ui/calendar/calendarwindow.h"
#include "ui/controls.h"
#include "ui/main/mainwindow.h"
#include "ui/search/searchwindow.h"

#include <QWindow>

Windows::Windows() = default;

Windows::~Windows()
{
    m_searchWindow.reset();
    m_calendarWindow.reset();
    m_mainWindow.reset();
}

// The pointer is set before the load step runs, so a load that reaches back to its
// own window finds it instead of creating a second one.
template<typename Window>
static Window& createOnFirstUse(std::unique_ptr<Window>& window, Windows& windows)
{
    if (!window) {
        window = std::make_unique<Window>(windows);
        window->load();
    }
    return *window;
}

MainWindow& Windows::mainWindow()
{
    return createOnFirstUse(m_mainWindow, *this);
}

// The search belongs to the main window, so clicking the main window never buries it. It is
// not the main window's child, which would hide with it when the calendar hides the main window.
static void keepAbove(QWidget& tool, QWidget& owner)
{
    tool.winId(); // both windows made on the desktop's side, which keeps them in order
    owner.winId();
    tool.windowHandle()->setTransientParent(owner.windowHandle());
}

SearchWindow& Windows::searchWindow()
{
    const bool opening = !m_searchWindow;
    SearchWindow& search = createOnFirstUse(m_searchWindow, *this);
    if (opening)
        keepAbove(search, mainWindow());
    return search;
}

CalendarWindow& Windows::calendarWindow()
{
    return createOnFirstUse(m_calendarWindow, *this);
}

QPoint Windows::mainWindowPosition()
{
    return mainWindow().pos();
}

int Windows::mainWindowHeight()
{
    return mainWindow().height();
}

void Windows::showMainWindow()
{
    mainWindow().show();
    // Window managers take a search shown while the main window was away for a window of its
    // own; shown again, it is the main window's again.
    if (m_searchWindow && m_searchWindow->isVisible()) {
        m_searchWindow->hide();
        m_searchWindow->show();
    }
}

void Windows::hideMainWindow()
{
    mainWindow().hide();
}

void Windows::showSearchWindow()
{
    showInFront(&searchWindow());
}

void Windows::showCalendarOn(const QDate& date)
{
    CalendarWindow& calendar = calendarWindow();
    calendar.showDate(date);
    showInFront(&calendar);
}

void Windows::hideCalendarWindow()
{
    calendarWindow().hide();
}

void Windows::setSearchButtonsVisible(bool visible)
{
    mainWindow().setSearchButtonVisible(visible);
    calendarWindow().setSearchButtonVisible(visible);
}

void Windows::end()
{
    for (QWidget* window :
         {static_cast<QWidget*>(m_searchWindow.get()),
          static_cast<QWidget*>(m_calendarWindow.get()), static_cast<QWidget*>(m_mainWindow.get())})
        if (window)
            window->hide();
    Q_EMIT ended();
}
