#include "app/commandline.h"
#include "app/firstpaint.h"
#include "app/startup.h"
#include "core/calendarrange.h"
#include "system/qttranslations.h"
#include "system/runninginstance.h"
#include "ui/main/mainwindow.h"
#include "ui/windows.h"

#include <QApplication>
#include <QIcon>

namespace {

QIcon programIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64})
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    return icon;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("zorvat"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZORVAT_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(ZORVAT_APP_ID));

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments += QString::fromLocal8Bit(argv[i]);
    const QString instanceName = QStringLiteral(ZORVAT_APP_ID);
    // Answering in text needs no display, so it also works over ssh or in a plain console.
    if (asksOnlyForText(arguments)) {
        qputenv("QT_QPA_PLATFORM", "minimal");
    } else if (const std::optional<QDate> day = calendarDayIn(arguments);
               day && handToRunningInstance(instanceName, *day)) {
        // The Zorvat that runs shows it: one per user.
        return 0;
    }

    const std::unique_ptr<QApplication> app = createApplication(argc, argv);
    installQtTranslations();
    const std::optional<QDate> calendarDay = handleCommandLine(*app);
    // Hiding windows is part of the work; only "EXIT" or closing the main window ends it.
    app->setQuitOnLastWindowClosed(false);

    Windows windows;
    QObject::connect(&windows, &Windows::ended, app.get(), &QCoreApplication::quit,
                     Qt::QueuedConnection);
    windows.mainWindow().show();
    if (calendarDay)
        windows.showCalendarOn(*calendarDay);
    RunningInstance instance(instanceName);
    QObject::connect(&instance, &RunningInstance::calendarRequested, &windows,
                     [&windows](const QDate& day) {
                         if (isInCalendarRange(day))
                             windows.showCalendarOn(day);
                     });
    // Reading the pictures loads Qt's image plugins, which the window does not need in order to
    // appear; window managers take an icon that comes later. Later starts find this one from
    // then on.
    runAfterFirstPaint(windows.mainWindow(), [&instance] {
        QApplication::setWindowIcon(programIcon());
        instance.listen();
    });
    return app->exec();
}
