#include "contacts/thunderbirdsource.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

bool isAddressBookFileName(QStringView fileName)
{
    if (fileName == u"abook.sqlite")
        return true;
    if (!fileName.startsWith(u"abook-") || !fileName.endsWith(u".sqlite"))
        return false;
    const QStringView number = fileName.sliced(6).chopped(7);
    return !number.isEmpty() && std::all_of(number.begin(), number.end(),
                                            [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool isThunderbirdSource(const QString& source)
{
    if (source.compare(u"thunderbird", Qt::CaseInsensitive) == 0)
        return true;
    const QFileInfo info(source);
    if (info.isFile())
        return isAddressBookFileName(info.fileName());
    if (!info.isDir())
        return false;
    const QStringList names =
        QDir(source).entryList({u"profiles.ini"_s, u"prefs.js"_s, u"abook*.sqlite"_s}, QDir::Files);
    return std::any_of(names.begin(), names.end(), [](const QString& name) {
        return !name.startsWith(u"abook") || isAddressBookFileName(name);
    });
}
