#include "searchprovider/searchservice.h"

#include "dates/clock.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QProcess>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {
const QString iconName = QStringLiteral(ZORVAT_APP_ID);

// The Shell asks on every key press: the results of a few hundred queries are kept for it.
constexpr qsizetype mostShown = 1000;

// The Shell splits the query at white space.
QString queryOf(const QStringList& terms)
{
    qsizetype length = 0;
    for (const QString& term : terms)
        length += term.size() + 1;
    return length > 4096 ? QString() : terms.join(u' ');
}

QStringList idsOf(const QList<SearchResult>& results)
{
    QStringList ids;
    for (const SearchResult& result : results)
        ids += result.id;
    return ids;
}
} // namespace

SearchService::SearchService(NameDaySearch search, std::chrono::milliseconds idleTime)
    : m_search(std::move(search))
{
    qDBusRegisterMetaType<QList<QVariantMap>>();
    qDBusRegisterMetaType<RunnerMatch>();
    qDBusRegisterMetaType<QList<RunnerMatch>>();
    qDBusRegisterMetaType<RunnerAction>();
    qDBusRegisterMetaType<QList<RunnerAction>>();
    new ShellSearchProvider(this);
    new KRunnerProvider(this);
    m_idle.setSingleShot(true);
    m_idle.setInterval(idleTime);
    connect(&m_idle, &QTimer::timeout, this, &SearchService::idle);
    m_idle.start();
}

void SearchService::asked()
{
    m_idle.start();
}

QList<SearchResult> SearchService::answer(const QString& query)
{
    asked();
    const QList<SearchResult> results = m_search.answer(query);
    if (m_shown.size() + results.size() > mostShown)
        m_shown.clear();
    for (const SearchResult& result : results)
        m_shown.insert(result.id, result);
    return results;
}

QList<SearchResult> SearchService::shown(const QStringList& ids)
{
    asked();
    QList<SearchResult> results;
    for (const QString& id : ids)
        if (const auto found = m_shown.constFind(id); found != m_shown.cend())
            results += *found;
    return results;
}

void SearchService::open(const QString& id)
{
    asked();
    if (const QDate day = dayOfResult(id); day.isValid())
        openCalendarOn(day);
}

void SearchService::openFirst(const QString& query)
{
    const QList<SearchResult> results = answer(query);
    const QDate day = results.isEmpty() ? QDate() : dayOfResult(results.constFirst().id);
    openCalendarOn(day.isValid() ? day : today());
}

// Found through PATH, as the menu entry's Exec=zorvat is.
void SearchService::openCalendarOn(const QDate& day)
{
    QProcess zorvat;
    zorvat.setProgram(u"zorvat"_s);
    zorvat.setArguments({u"--calendar"_s, day.toString(Qt::ISODate)});
    zorvat.setStandardInputFile(QProcess::nullDevice());
    if (!zorvat.startDetached())
        std::fprintf(stderr, "%s\n",
                     qPrintable(u"zorvat-search-provider: a Zorvat nem indítható el: %1"_s.arg(
                         zorvat.errorString())));
}

ShellSearchProvider::ShellSearchProvider(SearchService* service)
    : QDBusAbstractAdaptor(service)
    , m_service(service)
{
}

QStringList ShellSearchProvider::GetInitialResultSet(const QStringList& terms)
{
    return idsOf(m_service->answer(queryOf(terms)));
}

// Every key press is answered anew: that is as quick as narrowing the last answer.
QStringList ShellSearchProvider::GetSubsearchResultSet(const QStringList&, const QStringList& terms)
{
    return idsOf(m_service->answer(queryOf(terms)));
}

QList<QVariantMap> ShellSearchProvider::GetResultMetas(const QStringList& identifiers)
{
    QList<QVariantMap> metas;
    for (const SearchResult& result : m_service->shown(identifiers)) {
        QVariantMap meta{{u"id"_s, result.id},
                         {u"name"_s, result.text},
                         {u"gicon"_s, iconName},
                         {u"clipboardText"_s, result.text}};
        if (!result.description.isEmpty())
            meta.insert(u"description"_s, result.description);
        metas += meta;
    }
    return metas;
}

void ShellSearchProvider::ActivateResult(const QString& identifier, const QStringList&, uint)
{
    m_service->open(identifier);
}

void ShellSearchProvider::LaunchSearch(const QStringList& terms, uint)
{
    m_service->openFirst(queryOf(terms));
}

QDBusArgument& operator<<(QDBusArgument& argument, const RunnerMatch& match)
{
    argument.beginStructure();
    argument << match.id << match.text << match.iconName << match.type << match.relevance
             << match.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, RunnerMatch& match)
{
    argument.beginStructure();
    argument >> match.id >> match.text >> match.iconName >> match.type >> match.relevance >>
        match.properties;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const RunnerAction& action)
{
    argument.beginStructure();
    argument << action.id << action.text << action.iconName;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, RunnerAction& action)
{
    argument.beginStructure();
    argument >> action.id >> action.text >> action.iconName;
    argument.endStructure();
    return argument;
}

KRunnerProvider::KRunnerProvider(SearchService* service)
    : QDBusAbstractAdaptor(service)
    , m_service(service)
{
}

QList<RunnerAction> KRunnerProvider::Actions()
{
    return {};
}

// KRunner orders by kind, then by relevance: the order of the answer is kept.
QList<RunnerMatch> KRunnerProvider::Match(const QString& query)
{
    constexpr int exactMatch = 100;
    constexpr int possibleMatch = 30;
    QList<RunnerMatch> matches;
    const QList<SearchResult> results = m_service->answer(query);
    for (qsizetype place = 0; place < results.size(); ++place) {
        const SearchResult& result = results[place];
        QVariantMap properties{{u"category"_s, u"Névnapok"_s}};
        if (!result.description.isEmpty())
            properties.insert(u"subtext"_s, result.description);
        matches.append({result.id, result.text, iconName, result.exact ? exactMatch : possibleMatch,
                        1.0 - 0.01 * double(place), properties});
    }
    return matches;
}

void KRunnerProvider::Run(const QString& matchId, const QString&)
{
    m_service->open(matchId);
}

// Two letters at least, as the search wants them.
QVariantMap KRunnerProvider::Config()
{
    return {{u"MinLetterCount"_s, 2}};
}

void KRunnerProvider::Teardown() {}
