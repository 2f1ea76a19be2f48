#include "ui/calendar/qtparts.h"

#include <QtGlobal>

void reportMissingQtPart(const QObject& widget, const char* name, const char* type)
{
    // For developers and packagers, so in English, on one line, with the Qt release that did it.
    qWarning("Qt %s: %s has no %s %s; Zorvat goes on without it", qVersion(),
             widget.metaObject()->className(), type, name);
}
