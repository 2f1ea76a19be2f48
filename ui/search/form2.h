#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class Windows;

// Name search: the first day whose entry begins with the typed text, and on Enter
// every day whose entry contains it. It searches the current year, whatever the other
// windows show.
class Form2 : public QWidget
{
    Q_OBJECT

public:
    explicit Form2(Windows& windows);

    void Form_Load();
    void Command1_Click();
    void Text1_Change();
    void Text1_KeyPress(); // Enter in Text1
    void Text2_Click();
    void hkeres();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();

    Windows& m_windows;
    QString m_nevreszlet;

    QLineEdit* m_Text1 = nullptr;
    QLineEdit* m_Text2 = nullptr;
    QPlainTextEdit* m_Text3 = nullptr;
    QPushButton* m_Command1 = nullptr;
    QLabel* m_Label1 = nullptr;
};
