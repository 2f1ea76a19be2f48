#pragma once

#include <QCalendarWidget>

// A month calendar whose selected date is always in the month it shows, and whose title
// band makes room for other controls.
class MonthCalendar : public QCalendarWidget
{
    Q_OBJECT

public:
    explicit MonthCalendar(QWidget* parent = nullptr);

    // The band at the top with the arrows and the month and year.
    QWidget* titleBand() const { return m_titleBand; }
    // The part of the title band, in this widget's coordinates, between the month and
    // year and the next-month arrow that is left free for other controls.
    QRect reserveTitleSpace(int width);

private:
    void followShownMonth(int year, int month);

    QWidget* m_titleBand = nullptr;
};
