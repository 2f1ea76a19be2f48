#include "contacts/person.h"

#include "contacts/namematcher.h"

#include <QCollator>
#include <QLocale>

using namespace Qt::StringLiterals;

void PersonIndex::add(const QList<Contact>& contacts, const NameMatcher& matcher)
{
    m_people.reserve(m_people.size() + contacts.size());
    m_peopleByIdentity.reserve(m_people.size() + contacts.size());
    for (const Contact& contact : contacts) {
        const QString name = shownName(contact);
        if (name.isEmpty())
            continue;
        // Cards without a UID and with the same name are copies of one card as well.
        const QString identity = contact.uid.isEmpty() ? u"FN:"_s + name : contact.uid;
        qsizetype index = m_peopleByIdentity.value(identity, -1);
        if (index < 0) {
            index = m_people.size();
            m_people.append({name, identity, {}});
            m_peopleByIdentity.insert(identity, index);
        }
        Person& person = m_people[index];
        for (const NameMatcher::Match& match : matcher.namesOf(contact))
            if (!person.names.contains(match.name)) {
                person.names += match.name;
                m_peopleByName[match.name] += index;
            }
    }
}

QList<Person> PersonIndex::celebrating(const Day& day) const
{
    QList<Person> celebrating;
    QHash<qsizetype, qsizetype> found; // person → place in celebrating
    for (const QString& name : day.celebrated)
        for (const qsizetype person : m_peopleByName.value(name)) {
            if (const auto place = found.constFind(person); place != found.cend()) {
                celebrating[*place].names += name;
                continue;
            }
            found.insert(person, celebrating.size());
            celebrating.append({m_people[person].name, m_people[person].identity, {name}});
        }
    QCollator hungarianOrder{QLocale(QLocale::Hungarian)};
    std::ranges::stable_sort(celebrating, [&](const Person& a, const Person& b) {
        return hungarianOrder.compare(a.name, b.name) < 0;
    });
    return celebrating;
}

QString shownName(const Contact& contact)
{
    const QString name = contact.formattedName.simplified();
    if (!name.isEmpty())
        return name;
    return (QStringList{contact.familyName} + contact.givenNames).join(u' ').simplified();
}

QString shownNames(const QList<Person>& people)
{
    QStringList names;
    for (const Person& person : people)
        names += person.name;
    return names.join(u", "_s);
}
