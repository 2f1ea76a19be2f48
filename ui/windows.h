#pragma once

#include <QObject>
#include <QPoint>

#include <memory>

class CalendarWindow;
class MainWindow;
class QDate;
class SearchWindow;

// Owns the three windows and is the only way they reach each other. Each window is created
// on first access, which runs its load step once; afterwards it is only shown and hidden,
// never destroyed while the program runs.
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

    // What the windows do with each other.
    QPoint mainWindowPosition();
    int mainWindowHeight();
    void showMainWindow();
    void hideMainWindow();
    void showSearchWindow();
    void showCalendarOn(const QDate& date);
    void hideCalendarWindow();
    // The "Névkeresés" buttons of the main and the calendar window.
    void setSearchButtonsVisible(bool visible);

    // Ends the program at once: every window goes away.
    void end();

Q_SIGNALS:
    void ended();

private:
    std::unique_ptr<MainWindow> m_mainWindow;
    std::unique_ptr<SearchWindow> m_searchWindow;
    std::unique_ptr<CalendarWindow> m_calendarWindow;
};
