#pragma once

#include <QDate>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class Windows;

// The main window: today's and tomorrow's names, the date and a running clock.
class Form1 : public QWidget
{
    Q_OBJECT

public:
    explicit Form1(Windows& windows);

    void Form_Load();
    void zorvatok();

    void Timer1_Timer();
    void Command1_Click();
    void Command2_Click();
    void calendarium_Click();

    // What the other windows may do with this one.
    void setSearchButtonVisible(bool visible);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    QLabel* createLabel(const char* name, const QString& caption, QRect geometry,
                        const QFont& font);
    QLineEdit* createTextBox(const char* name, const QString& text, QRect geometry);
    QPushButton* createButton(const char* name, const QString& caption, QRect geometry,
                              const QFont& font);
    void centre(QWidget* control);
    // A screen reader says the names, then whose they are: "Dénes – mai névnap".
    void setNameLabel(QLabel* label, const QFont& font, const QDate& date, const QString& whose);

    Windows& m_windows;
    QDate m_shownDay; // the day the names were last shown for

    QPushButton* m_calendarium = nullptr;
    QPushButton* m_Command2 = nullptr;
    QTimer* m_Timer1 = nullptr;
    QLineEdit* m_Text3 = nullptr;
    QLineEdit* m_Text2 = nullptr;
    QPushButton* m_Command1 = nullptr;
    QLabel* m_labelHolnapiZorvat = nullptr;
    QLabel* m_labelMaiZorvat = nullptr;
    QLabel* m_Label3 = nullptr;
    QLabel* m_Label2 = nullptr;
    QLabel* m_Label1 = nullptr;
};
