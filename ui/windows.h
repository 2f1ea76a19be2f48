#pragma once

#include <QObject>

#include <memory>

class Form1;
class Form2;
class Form3;

// Owns the three windows. Each is created on first access, which runs its load step
// once; afterwards it is only shown and hidden, never destroyed while the program runs.
class Windows : public QObject
{
    Q_OBJECT

public:
    Windows();
    ~Windows() override;

    Form1& form1(); // the main window
    Form2& form2(); // name search
    Form3& form3(); // calendar

    bool hasForm2() const { return m_form2 != nullptr; }
    bool hasForm3() const { return m_form3 != nullptr; }

    // Ends the program at once: every window goes away.
    void end();

Q_SIGNALS:
    void ended();

private:
    std::unique_ptr<Form1> m_form1;
    std::unique_ptr<Form2> m_form2;
    std::unique_ptr<Form3> m_form3;
};
