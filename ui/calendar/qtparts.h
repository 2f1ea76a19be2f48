#pragma once

#include <QObject>

void reportMissingQtPart(const QObject& widget, const char* name, const char* type);

// Qt builds its widgets of children under names it does not promise to keep
// ("qt_calendar_nextmonth"). A widget looks each one up once, with this; one that is gone is
// reported on standard error, and the widget does without it.
template<typename Part> Part* findQtPart(const QObject& widget, const char* name)
{
    auto* part = widget.findChild<Part*>(QLatin1StringView(name));
    if (!part)
        reportMissingQtPart(widget, name, Part::staticMetaObject.className());
    return part;
}
