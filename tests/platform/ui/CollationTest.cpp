#include "platform/ui/LocalizedIndexedCollation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using ui::LocalizedIndexedCollation;

namespace {

std::vector<std::string> join(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const auto& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

const std::vector<std::string> latin { "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
                                       "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z" };

std::string titleOf(const LocalizedIndexedCollation& c, const std::string& name)
{
    return c.sectionTitles()[static_cast<std::size_t>(c.sectionForString(name))];
}

} // namespace

TEST(Collation, EnglishHasTheLettersThenHash)
{
    LocalizedIndexedCollation english("en_US");
    EXPECT_EQ(english.sectionTitles(), join({ latin, { "#" } }));
    EXPECT_EQ(english.sectionIndexTitles().size(), 27u);
    EXPECT_EQ(english.sectionForSectionIndexTitleAtIndex(26), 26);
    EXPECT_EQ(english.sectionForSectionIndexTitleAtIndex(27), -1);
}

TEST(Collation, JapaneseHasTheKanaRowsThenTheLettersThenHash)
{
    LocalizedIndexedCollation japanese("ja_JP");
    EXPECT_EQ(japanese.sectionTitles(), join({ { "あ", "か", "さ", "た", "な", "は", "ま", "や", "ら", "わ" }, latin, { "#" } }));
}

TEST(Collation, NamesFallIntoTheirSections)
{
    LocalizedIndexedCollation english("en_US");
    LocalizedIndexedCollation japanese("ja_JP");
    struct Case {
        const LocalizedIndexedCollation& collation;
        const char* name;
        const char* section;
    };
    const Case cases[] = {
        { english, "adams", "A" },
        { english, "Émile", "E" },
        { english, "Øster", "O" },
        { english, "Łukasz", "L" },
        { english, "42nd Street Deli", "#" },
        { english, "", "#" },
        { english, "+81 3 1234", "#" },
        { english, "やまだ", "#" },
        { japanese, "やまだ", "や" },
        { japanese, "ヤマダ", "や" },
        { japanese, "ｶﾀｶﾅ", "か" },
        { japanese, "がっこう", "か" },
        { japanese, "ん", "わ" },
        { japanese, "Smith", "S" },
        { japanese, "émile", "E" },
        { japanese, "山田", "#" },
        { japanese, "1abc", "#" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(titleOf(c.collation, c.name), c.section) << c.name << " in " << c.collation.localeIdentifier();
}

TEST(Collation, SortFollowsTheLanguageAndKeepsEqualNamesInOrder)
{
    LocalizedIndexedCollation english("en_US");
    struct Person {
        std::string name;
        int id;
    };
    std::vector<Person> people { { "zoe", 1 }, { "Émile", 2 }, { "adam", 3 }, { "Emile", 4 }, { "Adam", 5 }, { "adam", 6 } };
    auto sorted = english.sortedArray(people, [](const Person& p) { return p.name; });
    std::vector<int> ids;
    for (const auto& p : sorted)
        ids.push_back(p.id);
    EXPECT_EQ(ids, (std::vector<int> { 3, 6, 5, 4, 2, 1 }));

    // The same order from keys made once and kept with each person.
    std::vector<std::pair<std::string, int>> keyed;
    for (const auto& p : people)
        keyed.emplace_back(english.sortKey(p.name), p.id);
    LocalizedIndexedCollation::sortByKeys(keyed, [](const auto& k) -> const std::string& { return k.first; });
    std::vector<int> keyedIds;
    for (const auto& k : keyed)
        keyedIds.push_back(k.second);
    EXPECT_EQ(keyedIds, ids);
}

TEST(Collation, KeysCompareLikeTheCollator)
{
    LocalizedIndexedCollation japanese("ja_JP");
    const char* names[] = { "あべ", "アベ", "いとう", "Abe", "abe", "阿部", "", "1", "ｱﾍﾞ", "がっこう", "かっこう" };
    for (const char* a : names) {
        for (const char* b : names) {
            int byCollator = japanese.compare(a, b);
            int byKeys = japanese.sortKey(a).compare(japanese.sortKey(b));
            EXPECT_EQ(byCollator < 0, byKeys < 0) << a << " vs " << b;
            EXPECT_EQ(byCollator == 0, byKeys == 0) << a << " vs " << b;
        }
    }
    EXPECT_LT(japanese.compare("かっこう", "がっこう"), 0);
}
