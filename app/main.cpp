#include "app/commandline.h"
#include "app/firstpaint.h"
#include "app/startup.h"
#include "system/qttranslations.h"
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
    // Answering in text needs no display, so it also works over ssh or in a plain console.
    if (asksOnlyForText(arguments))
        qputenv("QT_QPA_PLATFORM", "minimal");

    const std::unique_ptr<QApplication> app = createApplication(argc, argv);
    installQtTranslations();
    handleCommandLine(*app);
    // Hiding windows is part of the work; only "EXIT" or closing the main window ends it.
    app->setQuitOnLastWindowClosed(false);

    Windows windows;
    QObject::connect(&windows, &Windows::ended, app.get(), &QCoreApplication::quit,
                     Qt::QueuedConnection);
    windows.mainWindow().show();
    // Reading the pictures loads Qt's image plugins, which the window does not need in order to
    // appear; window managers take an icon that comes later.
    runAfterFirstPaint(windows.mainWindow(), [] { QApplication::setWindowIcon(programIcon()); });
    return app->exec();
}
