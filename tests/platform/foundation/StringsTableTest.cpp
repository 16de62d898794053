#include "platform/foundation/Device.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/foundation/StringsTable.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>

using foundation::StringsTable;

TEST(StringsTable, ReadsEntriesBetweenBothKindsOfCommentAndUnescapesTexts)
{
    const char* text = "\xEF\xBB\xBF/* header\n   spanning lines */\n"
                       "// a line comment with \"quotes\" = ;\n"
                       "\"Plain\" = \"Cancel\";\n"
                       "\"Quoted\"=\"He said \\\"hi\\\" \\\\ done\";  // trailing\n"
                       "\"Lines\" = \"one\\ntwo\\tthree\";\n"
                       "\"Unicode\" = \"\\U00e9t\\u00E9 \\uD83D\\uDE00\";\n"
                       "\"Japanese\" = \"グループ\";\n"
                       "BareKey = \"bare\";\n"
                       "\"Slashes\" = \"http://x/*not a comment*/\";\n"
                       "\"Plain\" = \"Later wins\";\n";
    std::vector<std::string> errors;
    auto table = StringsTable::parse(text, &errors);
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(table.lookup("Plain"), "Later wins");
    EXPECT_EQ(table.lookup("Quoted"), "He said \"hi\" \\ done");
    EXPECT_EQ(table.lookup("Lines"), "one\ntwo\tthree");
    EXPECT_EQ(table.lookup("Unicode"), "\xC3\xA9t\xC3\xA9 \xF0\x9F\x98\x80");
    EXPECT_EQ(table.lookup("Japanese"), "グループ");
    EXPECT_EQ(table.lookup("BareKey"), "bare");
    EXPECT_EQ(table.lookup("Slashes"), "http://x/*not a comment*/");
    EXPECT_EQ(table.size(), 7u);
}

TEST(StringsTable, MissingKeysAreEmptyNotAnError)
{
    auto table = StringsTable::parse("\"A\" = \"a\";");
    EXPECT_EQ(table.lookup("B"), "");
    EXPECT_FALSE(table.contains("B"));
    EXPECT_TRUE(StringsTable::parse("").entries().empty());
}

TEST(StringsTable, BrokenTextIsReportedByLineAndKeepsWhatCameBefore)
{
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        { "\"A\" = \"a\";\n\"B\" = \"b\"\n\"C\" = \"c\";", "line 3: expected \";\"" },
        { "\"A\" = \"a\";\n\"B\" \"b\";", "line 2: expected \"=\"" },
        { "\"A\" = \"a\";\n\"B\" = \"never closed;\n", "line 2: text is never closed" },
        { "\"A\" = \"a\";\n/* open comment\n\"B\" = \"b\";", "line 2: comment is never closed" },
        { "\"A\" = \"a\";\n\"B\" = \"\\u12G4\";", "line 2: \\u needs four hexadecimal digits" },
        { "\"A\" = \"a\";\n= \"b\";", "line 2: expected a key" },
    };
    for (const auto& c : cases) {
        std::vector<std::string> errors;
        auto table = StringsTable::parse(c.text, &errors);
        ASSERT_EQ(errors.size(), 1u) << c.text;
        EXPECT_EQ(errors.front(), c.error) << c.text;
        EXPECT_EQ(table.lookup("A"), "a") << c.text;
        EXPECT_FALSE(table.contains("C")) << c.text;
    }
}

TEST(StringsTable, UnreadableFileGivesAnEmptyTableAndSaysSo)
{
    std::vector<std::string> errors;
    auto table = StringsTable::load("/nonexistent/en.strings", &errors);
    EXPECT_EQ(table.size(), 0u);
    ASSERT_EQ(errors.size(), 1u);
}

TEST(LocalizedStrings, FollowsTheDeviceLanguageAndTheKeysLanguageAnswersWithKeys)
{
    testsupport::TempDir dir;
    std::ofstream(dir / "en.strings") << "\"GroupTitle\" = \"Groups\";\n";
    std::ofstream(dir / "ja.strings") << "\"GroupTitle\" = \"グループ\";\n";
    auto saved = foundation::LocalizedStrings::directory();
    foundation::LocalizedStrings::setDirectory(dir.path());
    auto& device = foundation::Device::current();

    device.setLanguage("en");
    EXPECT_EQ(foundation::localized("GroupTitle"), "Groups");
    EXPECT_EQ(foundation::localized("NoSuchKey"), "");
    device.setLanguage("ja");
    EXPECT_EQ(foundation::localized("GroupTitle"), "グループ");
    device.setLanguage("keys");
    EXPECT_EQ(foundation::localized("GroupTitle"), "GroupTitle");
    EXPECT_EQ(foundation::localized("NoSuchKey"), "NoSuchKey");
    device.setLanguage("fr");
    EXPECT_EQ(foundation::localized("GroupTitle"), "");

    device.reset();
    foundation::LocalizedStrings::setDirectory(saved);
}

TEST(LocalizedStrings, ShippedTablesParseCleanly)
{
    for (const char* language : { "en", "ja" }) {
        std::vector<std::string> errors;
        auto table = StringsTable::load(foundation::LocalizedStrings::directory() / (std::string(language) + ".strings"), &errors);
        EXPECT_TRUE(errors.empty()) << language << ": " << (errors.empty() ? "" : errors.front());
        EXPECT_EQ(table.lookup("Language"), language);
    }
}
