#include "core/namedays.h"
#include "core/namesearch.h"

#include <benchmark/benchmark.h>

namespace {
void rebuild(benchmark::State& state)
{
    NameDays names;
    int year = 1900;
    for (auto _ : state) {
        names.refdatum = QDate(year, 1, 1);
        names.nevtabla();
        benchmark::DoNotOptimize(names.nevek(2, 24));
        year = year == 2100 ? 1900 : year + 1;
    }
}
BENCHMARK(rebuild);

// What the calendar window does on every click: rebuild for the date's year and describe it.
void dayText(benchmark::State& state)
{
    NameDays names;
    QDate date(2004, 4, 11);
    for (auto _ : state) {
        benchmark::DoNotOptimize(names.napszoveg(date));
        date = date.addDays(37);
        if (date.year() > 2100)
            date = QDate(1900, 1, 1);
    }
}
BENCHMARK(dayText);

NameDays tableOf2004()
{
    NameDays names;
    names.refdatum = QDate(2004, 1, 1);
    names.nevtabla();
    return names;
}

// Every keystroke in the search box; "Szilveszter" is the last day, so every cell is visited.
void prefixLookup(benchmark::State& state)
{
    const NameDays names = tableOf2004();
    const QString query = QStringLiteral("Szilveszter");
    for (auto _ : state)
        benchmark::DoNotOptimize(firstDayStartingWith(names, query));
}
BENCHMARK(prefixLookup);

// Enter with an empty query gives the longest list: every day of the year.
void listEveryDay(benchmark::State& state)
{
    const NameDays names = tableOf2004();
    for (auto _ : state)
        benchmark::DoNotOptimize(daysContaining(names, QString()));
}
BENCHMARK(listEveryDay);
} // namespace

BENCHMARK_MAIN();
