#include "cli/modules.h"

#include <QCoreApplication>
#include <QLibrary>

using namespace Qt::StringLiterals;

QFunctionPointer moduleFunction(const QString& module, const char* function, QString& problem)
{
    QString reason;
    for (const QString& folder :
         {QCoreApplication::applicationDirPath(), QStringLiteral(ZORVAT_MODULE_DIR)}) {
        QLibrary library(folder + u'/' + module);
        if (const QFunctionPointer found = library.resolve(function))
            return found;
        reason = library.errorString();
    }
    problem = u"A program %1 modulja nem tölthető be (%2)."_s.arg(module, reason);
    return nullptr;
}
