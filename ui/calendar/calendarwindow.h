#pragma once

#include <QWidget>

class MonthCalendar;
class QComboBox;
class QLabel;
class QPushButton;
class QTimer;

// The calendar window: any date from 1900 to 2100 with its names, red for Sundays and
// public holidays, and the movable feasts of the shown year.
class CalendarWindow : public QWidget
{
    Q_OBJECT

public:
    CalendarWindow();

    void load();
    void showSelectedDay();

    void monthPicked();
    void yearPicked();
    void feastPicked();
    void resetFeastPicker();
    void goToToday();
    void saveShownYear();

    void showDate(const QDate& date);
    void setSearchButtonVisible(bool visible);

Q_SIGNALS:
    // What the user asked for: "Névkeresés", and "Kilépés", Escape or closing the window.
    void searchRequested();
    void leaveRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createCalendar();
    void placePickersOnTitle();
    QComboBox* createPicker(const char* name, const QString& text, QRect geometry,
                            const QFont& font);
    void showTodayButtonAwayFromToday();
    void showShownMonthInPickers();

    MonthCalendar* m_calendar = nullptr;
    QPushButton* m_exitButton = nullptr;
    QPushButton* m_todayButton = nullptr;
    QPushButton* m_searchButton = nullptr;
    QComboBox* m_feastPicker = nullptr;
    QComboBox* m_yearPicker = nullptr;
    QComboBox* m_monthPicker = nullptr;
    QLabel* m_dayText = nullptr;
    QTimer* m_todayWatch = nullptr;
};
