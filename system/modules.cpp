#include "system/modules.h"

#include <QCoreApplication>
#include <QJsonObject>
#include <QPluginLoader>

using namespace Qt::StringLiterals;

QObject* loadModule(const QString& module, const char* interfaceId, QString& problem)
{
    QString reason;
    for (const QString& folder :
         {QCoreApplication::applicationDirPath(), QStringLiteral(ZORVAT_MODULE_DIR)}) {
        QPluginLoader loader(folder + u'/' + module);
        // The interface is read from the file before any of its code runs.
        const QString built = loader.metaData().value(u"IID"_s).toString();
        if (built.isEmpty()) {
            reason = loader.errorString();
            continue;
        }
        if (built != QLatin1StringView(interfaceId)) {
            problem = u"A program %1 modulja a program egy másik változatához készült (%2 "
                      "helyett %3), ezért nem töltődik be."_s.arg(module, built,
                                                                  QLatin1StringView(interfaceId));
            return nullptr;
        }
        if (QObject* instance = loader.instance())
            return instance;
        reason = loader.errorString();
    }
    problem = u"A program %1 modulja nem tölthető be (%2)."_s.arg(module, reason);
    return nullptr;
}
