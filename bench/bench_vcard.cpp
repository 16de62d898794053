// vCard at the size of a full cloud account: 50,000 cards, each with three phone numbers and
// two mail addresses (fixed seed). Import is the whole path a user waits for: reading the
// file, making the persons and saving them in one transaction into a fresh store.

#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/vcard/BookExporter.h"
#include "platform/contactstore/vcard/BookImporter.h"
#include "platform/contactstore/vcard/CardReader.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

constexpr int kCards = 50000;

std::string makeFile()
{
    static const char* const kFirst[] = { "Anna", "Björn", "Chloé", "Daiki", "Emma", "Farid", "Grace", "Hiroshi",
        "Inès", "Jonas", "Keiko", "Liam", "Maria", "Noah", "Olga", "Pedro" };
    static const char* const kLast[] = { "Smith", "Müller", "García", "Sato", "Rossi", "Dubois", "Nowak", "Kim",
        "Jensen", "Silva", "Tanaka", "Novák", "Öztürk", "Yamamoto", "Brown", "Ivanova" };
    std::uint64_t state = 0x5EED5EED5EEDull;
    auto next = [&] {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(state >> 33);
    };
    std::string text;
    text.reserve(static_cast<std::size_t>(kCards) * 330);
    for (int i = 0; i < kCards; ++i) {
        const std::string first = kFirst[next() % 16];
        const std::string last = kLast[next() % 16];
        const std::string number = std::to_string(1000000 + next() % 9000000);
        text += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:" + last + ";" + first + ";;;\r\nFN:" + first + " " + last + "\r\n";
        text += "TEL;TYPE=CELL,VOICE:+81 90 " + number + "\r\n";
        text += "TEL;TYPE=HOME,VOICE:03-" + number.substr(0, 4) + "-" + std::to_string(i) + "\r\n";
        text += "TEL;TYPE=WORK,VOICE:+1 555 " + std::to_string(next() % 10000000) + "\r\n";
        text += "EMAIL;TYPE=INTERNET,HOME:" + first + "." + std::to_string(i) + "@example.com\r\n";
        text += "EMAIL;TYPE=INTERNET,WORK:" + last + std::to_string(i) + "@work.example\r\n";
        text += "END:VCARD\r\n";
    }
    return text;
}

const std::string& file()
{
    static const std::string text = makeFile();
    return text;
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

void BM_VcardRead50000Cards(benchmark::State& state)
{
    const std::string& text = file();
    for (auto _ : state) {
        const contactstore::vcard::ReadResult result = contactstore::vcard::CardReader().read(text);
        if (result.cards.size() != kCards)
            state.SkipWithError("the file did not read whole");
        benchmark::DoNotOptimize(result.cards.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_VcardRead50000Cards)->Unit(benchmark::kMillisecond);

void BM_VcardImport50000CardsIntoAFreshStore(benchmark::State& state)
{
    const std::string& text = file();
    for (auto _ : state) {
        state.PauseTiming();
        auto folder = std::make_unique<ScratchFolder>();
        contactstore::Error error;
        contactstore::AddressBookRef book = contactstore::AddressBook::createAt(folder->path(), &error);
        state.ResumeTiming();
        {
            contactstore::vcard::BookImporter importer(book);
            importer.addText(text, "bench.vcf");
            const contactstore::vcard::ImportResult result = importer.commit();
            if (!result.ok() || result.personsAdded != kCards)
                state.SkipWithError("the import failed");
        }
        state.PauseTiming();
        book.reset();
        folder.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_VcardImport50000CardsIntoAFreshStore)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_VcardExport50000Persons(benchmark::State& state)
{
    ScratchFolder folder;
    contactstore::Error error;
    {
        contactstore::vcard::BookImporter importer(contactstore::AddressBook::createAt(folder.path(), &error));
        importer.addText(file(), "bench.vcf");
        if (!importer.commit().ok()) {
            state.SkipWithError("the import failed");
            return;
        }
    }
    const contactstore::AddressBookRef book = contactstore::AddressBook::createAt(folder.path(), &error);
    for (auto _ : state) {
        const contactstore::vcard::ExportResult result
            = contactstore::vcard::BookExporter::exportToFile(*book, folder.path() / "out.vcf");
        if (!result.ok())
            state.SkipWithError("the export failed");
    }
}
BENCHMARK(BM_VcardExport50000Persons)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
