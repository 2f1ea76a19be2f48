#include "cli/notification.h"

#include "cli/notifier.h"
#include "cli/outputs.h"
#include "system/modules.h"

using namespace Qt::StringLiterals;

// Qt D-Bus would take a third of every start, so the notification is a module of its own.
QString notifyNameDays(const Notification& notification)
{
    QString problem;
    if (auto* notifier = loadModule<Notifier>(u"zorvat-nevnap-notify"_s, problem))
        return notifier->notify(notification.summary, notification.body);
    return problem;
}
