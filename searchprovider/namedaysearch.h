#pragma once

#include "contacts/person.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// One answer to what was typed into the desktop's search, in Hungarian.
struct SearchResult
{
    QString id;          // the kind, the day it opens and what it names: "name/2026-07-26/Anna"
    QString text;        // "Anna — július 26., vasárnap: 229 nap múlva"
    QString description; // a second line; empty where there is nothing more to say
    bool exact = false;  // the whole query named it, not only its beginning
};

// The day that activating a result opens; invalid for an id that no search gives.
QDate dayOfResult(QStringView id);

// What the desktop's search finds for a query, on the day of the clock: the days that "ma",
// "holnap" and "névnap" stand for, a date, the names of the table that begin with the query
// (case and accents ignored), and the people whose name the query's words begin.
class NameDaySearch
{
public:
    // The people are the user's own; an empty index shows nobody.
    explicit NameDaySearch(PersonIndex people = {});

    QList<SearchResult> answer(const QString& query);

private:
    struct ComingPerson
    {
        QString name;
        QStringList words; // of the name, as searched: without case and accents
        QDate day;         // the person's next name day
        QStringList names; // the names they celebrate on it
    };
    struct ComingName
    {
        QString name;
        QString key;
        QList<QDate> days; // in the coming year, the next one first
    };

    void prepareComingYear();
    void addDayResults(const QString& key, QList<SearchResult>& results) const;
    void addDateResult(const QString& key, QList<SearchResult>& results) const;
    void addNameResults(const QString& key, bool exact, QList<SearchResult>& results) const;
    void addPeopleResults(const QString& key, QList<SearchResult>& results) const;
    SearchResult dayResult(const QString& kind, const QDate& date, const QString& text) const;

    PersonIndex m_people;
    QDate m_today; // the day the coming year below starts on
    QList<ComingName> m_names;
    QList<ComingPerson> m_comingPeople;
};
