#include "cli/notification.h"

#include <QCoreApplication>
#include <QLibrary>

using namespace Qt::StringLiterals;

// Qt D-Bus would take a third of every start, so the notification is a module of its own,
// loaded only to notify: from beside the program in a build, else from where it is installed.
QString notifyNameDays(const DayNames& day, const DayNames& next)
{
    using Notify = QString (*)(const DayNames&, const DayNames&);
    const QString module = u"zorvat-nevnap-notify"_s;
    QString problem;
    for (const QString& folder :
         {QCoreApplication::applicationDirPath(), QStringLiteral(ZORVAT_MODULE_DIR)}) {
        QLibrary library(folder + u'/' + module);
        if (const auto notify = reinterpret_cast<Notify>(library.resolve("zorvatNotifyNameDays")))
            return notify(day, next);
        problem = library.errorString();
    }
    return u"Az értesítés modulja (%1) nem tölthető be: %2"_s.arg(module, problem);
}
