// Every vCard file in tests/data/vcard is read and compared with its .ref beside it: the
// cards as the reader understood them, the name each person is shown by, and the warnings
// and errors with their lines.
// Running with TESSARO_UPDATE_GOLDEN=1 rewrites the .ref files (review the diff!).

#include "CardDump.h"

#include "platform/contactstore/NameFormat.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/vcard/CardReader.h"
#include "platform/contactstore/vcard/CardWriter.h"
#include "platform/contactstore/vcard/PersonCardMapping.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using namespace contactstore;
using namespace contactstore::vcard;

namespace {

fs::path goldenFolder()
{
    return fs::path(TESSARO_TEST_DATA_DIR) / "vcard";
}

std::string readAll(const fs::path& file)
{
    std::ifstream stream(file, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

std::vector<fs::path> vcardFiles()
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(goldenFolder())) {
        if (entry.path().extension() == ".vcf")
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The card as a person of the address book holds it and gives it back for export. The
// identifier and the groups belong to the book, not the person, and come along as they were.
Card throughAPerson(const Card& card)
{
    if (card.kind == Card::Kind::Group)
        return card;
    const PersonRef person = Person::create();
    Error error;
    EXPECT_TRUE(PersonCardMapping::fillPerson(card, *person, &error)) << error.description;
    Card back = PersonCardMapping::cardFromPerson(*person);
    back.uid = card.uid;
    back.categories = card.categories;
    back.line = card.line;
    return back;
}

std::string shownName(const Card& card)
{
    if (card.kind == Card::Kind::Group)
        return {};
    const PersonRef person = Person::create();
    (void)PersonCardMapping::fillPerson(card, *person);
    return "  shown as: " + person->copyCompositeName().value_or("(nothing)") + "\n";
}

struct EnglishNames {
    EnglishNames() { NameFormat::setLanguage("en"); }
    ~EnglishNames() { NameFormat::setLanguage(""); }
};

} // namespace

TEST(VcardGoldenFiles, EachFileReadsAsItsReferenceSays)
{
    const EnglishNames english;
    const bool update = std::getenv("TESSARO_UPDATE_GOLDEN") != nullptr;
    const std::vector<fs::path> files = vcardFiles();
    ASSERT_GE(files.size(), 10u) << "golden files missing in " << goldenFolder();
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.filename().string());
        const std::string actual = vcardtest::dump(CardReader().read(readAll(file)), shownName);
        fs::path reference = file;
        reference += ".ref";
        if (update) {
            std::ofstream(reference, std::ios::binary) << actual;
            continue;
        }
        ASSERT_TRUE(fs::exists(reference)) << "no " << reference;
        EXPECT_EQ(actual, readAll(reference));
    }
}

// Whatever a real export held, kept by a person, written out and read back gives the same
// cards, display names included, in both versions we write.
TEST(VcardGoldenFiles, WhatWasReadSurvivesAPersonWritingAndReadingAgain)
{
    for (const fs::path& file : vcardFiles()) {
        SCOPED_TRACE(file.filename().string());
        const ReadResult first = CardReader().read(readAll(file));
        if (!first.ok())
            continue;
        std::vector<Card> kept;
        for (const Card& card : first.cards)
            kept.push_back(throughAPerson(card));
        for (CardWriter::Version version : { CardWriter::Version::V3, CardWriter::Version::V4 }) {
            const std::string written = CardWriter(version).write(kept);
            const ReadResult second = CardReader().read(written);
            ASSERT_TRUE(second.ok()) << written;
            EXPECT_TRUE(second.warnings.empty()) << vcardtest::dump(second);
            ASSERT_EQ(second.cards.size(), first.cards.size());
            for (std::size_t i = 0; i < first.cards.size(); ++i) {
                EXPECT_TRUE(first.cards[i].sameContent(second.cards[i]))
                    << "before:\n" << vcardtest::dump(first.cards[i]) << "after:\n" << vcardtest::dump(second.cards[i])
                    << "written:\n" << written;
            }
        }
    }
}
