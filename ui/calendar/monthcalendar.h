#pragma once

#include <QCalendarWidget>

class QAbstractItemView;

// A month calendar that also tells when it gains the focus, when a key has gone down in
// it and when it shows another month. Its date and click notification are
// QCalendarWidget's own.
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

Q_SIGNALS:
    void gotFocus();
    // Sent after the calendar has handled the key, so the selection is already the new one.
    void keyDown();
    // The selected date is already in the newly shown month.
    void newMonth();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followShownMonth(int year, int month);

    QAbstractItemView* m_grid = nullptr;
    QWidget* m_titleBand = nullptr;
    bool m_forwardingKey = false;
};
