#include "core/calendarrange.h"
#include "core/namesearch.h"
#include "core/nametable.h"

#include <benchmark/benchmark.h>

namespace {
void rebuild(benchmark::State& state)
{
    int year = firstCalendarYear;
    for (auto _ : state) {
        const NameTable table(year);
        benchmark::DoNotOptimize(table.entry(2, 24));
        year = year == lastCalendarYear ? firstCalendarYear : year + 1;
    }
}
BENCHMARK(rebuild);

// What the calendar window does on every click: build the date's year and describe the day.
void dayText(benchmark::State& state)
{
    QDate date(2004, 4, 11);
    for (auto _ : state) {
        benchmark::DoNotOptimize(dayText(dayOn(date)));
        date = date.addDays(37);
        if (!isInCalendarRange(date))
            date = firstCalendarDay();
    }
}
BENCHMARK(dayText);

// Every keystroke in the search box; "Szilveszter" is the last day, so every day is visited.
void prefixLookup(benchmark::State& state)
{
    const NameTable table(2004);
    const QString query = QStringLiteral("Szilveszter");
    for (auto _ : state)
        benchmark::DoNotOptimize(firstDayStartingWith(table, query));
}
BENCHMARK(prefixLookup);

// Enter with an empty query gives the longest list: every day of the year.
void listEveryDay(benchmark::State& state)
{
    const NameTable table(2004);
    for (auto _ : state)
        benchmark::DoNotOptimize(daysContaining(table, QString()));
}
BENCHMARK(listEveryDay);
} // namespace

BENCHMARK_MAIN();
