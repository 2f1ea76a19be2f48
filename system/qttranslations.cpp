#include "system/qttranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace {

// The two help texts of QCommandLineParser that Qt's own Hungarian translation leaves English,
// worded as Qt words the rest.
class ParserTexts : public QTranslator
{
public:
    using QTranslator::QTranslator;

    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        if (qstrcmp(context, "QCommandLineParser") != 0)
            return {};
        if (qstrcmp(sourceText, "Displays help on commandline options.") == 0)
            return u"Megjeleníti ezt a súgót."_s;
        if (qstrcmp(sourceText, "Displays help including Qt specific options.") == 0)
            return u"Megjeleníti a súgót a Qt saját kapcsolóival együtt."_s;
        return {};
    }

    bool isEmpty() const override { return false; }
};

} // namespace

bool installQtTranslations()
{
    auto* translator = new QTranslator(QCoreApplication::instance());
    const bool loaded = translator->load(QLocale(QLocale::Hungarian), u"qtbase"_s, u"_"_s,
                                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                        QCoreApplication::installTranslator(translator);
    if (!loaded)
        delete translator;
    // Installed last, so it is asked first.
    QCoreApplication::installTranslator(new ParserTexts(QCoreApplication::instance()));
    return loaded;
}
