#include "ui/windows.h"

#include "ui/calendar/form3.h"
#include "ui/main/form1.h"
#include "ui/search/form2.h"

Windows::Windows() = default;

Windows::~Windows()
{
    m_form2.reset();
    m_form3.reset();
    m_form1.reset();
}

// The pointer is set before the load step runs, so a load that reaches back to its
// own window finds it instead of creating a second one.
template<typename Form> static Form& createOnFirstUse(std::unique_ptr<Form>& form, Windows& windows)
{
    if (!form) {
        form = std::make_unique<Form>(windows);
        form->Form_Load();
    }
    return *form;
}

Form1& Windows::form1()
{
    return createOnFirstUse(m_form1, *this);
}

Form2& Windows::form2()
{
    return createOnFirstUse(m_form2, *this);
}

Form3& Windows::form3()
{
    return createOnFirstUse(m_form3, *this);
}

void Windows::end()
{
    for (QWidget* window :
         {static_cast<QWidget*>(m_form2.get()), static_cast<QWidget*>(m_form3.get()),
          static_cast<QWidget*>(m_form1.get())})
        if (window)
            window->hide();
    Q_EMIT ended();
}
