#include "contacts/namematcher.h"

#include "core/nametable.h"
#include "dates/daysofyear.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace {
QString keyOf(const QString& name)
{
    QString key = name.normalized(QString::NormalizationForm_C).toCaseFolded();
    // Fonts and keyboards without ő and ű gave õ and û.
    key.replace(u'õ', u'ő');
    key.replace(u'û', u'ű');
    return key;
}

QString withoutAccents(const QString& key)
{
    QString bare;
    for (const QChar c : key.normalized(QString::NormalizationForm_D))
        if (c.category() != QChar::Mark_NonSpacing)
            bare += c;
    return bare;
}

bool isSeparator(QChar c)
{
    return c.isSpace() || c == u',' || c == u'-' || c == u'\u2010';
}

// A name's words: split at white space, commas and hyphens, without the punctuation round them.
QStringList wordsOf(const QString& text)
{
    QStringList words;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && !isSeparator(text[end]))
            ++end;
        qsizetype first = start;
        qsizetype last = end;
        while (first < last && !text[first].isLetter())
            ++first;
        while (last > first && !text[last - 1].isLetter() && !text[last - 1].isMark())
            --last;
        if (first < last)
            words += text.sliced(first, last - first);
        start = end + 1;
    }
    return words;
}

bool isTitle(const QString& word)
{
    static const QStringList titles = {u"dr"_s, u"prof"_s, u"ifj"_s, u"id"_s, u"özv"_s};
    QString bare = keyOf(word);
    if (bare.endsWith(u'.'))
        bare.chop(1);
    return titles.contains(bare);
}

// "Kovács Jánosné": the wife of János, who does not celebrate on his day.
bool isMarriedName(const QString& word)
{
    return word.size() > 2 && keyOf(word).endsWith(u"né"_s);
}

// Every name of the table: the same in every year, only their days move.
QSet<QString> namesOfTheTable()
{
    QSet<QString> names;
    const NameTable table(2001);
    for (const QDate& day : daysOfYear(2001))
        for (const QString& name : table.day(day).celebrated)
            names.insert(name);
    return names;
}
} // namespace

NameMatcher::NameMatcher(const QHash<QString, QString>& aliases)
{
    for (const QString& name : namesOfTheTable()) {
        const QString key = keyOf(name);
        m_names.insert(key, name);
        const QString bare = withoutAccents(key);
        const auto found = m_accentless.constFind(bare);
        m_accentless.insert(bare, found == m_accentless.cend() ? name : QString());
    }
    for (auto alias = aliases.cbegin(); alias != aliases.cend(); ++alias) {
        const QString target = m_names.value(keyOf(alias.value()));
        if (!target.isEmpty())
            m_aliases.insert(keyOf(alias.key()), target);
    }
}

NameMatcher::Match NameMatcher::matchNickname(const QString& nickname) const
{
    const Match found = match(nickname.trimmed());
    return found.withoutAccents ? Match{} : found;
}

// An address book repeats a few hundred names thousands of times: each is worked out once.
NameMatcher::Match NameMatcher::match(const QString& word) const
{
    if (const auto known = m_matches.constFind(word); known != m_matches.cend())
        return *known;
    const QString key = keyOf(word);
    Match found{m_names.value(key), false};
    if (found.name.isEmpty())
        found.name = m_aliases.value(key);
    // Only a word written without accents stands for an accented name: "Ilóna" is not Ilona.
    if (const QString bare = withoutAccents(key); found.name.isEmpty() && bare == key) {
        found.name = m_accentless.value(bare);
        found.withoutAccents = !found.name.isEmpty();
    }
    m_matches.insert(word, found);
    return found;
}

QList<NameMatcher::Match> NameMatcher::fullNameMatches(const QString& fullName) const
{
    QList<Match> matches;
    for (const QString& word : wordsOf(fullName))
        if (!isTitle(word) && !isMarriedName(word))
            matches += match(word);
    // Hungarian order puts the family name first, and many family names are given names too.
    if (matches.size() > 1 && !matches.constFirst().name.isEmpty() &&
        !matches.constLast().name.isEmpty())
        matches = {matches.constLast()};
    return matches;
}

const QList<NameMatcher::Match>& NameMatcher::matchesOfValue(const QString& value) const
{
    if (const auto known = m_valueMatches.constFind(value); known != m_valueMatches.cend())
        return *known;
    QList<Match> matches;
    for (const QString& word : wordsOf(value))
        matches += match(word);
    return *m_valueMatches.insert(value, matches);
}

QList<NameMatcher::Match> NameMatcher::namesOf(const Contact& contact) const
{
    QList<Match> names;
    const auto add = [&](const Match& candidate) {
        if (!candidate.name.isEmpty() && std::ranges::none_of(names, [&](const Match& name) {
                return name.name == candidate.name;
            }))
            names += candidate;
    };
    bool givenNames = false;
    for (const QString& given : contact.givenNames)
        for (const Match& match : matchesOfValue(given)) {
            givenNames = true;
            add(match);
        }
    if (!givenNames)
        for (const Match& match : fullNameMatches(contact.formattedName))
            add(match);
    for (const QString& nickname : contact.nicknames)
        add(matchNickname(nickname));
    return names;
}
