// libFuzzer target for the vCard reader. Beyond "no crash, no hang, no sanitizer report" it
// checks the writer against the reader: whatever the reader accepts, written out in either
// version and read again, must give the same cards without a single warning.

#include "platform/contactstore/vcard/CardReader.h"
#include "platform/contactstore/vcard/CardWriter.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

using namespace contactstore::vcard;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const ReadResult first = CardReader().read(input);
    if (!first.ok())
        return 0;
    for (CardWriter::Version version : { CardWriter::Version::V3, CardWriter::Version::V4 }) {
        const std::string written = CardWriter(version).write(first.cards);
        const ReadResult second = CardReader().read(written);
        bool same = second.ok() && second.warnings.empty() && second.cards.size() == first.cards.size();
        for (std::size_t i = 0; same && i < first.cards.size(); ++i)
            same = first.cards[i].sameContent(second.cards[i]);
        if (!same) {
            std::fprintf(stderr, "written cards do not read back the same:\n%s\n", written.c_str());
            for (const ReadProblem& problem : second.errors)
                std::fprintf(stderr, "error %d: %s\n", problem.line, problem.message.c_str());
            for (const ReadProblem& problem : second.warnings)
                std::fprintf(stderr, "warning %d: %s\n", problem.line, problem.message.c_str());
            std::abort();
        }
    }
    return 0;
}
