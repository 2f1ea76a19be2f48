#pragma once

#include <QWidget>

class MonthCalendar;
class QComboBox;
class QLabel;
class QPushButton;
class QTimer;
class Windows;

// The calendar window: any date from 1900 to 2100 with its names, red for Sundays and
// public holidays, and the movable feasts of the shown year.
class Form3 : public QWidget
{
    Q_OBJECT

public:
    explicit Form3(Windows& windows);

    void Form_Load();
    void txtzorvat();

    void Calendar1_GotFocus();
    void Calendar1_Click();
    void Calendar1_KeyDown();
    void Calendar1_NewMonth();
    void comboMonth_Click();
    void comboYear_Click();
    void combUnnepek_Click();
    void combUnnepek_LostFocus();
    void MaiNap_Click();
    void Nevkeres_Click();
    void kilep_Click();

    // What the other windows may do with this one.
    void setValue(const QDate& date);
    void setSearchButtonVisible(bool visible);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createCalendar();
    void placePickersOnTitle();
    void showTodayButtonAwayFromToday();
    void showShownMonthInPickers();
    QComboBox* createPicker(const char* name, const QString& text, QRect geometry,
                            const QFont& font);

    Windows& m_windows;

    MonthCalendar* m_Calendar1 = nullptr;
    QPushButton* m_kilep = nullptr;
    QPushButton* m_MaiNap = nullptr;
    QPushButton* m_Nevkeres = nullptr;
    QComboBox* m_combUnnepek = nullptr;
    QComboBox* m_comboYear = nullptr;
    QComboBox* m_comboMonth = nullptr;
    QLabel* m_LabelZorvat = nullptr;
    QTimer* m_todayWatch = nullptr;
};
