#include "app/startup.h"

#include <QApplication>
#include <QList>
#include <QRegularExpression>

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
QList<HeldMessage> startMessages;

// The Debian package that brings each of Qt's platform plugins.
QString packageOf(const QString& plugin)
{
    static const QList<std::pair<QString, QString>> packages{
        {u"xcb"_s, u"libqt6gui6"_s},           {u"wayland"_s, u"qt6-wayland"_s},
        {u"wayland-egl"_s, u"qt6-wayland"_s},  {u"offscreen"_s, u"libqt6gui6"_s},
        {u"minimal"_s, u"libqt6gui6"_s},       {u"linuxfb"_s, u"libqt6gui6"_s},
        {u"vkkhrdisplay"_s, u"libqt6gui6"_s},  {u"eglfs"_s, u"libqt6opengl6"_s},
        {u"minimalegl"_s, u"libqt6opengl6"_s}, {u"vnc"_s, u"qt6-qpa-plugins"_s},
    };
    for (const auto& [name, package] : packages)
        if (name == plugin)
            return package;
    return {};
}

// What went wrong, in Hungarian: a line for each platform plugin Qt tried, which package brings
// it, and Qt's own reason in brackets, from what Qt said before it gave up.
QString startFailure()
{
    static const QRegularExpression tried(
        uR"re(Could not (find|load) the Qt platform plugin "([^"]*)")re"_s);
    const QString program = QCoreApplication::applicationName();
    QString said =
        u"%1: grafikus asztali környezet kell hozzá, de nem nyitható meg kijelző.\n"_s.arg(program);
    QStringList reasons;
    for (const HeldMessage& message : std::as_const(startMessages)) {
        const QRegularExpressionMatch plugin = tried.match(message.text);
        if (!plugin.hasMatch()) {
            reasons << message.text.trimmed();
            continue;
        }
        const bool missing = plugin.captured(1) == u"find";
        if (missing || reasons.isEmpty())
            reasons << message.text.trimmed();
        const QString name = plugin.captured(2);
        const QString package = packageOf(name);
        QString line;
        if (missing)
            line =
                package.isEmpty()
                    ? u"%1: nincs telepítve a Qt „%2” platformbővítménye"_s.arg(program, name)
                    : u"%1: nincs telepítve a Qt „%2” platformbővítménye, ezt a %3 csomag hozza"_s
                          .arg(program, name, package);
        else
            line = package.isEmpty()
                       ? u"%1: a Qt „%2” platformbővítménye nem indult el"_s.arg(program, name)
                       : u"%1: a %3 csomag „%2” Qt-platformbővítménye nem indult el"_s.arg(
                             program, name, package);
        said += line + u" (%1).\n"_s.arg(reasons.join(u"; "));
        reasons.clear();
    }
    return said;
}

// Qt's platform plugins explain a failed connection in English and then abort. What Qt says
// while the application is created is held until the outcome is known: replayed once the
// application exists, told in Hungarian when the start fails.
void handleStartMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtFatalMsg) { // nothing else is fatal while the application is created
        std::fflush(stdout);
        std::fprintf(stderr, "%s", qPrintable(startFailure()));
        std::fflush(stderr);
        std::_Exit(EXIT_FAILURE);
    }
    startMessages.append({type, context.category, text});
}

} // namespace

std::unique_ptr<QApplication> createApplication(int& argc, char* argv[])
{
    previousHandler = qInstallMessageHandler(handleStartMessage);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previousHandler);
    for (const HeldMessage& message : std::as_const(startMessages))
        previousHandler(message.type,
                        QMessageLogContext(
                            nullptr, 0, nullptr,
                            message.category.isEmpty() ? "default" : message.category.constData()),
                        message.text);
    startMessages.clear();
    return app;
}
