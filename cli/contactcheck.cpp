#include "cli/contactcheck.h"

#include "contacts/namematcher.h"
#include "contacts/person.h"
#include "system/arguments.h"

#include <QCollator>
#include <QLocale>

using namespace Qt::StringLiterals;

QString contactCheck(const ContactSources& sources)
{
    const NameMatcher matcher(sources.configuration.aliases);
    QString report;
    QStringList nameless;
    for (const SourceReading& reading : sources.readings) {
        report += u"%1\n"_s.arg(reading.source);
        if (!reading.problem.isEmpty())
            report += u"  %1\n"_s.arg(reading.problem);
        if (!reading.problem.isEmpty() && reading.cards == 0)
            continue;
        int matched = 0;
        int onlyWithoutAccents = 0;
        for (const Contact& contact : reading.contacts) {
            const QList<NameMatcher::Match> names = matcher.namesOf(contact);
            if (names.isEmpty()) {
                if (const QString name = shownName(contact); !name.isEmpty())
                    nameless += name;
            } else if (std::ranges::all_of(names, &NameMatcher::Match::withoutAccents)) {
                ++onlyWithoutAccents;
            } else {
                ++matched;
            }
        }
        report += u"  névjegy: %1\n"_s.arg(reading.cards);
        report += u"  hibás, kihagyva: %1\n"_s.arg(reading.malformed);
        report += u"  nem személy (csoport vagy szervezet): %1\n"_s.arg(reading.notPeople);
        report += u"  névnappal: %1\n"_s.arg(matched);
        report += u"  névnappal, csak ékezet nélkül egyező névvel: %1\n"_s.arg(onlyWithoutAccents);
        report +=
            u"  névnap nélkül: %1\n"_s.arg(reading.contacts.size() - matched - onlyWithoutAccents);
        if (reading.noteCount > 0)
            report += u"  Javítandó névjegyek:\n"_s;
        for (const CardNote& note : reading.notes)
            report += u"    „%1” %2. névjegye (%3. sor): %4\n"_s.arg(shownArgument(note.file))
                          .arg(note.card)
                          .arg(note.line)
                          .arg(note.why);
        if (reading.noteCount > reading.notes.size())
            report += u"    …és még %1 névjegy\n"_s.arg(reading.noteCount - reading.notes.size());
    }
    if (!nameless.isEmpty()) {
        QCollator hungarianOrder{QLocale(QLocale::Hungarian)};
        std::ranges::sort(nameless, hungarianOrder);
        report += u"\nNévnap nélküli ismerősök (a beállítófájl [aliases] részében becenévvel "
                  "párosíthatók egy névnaphoz, például Pisti=István):\n"_s;
        for (const QString& name : std::as_const(nameless))
            report += u"  "_s + name + u'\n';
    }
    return report;
}
