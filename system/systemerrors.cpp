#include "system/systemerrors.h"

#include <cerrno>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {
QString hungarianText(int error)
{
    switch (error) {
    case ENOENT:
        return u"Nincs ilyen fájl vagy mappa"_s;
    case EACCES:
        return u"Nincs hozzá jogosultság"_s;
    case EPERM:
        return u"A művelet nem engedélyezett"_s;
    case ENOSPC:
        return u"Nincs több hely az eszközön"_s;
    case EDQUOT:
        return u"Betelt a lemezkvóta"_s;
    case EFBIG:
        return u"A fájl túl nagy"_s;
    case EROFS:
        return u"Csak olvasható fájlrendszer"_s;
    case EISDIR:
        return u"Ez egy mappa"_s;
    case ENOTDIR:
        return u"Az útvonal egyik tagja nem mappa"_s;
    case ENAMETOOLONG:
        return u"Túl hosszú a fájlnév"_s;
    case ELOOP:
        return u"Túl sok szimbolikus link egymás után"_s;
    case EEXIST:
        return u"Már létezik"_s;
    case EXDEV:
        return u"Nem helyezhető át másik fájlrendszerre"_s;
    case EBUSY:
    case ETXTBSY:
        return u"Foglalt"_s;
    case EIO:
        return u"Bemeneti/kimeneti hiba"_s;
    case ENXIO:
    case ENODEV:
        return u"Nincs ilyen eszköz, vagy nem érhető el"_s;
    case EBADF:
        return u"Nincs megnyitva"_s;
    case EINVAL:
        return u"Érvénytelen kérés"_s;
    case EPIPE:
        return u"Az olvasó bezárta a csövet"_s;
    case EMFILE:
    case ENFILE:
        return u"Túl sok a megnyitott fájl"_s;
    case ENOMEM:
        return u"Elfogyott a memória"_s;
    case EAGAIN:
        return u"Átmenetileg nem érhető el"_s;
    case EINTR:
        return u"Megszakítva"_s;
    case ETIMEDOUT:
        return u"Lejárt a várakozási idő"_s;
    case ECONNREFUSED:
        return u"Elutasította a kapcsolatot"_s;
    case ECONNRESET:
    case ENOTCONN:
        return u"Megszakadt a kapcsolat"_s;
    case EOVERFLOW:
        return u"Túl nagy érték"_s;
    default:
        return u"Váratlan rendszerhiba"_s;
    }
}
} // namespace

QString systemErrorText(int error)
{
    // strerrordesc_np is the English text whatever the locale, and never a made-up one.
    const char* original = strerrordesc_np(error);
    const QString detail = original ? QString::fromUtf8(original) : u"hibakód: %1"_s.arg(error);
    return hungarianText(error) + u" ("_s + detail + u')';
}
