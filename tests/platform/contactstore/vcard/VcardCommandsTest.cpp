// `tessaro import` and `tessaro export` as a user meets them: exit statuses, what is printed,
// and the profile's address book before and after.

#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/vcard/VcardCommands.h"
#include "platform/foundation/DataLocations.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using contactstore::vcard::VcardCommands;

namespace {

// Collects what a command prints on one stream.
class Captured {
public:
    Captured()
        : m_file(std::tmpfile())
    {
    }
    ~Captured() { std::fclose(m_file); }
    Captured(const Captured&) = delete;
    Captured& operator=(const Captured&) = delete;

    std::FILE* file() const { return m_file; }
    std::string text() const
    {
        std::fflush(m_file);
        std::rewind(m_file);
        std::string all;
        char buffer[4096];
        while (const std::size_t read = std::fread(buffer, 1, sizeof buffer, m_file))
            all.append(buffer, read);
        return all;
    }

private:
    std::FILE* m_file;
};

class VcardCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previousProfile = foundation::DataLocations::profileDirectory();
        foundation::DataLocations::setProfileDirectory(profile.path());
    }
    void TearDown() override { foundation::DataLocations::setProfileDirectory(m_previousProfile); }

    int run(const std::string& command, const std::vector<std::string>& arguments)
    {
        return command == "import" ? VcardCommands::runImport(arguments, out.file(), err.file())
                                   : VcardCommands::runExport(arguments, out.file(), err.file());
    }

    std::size_t personsInProfile() const
    {
        contactstore::Error error;
        return contactstore::AddressBook::create(&error)->personCount();
    }

    static std::string golden(const std::string& name)
    {
        return (fs::path(TESSARO_TEST_DATA_DIR) / "vcard" / name).string();
    }

    testsupport::TempDir profile;
    Captured out;
    Captured err;

private:
    fs::path m_previousProfile;
};

} // namespace

TEST_F(VcardCommandsTest, ImportSaysWhatItAddedOrWhyItAddedNothing)
{
    EXPECT_EQ(run("import", {}), 2);
    EXPECT_NE(err.text().find("usage: tessaro import"), std::string::npos);

    EXPECT_EQ(run("import", { golden("google-3.0.vcf"), golden("not-vcard.vcf") }), 1);
    EXPECT_NE(err.text().find("error: " + golden("not-vcard.vcf") + ":1: "), std::string::npos) << err.text();
    EXPECT_NE(err.text().find("nothing was imported"), std::string::npos);
    EXPECT_EQ(personsInProfile(), 0u);

    // A line no card can use costs that line, not the file.
    EXPECT_EQ(run("import", { golden("google-3.0.vcf"), golden("handset-3.0.vcf"), golden("broken-line.vcf") }), 0)
        << err.text();
    EXPECT_NE(out.text().find("imported 6 persons and 5 new groups"), std::string::npos) << out.text();
    EXPECT_NE(err.text().find("warning: " + golden("handset-3.0.vcf") + ":53: "), std::string::npos) << err.text();
    EXPECT_NE(err.text().find("warning: " + golden("broken-line.vcf") + ":9: "), std::string::npos) << err.text();
    EXPECT_EQ(personsInProfile(), 6u);
}

TEST_F(VcardCommandsTest, ExportWritesTheWholeBookToAFileOrStandardOutput)
{
    ASSERT_EQ(run("import", { golden("rfc-4.0.vcf") }), 0) << err.text();

    EXPECT_EQ(run("export", {}), 2);
    EXPECT_EQ(run("export", { "a.vcf", "b.vcf" }), 2);
    EXPECT_EQ(run("export", { "a.vcf", "--vcard-version", "2.1" }), 2);
    EXPECT_NE(err.text().find("vCard version 2.1 cannot be written"), std::string::npos);
    EXPECT_FALSE(fs::exists("a.vcf"));

    const fs::path file = profile / "book.vcf";
    EXPECT_EQ(run("export", { file.string(), "--vcard-version", "4.0" }), 0) << err.text();
    EXPECT_NE(out.text().find("exported 2 persons and 1 groups to " + file.string()), std::string::npos) << out.text();
    EXPECT_TRUE(fs::exists(file));

    Captured standardOutput;
    EXPECT_EQ(VcardCommands::runExport({ "-" }, standardOutput.file(), err.file()), 0);
    const std::string text = standardOutput.text();
    EXPECT_EQ(text.rfind("BEGIN:VCARD\r\nVERSION:3.0\r\n", 0), 0u) << text;
    EXPECT_NE(text.find("X-ADDRESSBOOKSERVER-KIND:group"), std::string::npos);
}

TEST_F(VcardCommandsTest, ImportReadsEveryFileBeforeOpeningTheBookAndDashIsStandardInput)
{
    const fs::path book = foundation::DataLocations::addressBookDirectory() / contactstore::AddressBook::kDatabaseFileName;
    EXPECT_EQ(run("import", { (profile / "missing.vcf").string() }), 1);
    EXPECT_NE(err.text().find("missing.vcf"), std::string::npos) << err.text();
    EXPECT_FALSE(fs::exists(book)) << "a failed import makes no address book";

    Captured input;
    std::fputs("BEGIN:VCARD\r\n"
               "VERSION:3.0\r\n"
               "N:Lee;Ann;;;\r\n"
               "FN:Ann Lee\r\n"
               "END:VCARD\r\n",
               input.file());
    std::rewind(input.file());
    EXPECT_EQ(VcardCommands::runImport({ "-" }, out.file(), err.file(), input.file()), 0) << err.text();
    EXPECT_EQ(personsInProfile(), 1u);

    // A book that is no database is named as the reason and left as it is.
    {
        std::FILE* damaged = std::fopen(book.c_str(), "wb");
        std::fputs(std::string(4096, 'Z').c_str(), damaged);
        std::fclose(damaged);
    }
    fs::remove(book.string() + "-wal");
    fs::remove(book.string() + "-shm");
    EXPECT_EQ(run("import", { golden("rfc-4.0.vcf") }), 1);
    EXPECT_EQ(run("export", { (profile / "out.vcf").string() }), 1);
    EXPECT_NE(err.text().find("cannot be opened"), std::string::npos) << err.text();
    EXPECT_EQ(fs::file_size(book), 4096u);
    EXPECT_FALSE(fs::exists(profile / "out.vcf"));
}

TEST_F(VcardCommandsTest, ARunawayNameIsCutToWhatAPersonHoldsWithAWarning)
{
    Captured input;
    const std::string name(1'000'000, 'x');
    const std::string card = "BEGIN:VCARD\r\n"
                             "VERSION:3.0\r\n"
                             "N:" + name + ";Ann;;;\r\n"
                             "FN:Ann\r\n"
                             "END:VCARD\r\n";
    std::fputs(card.c_str(), input.file());
    std::rewind(input.file());
    EXPECT_EQ(VcardCommands::runImport({ "-" }, out.file(), err.file(), input.file()), 0) << err.text();
    EXPECT_NE(err.text().find("warning: standard input:1: a text longer than 64 KB was cut"), std::string::npos) << err.text();

    contactstore::Error error;
    auto book = contactstore::AddressBook::create(&error);
    ASSERT_EQ(book->personCount(), 1u);
    auto person = book->copyArrayOfAllPeople().front();
    EXPECT_EQ(person->copyString(contactstore::kPersonLastNameProperty)->size(), contactstore::Record::kMaxTextBytes);
    // The store itself refuses more.
    EXPECT_FALSE(person->setValue(contactstore::kPersonNoteProperty, name, &error));
    EXPECT_EQ(error.code, contactstore::ErrorCode::ValueTooLong);
}

TEST_F(VcardCommandsTest, OddInputIsNamedForWhatItIs)
{
    const std::string card = "BEGIN:VCARD\r\n"
                             "VERSION:3.0\r\n"
                             "N:Lee;Ann;;;\r\n"
                             "FN:Ann Lee\r\n"
                             "END:VCARD\r\n";
    std::string bareBegins;
    for (int i = 0; i < 100'000; ++i)
        bareBegins += "BEGIN:VCARD\r\n";
    struct Case {
        const char* name;
        std::string input;
        int status;
        const char* says;
    };
    const Case cases[] = {
        { "UTF-16 cut short", std::string("\xFF\xFE" "B\0E\0G\0I\0N\0:\0V", 15), 1, "odd number of bytes" },
        { "two files joined", "\xEF\xBB\xBF" + card + "\xEF\xBB\xBF" + card, 0, "standard input:6: a byte-order mark inside the file" },
        { "bare BEGIN lines", bareBegins, 1, "none of the 100000 cards holds anything to import" },
    };
    for (const Case& odd : cases) {
        SCOPED_TRACE(odd.name);
        Captured input;
        Captured said;
        std::fwrite(odd.input.data(), 1, odd.input.size(), input.file());
        std::rewind(input.file());
        EXPECT_EQ(VcardCommands::runImport({ "-" }, out.file(), said.file(), input.file()), odd.status) << said.text().substr(0, 400);
        EXPECT_NE(said.text().find(odd.says), std::string::npos) << said.text().substr(0, 400);
    }
    EXPECT_EQ(personsInProfile(), 2u);
}
