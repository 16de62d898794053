// `tessaro import` and `tessaro export` as a user meets them: exit statuses, what is printed,
// and the profile's address book before and after.

#include "platform/contactstore/AddressBook.h"
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
