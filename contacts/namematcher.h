#pragma once

#include "contacts/contact.h"

#include <QHash>
#include <QList>
#include <QString>

// Which name of the name table a word of a person's name stands for: the table's own names
// compared composed and without case, with the old substitutes õ and û for ő and ű; then the
// user's aliases; and for a word written without any accent, the one table name it matches
// without accents ("Peter" is Péter), where there is only one.
class NameMatcher
{
public:
    explicit NameMatcher(const QHash<QString, QString>& aliases = {});

    struct Match
    {
        QString name; // as the table has it; empty where the word is no name
        bool withoutAccents = false;
    };
    Match match(const QString& word) const;
    // A nickname counts only as a name of the table or an alias.
    Match matchNickname(const QString& nickname) const;

    // The names a contact celebrates: the words of N's given and additional names, else of FN
    // without titles and married names, and the nicknames that are names. Each name once.
    QList<Match> namesOf(const Contact& contact) const;

private:
    // The words of one of N's values, each worked out once for all the cards that share it.
    const QList<Match>& matchesOfValue(const QString& value) const;
    QList<Match> fullNameMatches(const QString& fullName) const;

    QHash<QString, QString> m_names;      // key → the table's name
    QHash<QString, QString> m_accentless; // key without accents → the one table name, or empty
    QHash<QString, QString> m_aliases;    // key → the table's name
    mutable QHash<QString, Match> m_matches;
    mutable QHash<QString, QList<Match>> m_valueMatches;
};
