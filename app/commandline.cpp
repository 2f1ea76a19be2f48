#include "commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHash>
#include <QTranslator>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

// Hungarian for the texts QCommandLineParser prints, built in like everything else the program
// says, so a missing Qt translation package never turns the help English.
class ParserTexts : public QTranslator
{
public:
    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        if (qstrcmp(context, "QCommandLineParser") != 0)
            return {};
        static const QHash<QByteArray, QString> texts{
            {"Usage: %1", u"Használat: %1"_s},
            {"[options]", u"[kapcsolók]"_s},
            {"Options:", u"Kapcsolók:"_s},
            {"Arguments:", u"Argumentumok:"_s},
            {"Displays help on commandline options.", u"Kiírja ezt a súgót."_s},
            {"Displays help including Qt specific options.",
             u"Kiírja a súgót a Qt saját kapcsolóival együtt."_s},
            {"Displays version information.", u"Kiírja a program verzióját."_s},
            {"Unknown option '%1'.", u"Ismeretlen kapcsoló: „%1”."_s},
            {"Unknown options: %1.", u"Ismeretlen kapcsolók: %1."_s},
            {"Missing value after '%1'.", u"Hiányzik az érték ez után: „%1”."_s},
            {"Unexpected value after '%1'.", u"Váratlan érték ez után: „%1”."_s},
        };
        return texts.value(sourceText);
    }

    bool isEmpty() const override { return false; }
};

[[noreturn]] void refuse(const QString& message)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(QCoreApplication::applicationName()),
                 qPrintable(message));
    std::exit(EXIT_FAILURE);
}

} // namespace

bool asksOnlyForText(const QStringList& arguments)
{
    for (const QString& argument : arguments.sliced(qMin(1, arguments.size()))) {
        if (argument == "--"_L1)
            break;
        if (argument == "-h"_L1 || argument == "-?"_L1 || argument == "--help"_L1 ||
            argument == "--help-all"_L1 || argument == "-v"_L1 || argument == "--version"_L1)
            return true;
    }
    return false;
}

void handleCommandLine(QCoreApplication& app)
{
    ParserTexts texts;
    QCoreApplication::installTranslator(&texts);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        u"Magyar névnaptár: kinek van ma és holnap névnapja, melyik napon ünneplik egy név "
        "viselőit, és kiket ünnepelnek egy napon 1900 és 2100 között."_s);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);

    const QStringList extra = parser.positionalArguments();
    if (!extra.isEmpty())
        refuse(u"Váratlan argumentum: „%1”."_s.arg(extra.first()));

    QCoreApplication::removeTranslator(&texts);
}
