#pragma once

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

// Answers the menus and dialogs that a test's clicks open, in the order given, as a user
// answers them. Each opens its own event loop, so the answers wait for them from timers.
class Answers : public QObject
{
public:
    using Answer = std::function<void(QWidget*)>;

    explicit Answers(QList<Answer> answers)
        : m_answers(std::move(answers))
    {
        waitForTheNext();
    }

    bool allGiven() const { return m_answers.isEmpty(); }

private:
    void waitForTheNext()
    {
        if (!m_answers.isEmpty())
            QTimer::singleShot(10, this, &Answers::answerIfOpen);
    }

    void answerIfOpen()
    {
        QWidget* opened = QApplication::activePopupWidget();
        if (!opened)
            opened = QApplication::activeModalWidget();
        if (!opened || opened == m_answered) {
            waitForTheNext();
            return;
        }
        m_answered = opened;
        const Answer answer = m_answers.takeFirst();
        waitForTheNext(); // before answering: the answer may open the next one and wait in it
        answer(opened);
    }

    QList<Answer> m_answers;
    QPointer<QWidget> m_answered;
};
