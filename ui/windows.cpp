#include "ui/windows.h"

#include "ui/calendar/calendarwindow.h"
#include "ui/controls.h"
#include "ui/main/mainwindow.h"
#include "ui/search/searchwindow.h"

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

SearchWindow& Windows::searchWindow()
{
    return createOnFirstUse(m_searchWindow, *this);
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
