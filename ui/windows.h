#pragma once

#include <QObject>

#include <memory>

class CalendarWindow;
class MainWindow;
class QDate;
class SearchWindow;
class QWidget;
class QWindow;

// Owns the three windows and hands each one's requests over to the others: no window knows
// another. Each window is created on first access, which runs its load step once; afterwards
// it is only shown and hidden, never destroyed while the program runs.
class Windows : public QObject
{
    Q_OBJECT

public:
    Windows();
    ~Windows() override;

    MainWindow& mainWindow();
    SearchWindow& searchWindow();
    CalendarWindow& calendarWindow();

    bool hasSearchWindow() const { return m_searchWindow != nullptr; }
    bool hasCalendarWindow() const { return m_calendarWindow != nullptr; }

    // Ends the program at once: every window goes away.
    void end();

    // The calendar in front, on the day that another program asked for (a search result); the
    // other windows as they are.
    void showCalendarOn(const QDate& day);

Q_SIGNALS:
    void ended();

private:
    void connectHandOvers(QWidget& window);

    // The hand-overs, in the order of the table in docs/design.md.
    void openSearchOverMainWindow();
    void openCalendarOnToday();
    void closeSearch();
    void openSearchInPlaceOfMainWindow();
    void closeCalendar();

    // The "Névkeresés" buttons of the main and the calendar window.
    void setSearchButtonsVisible(bool visible);
    // Shows the search in front of the window that opened it, and as that window's own.
    void showSearchOver(QWidget& opener);
    // While the search is open, the window the user turns to offers its "Névkeresés" again.
    void offerWayBackToSearch(QWindow* active);

    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<SearchWindow> m_searchWindow;
    std::unique_ptr<CalendarWindow> m_calendarWindow;
    // The windows whose "Névkeresés" shows only as the way back to an open search.
    bool m_wayBackInMainWindow = false;
    bool m_wayBackInCalendar = false;
};
