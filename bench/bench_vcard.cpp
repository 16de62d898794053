// vCard at the size of a full cloud account: 50,000 cards (and 200,000 with
// TESSARO_BENCH_LARGE=1), each with three phone numbers and two mail addresses, every fifth in
// one of 500 groups named through CATEGORIES (fixed seed). Import is the whole path a user
// of `tessaro import` waits for: reading the file piece by piece and storing card by card
// in one transaction into a fresh store; export is `tessaro export`, card by card from the
// store's file. Both report the peak memory of the process while they ran.

#include "ScaleCases.h"

#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Group.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/vcard/BookExporter.h"
#include "platform/contactstore/vcard/BookImporter.h"
#include "platform/contactstore/vcard/CardReader.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kCards = 50000;
constexpr auto kGroups = scalecases::kGroups;

const std::string& file(int cards)
{
    return scalecases::vcardBook(cards);
}

class ScratchFolder {
public:
    ScratchFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tessaro-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ignored);
    }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// The file as the command line hands over standard input: one text, read piece by piece.
contactstore::vcard::ImportResult importInto(const std::filesystem::path& folder, int cards)
{
    return contactstore::vcard::BookImporter::importIntoStore(folder, { { "bench.vcf", {}, file(cards) } });
}

void BM_VcardRead50000Cards(benchmark::State& state)
{
    const std::string& text = file(kCards);
    for (auto _ : state) {
        const contactstore::vcard::ReadResult result = contactstore::vcard::CardReader().read(text);
        if (result.cards.size() != kCards)
            state.SkipWithError("the file did not read whole");
        benchmark::DoNotOptimize(result.cards.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_VcardRead50000Cards)->Unit(benchmark::kMillisecond);

void BM_VcardImportIntoAFreshStore(benchmark::State& state)
{
    const int cards = static_cast<int>(state.range(0));
    (void)file(cards);
    scalecases::PeakMemory peak;
    for (auto _ : state) {
        state.PauseTiming();
        auto folder = std::make_unique<ScratchFolder>();
        peak.restart();
        state.ResumeTiming();
        const contactstore::vcard::ImportResult result = importInto(folder->path(), cards);
        if (!result.ok() || result.personsAdded != static_cast<std::size_t>(cards) || result.groupsCreated != kGroups)
            state.SkipWithError("the import failed");
        state.PauseTiming();
        peak.take(state);
        folder.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_VcardImportIntoAFreshStore)->Apply(scalecases::bookSizes)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_VcardExportOfTheStore(benchmark::State& state)
{
    const int cards = static_cast<int>(state.range(0));
    ScratchFolder folder;
    if (!importInto(folder.path(), cards).ok()) {
        state.SkipWithError("the import failed");
        return;
    }
    scalecases::PeakMemory peak;
    for (auto _ : state) {
        std::size_t bytes = 0;
        const contactstore::vcard::ExportResult result = contactstore::vcard::BookExporter::exportStore(
            folder.path(), [&bytes](std::string_view text, std::string&) {
                bytes += text.size();
                return true;
            });
        if (!result.ok() || result.persons != static_cast<std::size_t>(cards))
            state.SkipWithError("the export failed");
        state.counters["MiB written"] = static_cast<double>(bytes) / (1 << 20);
    }
    peak.take(state);
}
BENCHMARK(BM_VcardExportOfTheStore)->Apply(scalecases::bookSizes)->Unit(benchmark::kMillisecond)->Iterations(2);

// An import into the application's handle that fails at its save is taken back: the persons
// and groups it added, every fifth person a member of one of the 500 groups, leave the
// handle again. Taking them out one by one looked at every group's members for each person.
void BM_VcardImportTakenBackFromTheHandle(benchmark::State& state)
{
    const int cards = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        ScratchFolder folder;
        auto book = contactstore::AddressBook::createAt(folder.path());
        std::vector<contactstore::GroupRef> groups;
        std::vector<contactstore::RecordRef> added;
        for (std::size_t index = 0; index < kGroups; ++index) {
            auto group = contactstore::Group::create();
            (void)group->setValue(contactstore::kGroupNameProperty, "Group " + std::to_string(index));
            (void)book->addRecord(group);
            groups.push_back(group);
            added.push_back(group);
        }
        for (int index = 0; index < cards; ++index) {
            auto person = contactstore::Person::create();
            (void)person->setValue(contactstore::kPersonFirstNameProperty, "Person " + std::to_string(index));
            (void)book->addRecord(person);
            if (index % 5 == 0)
                (void)groups[static_cast<std::size_t>(index) % kGroups]->addMember(person);
            added.push_back(person);
        }
        std::vector<contactstore::RecordRef> lastFirst(added.rbegin(), added.rend());
        state.ResumeTiming();
        if (!book->removeRecords(lastFirst) || book->personCount() != 0 || book->groupCount() != 0)
            state.SkipWithError("the import was not taken back");
    }
}
BENCHMARK(BM_VcardImportTakenBackFromTheHandle)->Apply(scalecases::bookSizes)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
