#include "platform/foundation/TextFolding.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using foundation::TextFolding;

namespace {

std::string fold(std::string_view text)
{
    return TextFolding::shared().fold(text);
}

bool finds(std::string_view text, std::string_view typed)
{
    return TextFolding::contains(fold(text), fold(typed));
}

} // namespace

TEST(TextFoldingTest, CaseAndAccentsAreIgnoredBothWays)
{
    EXPECT_TRUE(finds("SATO", "sato"));
    EXPECT_TRUE(finds("sato", "SAT"));
    EXPECT_TRUE(finds("José Müller", "jose mull"));
    EXPECT_TRUE(finds("Jose Muller", "JOSÉ"));
    EXPECT_TRUE(finds("Ångström", "angstrom"));
    EXPECT_TRUE(finds("Çelik", "cel"));
    EXPECT_FALSE(finds("Sato", "satoh"));
}

TEST(TextFoldingTest, LettersWithoutDecompositionFoldToTheirAsciiSpelling)
{
    EXPECT_TRUE(finds("Łukasz", "lukasz"));
    EXPECT_TRUE(finds("Ærø", "aero"));
    EXPECT_TRUE(finds("Œuvre", "oeuvre"));
    EXPECT_TRUE(finds("Straße", "strasse"));
    EXPECT_TRUE(finds("STRASSE", "straße"));
    EXPECT_TRUE(finds("Ørsted", "orsted"));
}

TEST(TextFoldingTest, KanaMatchesAcrossScriptAndWidthButKeepsVoicing)
{
    EXPECT_TRUE(finds("カタカナ", "かたかな"));
    EXPECT_TRUE(finds("かたかな", "カタ"));
    EXPECT_TRUE(finds("ｶﾀｶﾅ", "かたかな"));
    EXPECT_TRUE(finds("ガッコウ", "がっこう"));
    EXPECT_TRUE(finds("ｶﾞｯｺｳ", "がっこう"));
    EXPECT_FALSE(finds("がっこう", "か"));
    EXPECT_FALSE(finds("ぱん", "は"));
    EXPECT_FALSE(finds("かっこう", "が"));
}

TEST(TextFoldingTest, FullWidthLettersAndDigitsMatchTheirAsciiForms)
{
    EXPECT_TRUE(finds("ＴＡＮＡＫＡ", "tanaka"));
    EXPECT_TRUE(finds("０９０１２３４", "0123"));
    EXPECT_TRUE(finds("090-1234", "０９０"));
}

TEST(TextFoldingTest, LettersFoldedOneByOneFoldAsWithinAWholeText)
{
    // Latin letters with marks fold one by one; a Greek letter, which the transliterator
    // leaves as it is, sends the same letters through it as one text.
    auto utf8 = [](char32_t c) {
        return std::string { static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F)) };
    };
    std::vector<std::string> texts { "Łukasz", "Ærøskøbing", "Straße", "François", "Dvořák", "Ĳsselmeer", "Çağrı",
                                     "Œdipe", "ǅemal", "q\xCC\x83", "Ø\xCC\x81" };
    for (char32_t c = 0x80; c < 0x370; ++c) {
        texts.push_back(utf8(c));
        // Each letter beside a few others, before and after.
        for (char32_t other : { 0xC6, 0xDF, 0x130, 0x1C4, 0x1F1, 0x2B0, 0x301, 0x345 })
            texts.push_back(utf8(other) + utf8(c) + utf8(other));
    }
    const std::string greek = "\xCE\xB1";
    for (const std::string& text : texts)
        EXPECT_EQ(fold(text) + greek, fold(text + greek)) << text;
}

TEST(TextFoldingTest, EmptySearchTextMatchesNothing)
{
    EXPECT_FALSE(finds("Sato", ""));
    EXPECT_FALSE(finds("", ""));
    // Marks alone fold away to nothing and must not turn into a match-everything search.
    EXPECT_FALSE(finds("Sato", "\xCC\x81"));
}

TEST(TextFoldingTest, BrokenUtf8DoesNotFail)
{
    std::string broken = "Sa\xC3to\xFF";
    EXPECT_NO_FATAL_FAILURE(fold(broken));
    EXPECT_TRUE(finds(broken + " Müller", "muller"));
}

TEST(TextFoldingTest, FoldingFromSeveralThreadsGivesTheSameResults)
{
    std::vector<std::string> results(4);
    std::vector<std::thread> threads;
    for (std::size_t index = 0; index < results.size(); ++index) {
        threads.emplace_back([&results, index] {
            std::string folded;
            for (int round = 0; round < 200; ++round)
                folded = fold("Ｊｏｓé ガッコウ Straße");
            results[index] = folded;
        });
    }
    for (auto& thread : threads)
        thread.join();
    for (const auto& result : results)
        EXPECT_EQ(result, fold("Ｊｏｓé ガッコウ Straße"));
}
