#pragma once
// What the big-book benchmarks share: the book sizes they run at (50,000 persons always;
// 200,000 only with TESSARO_BENCH_LARGE=1 in the environment, as making that book takes
// minutes), and the peak memory of the process while a case ran (Linux's high-water mark,
// reset before the case).

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdlib>
#include <fstream>
#include <string>

namespace scalecases {

// Every fifth card is in one of this many groups.
constexpr std::size_t kGroups = 500;

// A vCard file of that many cards (fixed seed, made once per run): three phone numbers and
// two mail addresses each, every fifth card in a group through CATEGORIES.
const std::string& vcardBook(int cards);

inline void bookSizes(benchmark::internal::Benchmark* benchmark)
{
    benchmark->Arg(50000);
    if (const char* large = std::getenv("TESSARO_BENCH_LARGE"); large && std::string(large) == "1")
        benchmark->Arg(200000);
}

class PeakMemory {
public:
    PeakMemory() { restart(); }

    // Forgets the peak so far, so that the next reading is of what follows.
    void restart()
    {
        std::ofstream("/proc/self/clear_refs") << "5";
    }

    void take(benchmark::State& state) const
    {
        std::ifstream status("/proc/self/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind("VmHWM:", 0) == 0)
                state.counters["peak MiB"] = std::stod(line.substr(6)) / 1024;
        }
    }
};

} // namespace scalecases
