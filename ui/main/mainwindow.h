#pragma once

#include <QDate>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

// The main window: today's and tomorrow's names, the date and a running clock, and the
// buttons that open the other windows or end the program.
class MainWindow : public QWidget
{
    Q_OBJECT

public:
    MainWindow();

    void load();
    void showTodayAndTomorrow();

    void tick();

    void setSearchButtonVisible(bool visible);

Q_SIGNALS:
    // What the user asked for: "EXIT" or closing the window, "Névkeresés", "Calendarium".
    void endRequested();
    void searchRequested();
    void calendarRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    QLabel* createLabel(const char* name, const QString& caption, QRect geometry,
                        const QFont& font);
    QLineEdit* createTextBox(const char* name, QRect geometry);
    QPushButton* createButton(const char* name, const QString& caption, QRect geometry,
                              const QFont& font);
    void centre(QWidget* control);
    // A screen reader says the names, then whose they are: "Dénes – mai névnap".
    void showNames(QLabel* plate, const QFont& font, const QDate& date, const QString& whose);

    QDate m_shownDay; // the day the names were last shown for

    QPushButton* m_calendarButton = nullptr;
    QPushButton* m_searchButton = nullptr;
    QTimer* m_clockTimer = nullptr;
    QLineEdit* m_clockBox = nullptr;
    QLineEdit* m_dateBox = nullptr;
    QPushButton* m_exitButton = nullptr;
    QLabel* m_tomorrowNames = nullptr;
    QLabel* m_todayNames = nullptr;
    // The sentence round the names: "… napja van! Holnap … lesz!!"
    QLabel* m_tomorrowLabel = nullptr;
    QLabel* m_willBeLabel = nullptr;
    QLabel* m_theirDayLabel = nullptr;
};
