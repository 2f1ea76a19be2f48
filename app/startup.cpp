#include "app/startup.h"

#include <QApplication>
#include <QList>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

QtMessageHandler previousHandler = nullptr;

struct HeldMessage
{
    QtMsgType type;
    QByteArray category;
    QString text;
};
QList<HeldMessage> platformMessages;

// Qt's platform plugins explain a failed connection in English and then abort. Their messages
// are held until the outcome is known: replayed once the application exists, dropped when the
// start fails.
void handleStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) { // nothing else is fatal while the application is created
        std::fflush(stdout);
        std::fprintf(stderr, "%s\n",
                     qPrintable(u"%1: grafikus asztali környezet kell hozzá, de nem nyitható meg "
                                "kijelző."_s.arg(QCoreApplication::applicationName())));
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    }
    if (QByteArrayView(context.category).startsWith("qt.qpa.")) {
        platformMessages.append({type, context.category, text});
        return;
    }
    previousHandler(type, context, text);
}

} // namespace

std::unique_ptr<QApplication> createApplication(int& argc, char* argv[])
{
    previousHandler = qInstallMessageHandler(handleStartMessage);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previousHandler);
    for (const HeldMessage& message : std::as_const(platformMessages))
        previousHandler(message.type,
                        QMessageLogContext(nullptr, 0, nullptr, message.category.constData()),
                        message.text);
    platformMessages.clear();
    return app;
}
