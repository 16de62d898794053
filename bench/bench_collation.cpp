// Alphabetical sections and collation sorting of 50,000 names, as the person lists do them.

#include "platform/ui/LocalizedIndexedCollation.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::string> makeNames(std::size_t count)
{
    static const char* family[] = { "Smith", "Émile", "Øster", "yamada", "やまだ", "ヤマモト", "ｶﾀｷﾞﾘ", "山田", "Łukasz", "42 Club",
                                     "adams", "Zoë", "O'Brien", "van Dijk", "さとう", "たなか", "Müller", "García" };
    std::mt19937 random(20130305);
    std::vector<std::string> names;
    names.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::string name = family[random() % std::size(family)];
        name += ' ';
        name += static_cast<char>('a' + random() % 26);
        name += std::to_string(random() % 10000);
        names.push_back(std::move(name));
    }
    return names;
}

const std::vector<std::string>& names()
{
    static const auto all = makeNames(50000);
    return all;
}

void BM_CollationBuild(benchmark::State& state)
{
    for (auto _ : state) {
        ui::LocalizedIndexedCollation collation(state.range(0) ? "ja_JP" : "en_US");
        benchmark::DoNotOptimize(collation.sectionTitles().size());
    }
}
BENCHMARK(BM_CollationBuild)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_SectionOf50000Names(benchmark::State& state)
{
    ui::LocalizedIndexedCollation collation("ja_JP");
    for (auto _ : state) {
        int sum = 0;
        for (const auto& name : names())
            sum += collation.sectionForString(name);
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_SectionOf50000Names)->Unit(benchmark::kMillisecond);

void BM_SortKeysOf50000Names(benchmark::State& state)
{
    ui::LocalizedIndexedCollation collation("ja_JP");
    for (auto _ : state) {
        std::size_t bytes = 0;
        for (const auto& name : names())
            bytes += collation.sortKey(name).size();
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_SortKeysOf50000Names)->Unit(benchmark::kMillisecond);

void BM_Sort50000NamesByKeptKeys(benchmark::State& state)
{
    ui::LocalizedIndexedCollation collation("ja_JP");
    std::vector<std::pair<std::string, std::size_t>> keyed;
    for (std::size_t i = 0; i < names().size(); ++i)
        keyed.emplace_back(collation.sortKey(names()[i]), i);
    for (auto _ : state) {
        auto copy = keyed;
        ui::LocalizedIndexedCollation::sortByKeys(copy, [](const auto& k) -> const std::string& { return k.first; });
        benchmark::DoNotOptimize(copy.front().second);
    }
}
BENCHMARK(BM_Sort50000NamesByKeptKeys)->Unit(benchmark::kMillisecond);

} // namespace
