#include "ui/windows.h"

#include "ui/calendar/calendarwindow.h"
#include "ui/controls/controls.h"
#include "ui/main/mainwindow.h"
#include "ui/search/searchwindow.h"

#include <QGuiApplication>
#include <QWindow>

#include <utility>

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

// A tool window belongs to another: window managers and compositors keep it above that one.
// It is not the other's child widget, which would hide with it. Only native windows can belong
// to one another, and they learn whose they are when they are shown.
void belongTo(QWidget& tool, QWidget& owner)
{
    tool.winId();
    owner.winId();
    tool.windowHandle()->setTransientParent(owner.windowHandle());
}

} // namespace

Windows::Windows()
{
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, &Windows::offerWayBackToSearch);
}

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
        belongTo(*m_searchWindow, mainWindow());
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
    showSearchOver(mainWindow());
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
    m_wayBackInMainWindow = m_wayBackInCalendar = false;
    searchWindow().hide();
}

void Windows::openSearchInPlaceOfMainWindow()
{
    calendarWindow().setSearchButtonVisible(false);
    mainWindow().hide();
    showSearchOver(calendarWindow());
}

void Windows::closeCalendar()
{
    calendarWindow().goToToday();
    calendarWindow().hide();
    mainWindow().show();
    // A search that belonged to the calendar is the main window's now.
    if (m_searchWindow && m_searchWindow->isVisible() &&
        m_searchWindow->windowHandle()->transientParent() != mainWindow().windowHandle())
        showSearchOver(mainWindow());
}

void Windows::showSearchOver(QWidget& opener)
{
    SearchWindow& search = searchWindow();
    // Shown again, an open search is put in front of its new owner, also where the window
    // system cannot raise a window for the program (Wayland) or ignores whose it is (sway).
    if (search.isVisible() && (search.windowHandle()->transientParent() != opener.windowHandle() ||
                               QGuiApplication::focusWindow() != search.windowHandle()))
        search.hide();
    belongTo(search, opener);
    showInFront(&search);
}

// Where the window system lets a click on the search's owner bury the search (sway, natively
// and under XWayland), and whenever the calendar comes over it, the window the user turned to
// shows its "Névkeresés" again; once the search is in front again, the button hides again.
void Windows::offerWayBackToSearch(QWindow* active)
{
    if (!active || !m_searchWindow || !m_searchWindow->isVisible())
        return;
    if (active == m_searchWindow->windowHandle()) {
        if (std::exchange(m_wayBackInMainWindow, false))
            mainWindow().setSearchButtonVisible(false);
        if (std::exchange(m_wayBackInCalendar, false))
            calendarWindow().setSearchButtonVisible(false);
    } else if (active == mainWindow().windowHandle()) {
        mainWindow().setSearchButtonVisible(true);
        m_wayBackInMainWindow = true;
    } else if (m_calendarWindow && active == m_calendarWindow->windowHandle()) {
        m_calendarWindow->setSearchButtonVisible(true);
        m_wayBackInCalendar = true;
    }
}

void Windows::setSearchButtonsVisible(bool visible)
{
    mainWindow().setSearchButtonVisible(visible);
    calendarWindow().setSearchButtonVisible(visible);
}
