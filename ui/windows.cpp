#include "ui/windows.h"

#include "ui/calendar/calendarwindow.h"
#include "ui/controls.h"
#include "ui/main/mainwindow.h"
#include "ui/search/searchwindow.h"

#include <QWindow>

namespace {

// The pointer is set before anything else is done with a new window, so that nothing done
// then can create a second one.
template<typename Window> bool createIfNew(std::unique_ptr<Window>& window)
{
    if (window)
        return false;
    window = std::make_unique<Window>();
    return true;
}

// Connects a request of `window` to a hand-over, when `window` is the one that makes it.
template<typename Window>
void on(QWidget& window, void (Window::*request)(), Windows* windows, void (Windows::*handOver)())
{
    if (auto* asking = qobject_cast<Window*>(&window))
        QObject::connect(asking, request, windows, handOver);
}

// The search belongs to the main window, so clicking the main window never buries it. It is
// not the main window's child, which would hide with it when the calendar hides the main window.
void keepAbove(QWidget& tool, QWidget& owner)
{
    // Only native windows can belong to one another.
    tool.winId();
    owner.winId();
    tool.windowHandle()->setTransientParent(owner.windowHandle());
}

} // namespace

Windows::Windows() = default;

Windows::~Windows()
{
    m_searchWindow.reset();
    m_calendarWindow.reset();
    m_mainWindow.reset();
}

// Every hand-over between the windows: which request of which window does what. A window's
// requests are connected as it is created.
void Windows::connectHandOvers(QWidget& window)
{
    on(window, &MainWindow::searchRequested, this, &Windows::openSearchOverMainWindow);
    on(window, &MainWindow::calendarRequested, this, &Windows::openCalendarOnToday);
    on(window, &MainWindow::endRequested, this, &Windows::end);
    on(window, &SearchWindow::leaveRequested, this, &Windows::closeSearch);
    on(window, &CalendarWindow::searchRequested, this, &Windows::openSearchInPlaceOfMainWindow);
    on(window, &CalendarWindow::leaveRequested, this, &Windows::closeCalendar);
}

MainWindow& Windows::mainWindow()
{
    if (createIfNew(m_mainWindow)) {
        connectHandOvers(*m_mainWindow);
        m_mainWindow->load();
    }
    return *m_mainWindow;
}

// The first opening of the search places it on the main window, as high as it, and hides
// both "Névkeresés" buttons.
SearchWindow& Windows::searchWindow()
{
    if (createIfNew(m_searchWindow)) {
        connectHandOvers(*m_searchWindow);
        setSearchButtonsVisible(false);
        m_searchWindow->move(mainWindow().pos());
        // Both windows have the same frame, so equal client heights make equal outer heights.
        m_searchWindow->setFixedHeight(mainWindow().height());
        keepAbove(*m_searchWindow, mainWindow());
    }
    return *m_searchWindow;
}

CalendarWindow& Windows::calendarWindow()
{
    if (createIfNew(m_calendarWindow)) {
        connectHandOvers(*m_calendarWindow);
        m_calendarWindow->move(mainWindow().pos());
        m_calendarWindow->load();
    }
    return *m_calendarWindow;
}

void Windows::openSearchOverMainWindow()
{
    mainWindow().setSearchButtonVisible(false);
    calendarWindow().hide();
    showInFront(&searchWindow());
}

void Windows::openCalendarOnToday()
{
    calendarWindow().goToToday();
    showInFront(&calendarWindow());
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

void Windows::showCalendarOn(const QDate& day)
{
    CalendarWindow& calendar = calendarWindow();
    calendar.showDate(day);
    calendar.setWindowState(calendar.windowState() & ~Qt::WindowMinimized);
    showInFront(&calendar);
}

void Windows::closeSearch()
{
    setSearchButtonsVisible(true);
    searchWindow().hide();
}

void Windows::openSearchInPlaceOfMainWindow()
{
    calendarWindow().setSearchButtonVisible(false);
    mainWindow().hide();
    showInFront(&searchWindow());
}

void Windows::closeCalendar()
{
    calendarWindow().goToToday();
    calendarWindow().hide();
    mainWindow().show();
    // Window managers take a search shown while the main window was away for a window of its
    // own; shown again, it is the main window's again.
    if (m_searchWindow && m_searchWindow->isVisible()) {
        m_searchWindow->hide();
        m_searchWindow->show();
    }
}

void Windows::setSearchButtonsVisible(bool visible)
{
    mainWindow().setSearchButtonVisible(visible);
    calendarWindow().setSearchButtonVisible(visible);
}
