#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Evolution Data Server's sources are key files in $XDG_CONFIG_HOME/evolution/sources/, named
// by the source's id: one written while its registry runs is picked up within seconds, one
// written before it starts is read at its start, and removing the file removes the source.
QString evolutionSourcePath(const QString& uid);

// A source that shows the iCalendar file at `calendarPath` (bytes, as the system names it) as
// a read-only calendar, enabled and selected, so that GNOME Shell's clock and GNOME Calendar
// show it. The other keys of `existing`, the source as it was, are kept: a colour the user
// chose, or what the registry wrote.
QByteArray readOnlyCalendarSource(QByteArrayView existing, const QString& displayName,
                                  const QByteArray& calendarPath);
