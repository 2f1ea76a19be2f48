#pragma once

#include <QCalendarWidget>

class QBoxLayout;
class QToolButton;

// A month calendar whose selected date is always in the month it shows, and whose title
// band makes room for other controls.
class MonthCalendar : public QCalendarWidget
{
    Q_OBJECT

public:
    explicit MonthCalendar(QWidget* parent = nullptr);

    // The band at the top with the arrows and the month and year; null where Qt has none.
    QWidget* titleBand() const { return m_titleBand; }
    // The part of the title band, in this widget's coordinates, between the month and
    // year and the next-month arrow that is left free for other controls; empty where the
    // band cannot make room.
    QRect reserveTitleSpace(int width);
    // What screen readers say of the calendar beside its name, also of its grid of days, which
    // has the focus while the user moves through it.
    void describe(const QString& description);

private:
    void followShownMonth(int year, int month);

    QWidget* m_titleBand = nullptr;
    QWidget* m_grid = nullptr;
    QBoxLayout* m_titleLayout = nullptr;
    QToolButton* m_nextMonthArrow = nullptr;
};
