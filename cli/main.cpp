#include "app/qttranslations.h"
#include "cli/namedays.h"

#include <QCoreApplication>
#include <QFile>

#include <unistd.h>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zorvat-nevnap"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZORVAT_VERSION));
    installQtTranslations();

    // Unbuffered, so that a failed write is seen where it happens.
    QFile out;
    QFile err;
    out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    return runNameDays(QCoreApplication::arguments(), out, err);
}
