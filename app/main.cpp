#include "core/namedays.h"
#include "ui/main/form1.h"
#include "ui/windows.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // Hiding windows is part of the work; only "EXIT" or closing the main window ends it.
    app.setQuitOnLastWindowClosed(false);

    NameDays names;
    Windows windows(names);
    QObject::connect(&windows, &Windows::ended, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    windows.form1().show();
    return app.exec();
}
