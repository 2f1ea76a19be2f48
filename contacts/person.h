#pragma once

#include "contacts/contact.h"
#include "core/day.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class NameMatcher;

// Someone the user knows: one per UID however many cards they have (cards without a UID are one
// person by their name).
struct Person
{
    QString name;      // as their card shows them: FN, else N's parts in Hungarian order
    QString identity;  // the card's UID, else its name: the same from one run to the next
    QStringList names; // the names of the table they celebrate
};

// The people the user knows, found by the names they celebrate.
class PersonIndex
{
public:
    PersonIndex() = default;
    void add(const QList<Contact>& contacts, const NameMatcher& matcher);

    // Everyone who celebrates on the day, once each, in Hungarian alphabetical order, each with
    // only the names they celebrate on it.
    QList<Person> celebrating(const Day& day) const;
    // Everyone, each with all the names they celebrate, in the order they were added.
    const QList<Person>& people() const { return m_people; }

private:
    QList<Person> m_people;
    QHash<QString, qsizetype> m_peopleByIdentity;
    QHash<QString, QList<qsizetype>> m_peopleByName;
};

// A contact as the outputs name them: FN, else N's parts in Hungarian order; empty for a card
// that names nobody.
QString shownName(const Contact& contact);

// "Kiss Ambrus, Tóth Ambrus".
QString shownNames(const QList<Person>& people);
