#include "cli/notification.h"

#include "cli/modules.h"
#include "cli/outputs.h"

using namespace Qt::StringLiterals;

// Qt D-Bus would take a third of every start, so the notification is a module of its own.
QString notifyNameDays(const Notification& notification)
{
    using Notify = QString (*)(const QString&, const QString&);
    QString problem;
    if (const auto notify = reinterpret_cast<Notify>(
            moduleFunction(u"zorvat-nevnap-notify"_s, "zorvatNotify", problem)))
        return notify(notification.summary, notification.body);
    return problem;
}
