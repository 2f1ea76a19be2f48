#include "cli/namedays.h"
#include "system/arguments.h"
#include "system/outputfile.h"
#include "system/qttranslations.h"

#include <QCoreApplication>

#include <fcntl.h>
#include <unistd.h>

namespace {
// A standard stream that the caller closed keeps its number taken, so that no file the
// program opens becomes its output; writing to it fails, and the failure is told.
void holdClosedStream(int descriptor)
{
    if (fcntl(descriptor, F_GETFD) < 0) {
        const int placeholder = open("/dev/null", O_RDONLY);
        if (placeholder >= 0 && placeholder != descriptor) {
            dup2(placeholder, descriptor);
            close(placeholder);
        }
    }
}
} // namespace

int main(int argc, char* argv[])
{
    holdClosedStream(STDOUT_FILENO);
    holdClosedStream(STDERR_FILENO);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("zorvat-nevnap"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZORVAT_VERSION));
    installQtTranslations();

    // Unbuffered, so that a failed write is seen where it happens.
    DescriptorOutput out(STDOUT_FILENO);
    DescriptorOutput err(STDERR_FILENO);
    out.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    return runNameDays(decodedArguments(argc, argv), out, err);
}
