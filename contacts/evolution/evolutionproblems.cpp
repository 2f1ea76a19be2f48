#include "contacts/evolution/evolutionproblems.h"

#include <libebook/libebook.h>

using namespace Qt::StringLiterals;

namespace {
// GLib's English text of an error, without the D-Bus error name that it carries from the
// other side.
QString detail(const GError* error)
{
    GError* copy = g_error_copy(error);
    g_dbus_error_strip_remote_error(copy);
    const QString text = QString::fromUtf8(copy->message);
    g_error_free(copy);
    return text;
}

bool isTimeout(const GError* error)
{
    return g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED) ||
           g_error_matches(error, G_IO_ERROR, G_IO_ERROR_TIMED_OUT) ||
           g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_TIMEOUT) ||
           g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_NO_REPLY);
}
} // namespace

QString busProblem(const GError* error)
{
    return u"Nem érhető el a munkamenet D-Bus-busza, ezért az Evolution Data Server címjegyzékei "
           "nem olvashatók (%1)."_s.arg(detail(error));
}

QString serverProblem(const GError* error)
{
    if (isTimeout(error))
        return lateServerProblem();
    if (g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_SERVICE_UNKNOWN))
        return u"Az Evolution Data Server nem fut, és ebben a munkamenetben nem is indítható "
               "(%1)."_s.arg(detail(error));
    return u"Az Evolution Data Server nem érhető el (%1)."_s.arg(detail(error));
}

QString registryProblem(const GError* error)
{
    if (isTimeout(error))
        return lateServerProblem();
    return u"Az Evolution Data Server nem sorolta fel a címjegyzékeket (%1)."_s.arg(detail(error));
}

QString lateServerProblem()
{
    return u"Az Evolution Data Server nem válaszolt öt másodpercen belül."_s;
}

QString addressBookFailure(const GError* error, AddressBookStep step)
{
    if (isTimeout(error))
        return lateAddressBookFailure();
    QString reason =
        step == AddressBookStep::opening ? u"nem nyitható meg"_s : u"a névjegyei nem olvashatók"_s;
    if (error->domain == E_CLIENT_ERROR) {
        switch (error->code) {
        case E_CLIENT_ERROR_AUTHENTICATION_FAILED:
        case E_CLIENT_ERROR_AUTHENTICATION_REQUIRED:
            reason = u"bejelentkezést kér"_s;
            break;
        case E_CLIENT_ERROR_REPOSITORY_OFFLINE:
        case E_CLIENT_ERROR_OFFLINE_UNAVAILABLE:
            reason = u"hálózat nélkül nem érhető el"_s;
            break;
        case E_CLIENT_ERROR_PERMISSION_DENIED:
            reason = u"nincs hozzá olvasási jog"_s;
            break;
        default:
            break;
        }
    }
    return u"%1 (%2)"_s.arg(reason, detail(error));
}

QString lateAddressBookFailure()
{
    return u"nem válaszolt időben"_s;
}

QString unreadAddressBooksProblem(const QStringList& failures)
{
    if (failures.size() == 1)
        return u"Nem olvasható címjegyzék: %1."_s.arg(failures.first());
    return u"Nem olvasható címjegyzékek: %1."_s.arg(failures.join(u"; "_s));
}
