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
class SearchWindow : public QWidget
{
    Q_OBJECT

public:
    explicit SearchWindow(Windows& windows);

    void load();
    void leave();
    void showFirstMatch();     // on every change of the query
    void listMatches();        // Enter in the query box
    void listMatchesOfFirst(); // a click into the first match

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void listDaysContaining(const QString& typed);

    Windows& m_windows;

    QLineEdit* m_queryBox = nullptr;
    QLineEdit* m_firstMatchBox = nullptr;
    QPlainTextEdit* m_foundDaysBox = nullptr;
    QPushButton* m_exitButton = nullptr;
    QLabel* m_promptLabel = nullptr;
};
