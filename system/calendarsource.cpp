#include "system/calendarsource.h"

#include "system/keyfile.h"

#include <QStandardPaths>

using namespace Qt::StringLiterals;

QString evolutionSourcePath(const QString& uid)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           u"/evolution/sources/"_s + uid + u".source"_s;
}

QByteArray readOnlyCalendarSource(QByteArrayView existing, const QString& displayName,
                                  const QByteArray& calendarPath)
{
    KeyFile source(existing);
    source.setValue(u"Data Source", u"DisplayName", displayName);
    source.setValue(u"Data Source", u"Enabled", u"true"_s);
    source.setValue(u"Data Source", u"Parent", u"local-stub"_s);
    source.setValue(u"Calendar", u"BackendName", u"local"_s);
    source.setValue(u"Calendar", u"Selected", u"true"_s);
    // A URI, as the registry itself keeps file names; the webcal backend loses file:// ones.
    source.setValue(u"Local Backend", u"CustomFile",
                    QString::fromLatin1("file://" + calendarPath.toPercentEncoding("/")));
    source.setValue(u"Local Backend", u"Writable", u"false"_s);
    return source.text();
}
