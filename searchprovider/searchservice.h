#pragma once

#include "searchprovider/namedaysearch.h"

#include <QDBusAbstractAdaptor>
#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>

#include <chrono>

class QDBusArgument;

// Where the desktop finds the service: the same object answers GNOME Shell and KRunner.
inline const QString searchBusName = QStringLiteral(ZORVAT_SEARCH_BUS_NAME);
inline const QString searchObjectPath = QStringLiteral(ZORVAT_SEARCH_OBJECT_PATH);

// What both desktops ask, on one search; the D-Bus interfaces below only translate.
class SearchService : public QObject
{
    Q_OBJECT

public:
    // Quiet for `idleTime`, the service says it is idle.
    SearchService(NameDaySearch search, std::chrono::milliseconds idleTime);

    QList<SearchResult> answer(const QString& query);
    // Results the service gave, by id; an id it never gave has none.
    QList<SearchResult> shown(const QStringList& ids);
    // Zorvat's calendar on the day of the result: a running Zorvat shows it, else one starts.
    void open(const QString& id);
    // The day of the query's first result, or today.
    void openFirst(const QString& query);

Q_SIGNALS:
    void idle();

private:
    void asked();
    void openCalendarOn(const QDate& day);

    NameDaySearch m_search;
    QHash<QString, SearchResult> m_shown;
    QTimer m_idle;
};

// GNOME Shell's Activities search.
class ShellSearchProvider : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.gnome.Shell.SearchProvider2")

public:
    explicit ShellSearchProvider(SearchService* service);

public Q_SLOTS:
    QStringList GetInitialResultSet(const QStringList& terms);
    QStringList GetSubsearchResultSet(const QStringList& previousResults, const QStringList& terms);
    QList<QVariantMap> GetResultMetas(const QStringList& identifiers);
    void ActivateResult(const QString& identifier, const QStringList& terms, uint timestamp);
    void LaunchSearch(const QStringList& terms, uint timestamp);

private:
    SearchService* m_service;
};

// KRunner's match and its actions, as org.kde.krunner1 carries them.
struct RunnerMatch
{
    QString id;
    QString text;
    QString iconName;
    int type = 0; // KRunner's kind of match: 100 exact, 30 possible
    double relevance = 0;
    QVariantMap properties;
};
struct RunnerAction
{
    QString id;
    QString text;
    QString iconName;
};
QDBusArgument& operator<<(QDBusArgument& argument, const RunnerMatch& match);
const QDBusArgument& operator>>(const QDBusArgument& argument, RunnerMatch& match);
QDBusArgument& operator<<(QDBusArgument& argument, const RunnerAction& action);
const QDBusArgument& operator>>(const QDBusArgument& argument, RunnerAction& action);
Q_DECLARE_METATYPE(RunnerMatch)
Q_DECLARE_METATYPE(RunnerAction)

// KDE Plasma's KRunner.
class KRunnerProvider : public QDBusAbstractAdaptor
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.krunner1")

public:
    explicit KRunnerProvider(SearchService* service);

public Q_SLOTS:
    QList<RunnerAction> Actions();
    QList<RunnerMatch> Match(const QString& query);
    void Run(const QString& matchId, const QString& actionId);
    QVariantMap Config();
    void Teardown();

private:
    SearchService* m_service;
};
