#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Name search: the first day whose entry begins with the typed text, and on Enter
// every day whose entry contains it. It searches the current year, whatever the other
// windows show.
class SearchWindow : public QWidget
{
    Q_OBJECT

public:
    SearchWindow();

    void showFirstMatch();     // on every change of the query
    void listMatches();        // Enter in the query box
    void listMatchesOfFirst(); // a click into the first match, or Enter in it

Q_SIGNALS:
    // "Exit", Escape or closing the window.
    void leaveRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void listDaysContaining(const QString& typed);

    QLineEdit* m_queryBox = nullptr;
    QLineEdit* m_firstMatchBox = nullptr;
    QPlainTextEdit* m_foundDaysBox = nullptr;
    QPushButton* m_exitButton = nullptr;
    QLabel* m_promptLabel = nullptr;
};
