// The writer: exact line shapes, labels that survive the trip through TYPE values or item
// groups, and cards full of awkward characters that must come back as they went out.

#include "CardDump.h"

#include "platform/contactstore/vcard/CardLabels.h"
#include "platform/contactstore/vcard/CardReader.h"
#include "platform/contactstore/vcard/CardWriter.h"
#include "platform/contactstore/vcard/ValueCodec.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace contactstore::vcard;

namespace {

constexpr CardWriter::Version kVersions[] = { CardWriter::Version::V3, CardWriter::Version::V4 };

std::vector<std::string> physicalLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "a line without CR LF";
        if (end == std::string::npos)
            break;
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

Card readBack(const std::string& text)
{
    const ReadResult result = CardReader().read(text);
    EXPECT_TRUE(result.ok()) << vcardtest::dump(result);
    EXPECT_TRUE(result.warnings.empty()) << vcardtest::dump(result);
    EXPECT_EQ(result.cards.size(), 1u);
    return result.cards.empty() ? Card {} : result.cards.front();
}

Card awkwardCard()
{
    Card card;
    card.uid = "urn:uuid:12345678-1234-4234-8234-123456789abc";
    card.firstName = "Ren\xC3\xA9;e";
    card.lastName = "O'Hara, \"Jr\"\\";
    card.middleName = "Line\nBreak";
    card.formattedName = "Dr. Ren\xC3\xA9e \"Ree\" O'Hara; III, PhD\\";
    card.prefix = "Dr.";
    card.suffix = "III";
    card.nickname = "Ree, the 1st";
    card.firstNamePhonetic = "\xE3\x82\x8C\xE3\x81\xAD";
    card.lastNamePhonetic = "\xE3\x81\x8A\xE3\x81\xAF\xE3\x82\x89";
    card.middleNamePhonetic = "m";
    card.organization = "Acme; Rockets, Inc.";
    card.department = "R&D: Propulsion";
    card.jobTitle = "Chief \\ Engineer";
    card.note = std::string(300, 'x') + "\n\xF0\x9F\x9A\x80 launch; go, go:\\ done";
    card.birthday = Card::Date { std::nullopt, 2, 29 };
    card.phones = { { std::string(labels::kIPhone), "+1 (555) 010-0000" }, { "Boat; aft", "+1 555 0101" } };
    card.emails = { { std::string(labels::kWork), "ren\xC3\xA9@example.com" }, { "Old\nschool", "r@example.net" } };
    card.urls = { { std::string(labels::kHomePage), "https://example.com/a,b;c" }, { "Shop", "https://shop.example" } };
    card.addresses = { { std::string(labels::kHome),
                           { "1 Main St\nApt 2", "Spring;field", "IL", "62701", "USA", "us" } },
        { "Cabin", { "", "Lakeside", "", "", "", "" } } };
    card.instantMessages = { { std::string(labels::kOther), { "Skype", "ren e%20x" } },
        { std::string(labels::kHome), { "My \"chat\"; app: v2", "ren" } },
        { std::string(labels::kWork), { "", "anonymous" } },
        { std::string(labels::kHome), { "GTalk", "ren@gmail.example", "xmpp" } } };
    card.relatedNames = { { std::string(labels::kMother), "Maureen" }, { "Coach", "Sam, Sr." } };
    card.dates = { { std::string(labels::kAnniversary), { 2001, 6, 30 } }, { "First met", { std::nullopt, 1, 2 } } };
    card.photo = std::string("\xFF\xD8\xFF\xE0", 4) + std::string(500, '\x7F') + "\xFF\xD9";
    card.categories = { "Friends, old", "Tennis;club", "Work" };
    return card;
}

} // namespace

TEST(VcardWriterLines, FoldsAt75OctetsWithoutSplittingACharacter)
{
    // Characters of one to four octets, shifted through every position of a fold.
    const std::string alphabet = "a\xC3\xA9\xE3\x81\x82\xF0\x9F\x98\x80";
    for (std::size_t shift = 0; shift < 80; ++shift) {
        Card card;
        card.firstName = "x";
        card.note = std::string(shift, 'n');
        for (int i = 0; i < 40; ++i)
            card.note += alphabet;
        const std::string text = CardWriter().write({ card });
        const std::vector<std::string> lines = physicalLines(text);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            SCOPED_TRACE("shift " + std::to_string(shift) + ", line " + std::to_string(i));
            EXPECT_LE(lines[i].size(), 75u);
            // A continuation drops its one leading blank; what is left is whole characters.
            const std::string content = (!lines[i].empty() && lines[i][0] == ' ') ? lines[i].substr(1) : lines[i];
            EXPECT_TRUE(codec::isValidUtf8(content)) << lines[i];
        }
        EXPECT_EQ(readBack(text).note, card.note);
    }
}

TEST(VcardWriterLines, ShortCardsComeOutExactly)
{
    Card card;
    card.firstName = "Kenji";
    card.lastName = "Sato";
    card.birthday = Card::Date { std::nullopt, 4, 15 };
    card.phones = { { std::string(labels::kMobile), "090-1234-5678" } };
    card.emails = { { "Tennis club", "kenji@club.example" } };
    card.categories = { "Tennis" };

    EXPECT_EQ(CardWriter().write({ card }),
        "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Sato;Kenji;;;\r\nFN:Kenji Sato\r\n"
        "BDAY;X-APPLE-OMIT-YEAR=1604:1604-04-15\r\nTEL;TYPE=CELL,VOICE:090-1234-5678\r\n"
        "item1.EMAIL;TYPE=INTERNET:kenji@club.example\r\nitem1.X-ABLabel:Tennis club\r\n"
        "CATEGORIES:Tennis\r\n" "END:VCARD\r\n");
    EXPECT_EQ(CardWriter(CardWriter::Version::V4).write({ card }),
        "BEGIN:VCARD\r\nVERSION:4.0\r\nN:Sato;Kenji;;;\r\nFN:Kenji Sato\r\nBDAY:--0415\r\n"
        "TEL;TYPE=cell,voice:090-1234-5678\r\nitem1.EMAIL:kenji@club.example\r\nitem1.X-ABLabel:Tennis club\r\n"
        "CATEGORIES:Tennis\r\n" "END:VCARD\r\n");

    Card group;
    group.kind = Card::Kind::Group;
    group.formattedName = "Tennis";
    group.members = { "urn:uuid:a", "urn:uuid:b" };
    EXPECT_EQ(CardWriter().write({ group }),
        "BEGIN:VCARD\r\nVERSION:3.0\r\nX-ADDRESSBOOKSERVER-KIND:group\r\nN:;;;;\r\nFN:Tennis\r\n"
        "X-ADDRESSBOOKSERVER-MEMBER:urn:uuid:a\r\nX-ADDRESSBOOKSERVER-MEMBER:urn:uuid:b\r\n" "END:VCARD\r\n");
    EXPECT_EQ(CardWriter(CardWriter::Version::V4).write({ group }),
        "BEGIN:VCARD\r\nVERSION:4.0\r\nKIND:group\r\nFN:Tennis\r\nMEMBER:urn:uuid:a\r\nMEMBER:urn:uuid:b\r\n"
        "END:VCARD\r\n");
}

TEST(VcardWriterNames, DisplayNamesFollowTheScriptOfTheName)
{
    Card western;
    western.prefix = "Dr";
    western.firstName = "Ada";
    western.middleName = "M.";
    western.lastName = "Lovelace";
    western.suffix = "PhD";
    EXPECT_EQ(CardWriter::composeFormattedName(western), "Dr Ada M. Lovelace, PhD");

    Card japanese;
    japanese.firstName = "\xE5\xA4\xAA\xE9\x83\x8E";
    japanese.lastName = "\xE5\xB1\xB1\xE7\x94\xB0";
    EXPECT_EQ(CardWriter::composeFormattedName(japanese), "\xE5\xB1\xB1\xE7\x94\xB0\xE5\xA4\xAA\xE9\x83\x8E");

    Card company;
    company.organization = "Acme";
    EXPECT_EQ(CardWriter::composeFormattedName(company), "Acme");
    EXPECT_EQ(CardWriter::composeFormattedName(Card {}), "");
}

TEST(VcardWriterRoundTrip, EveryStandardLabelComesBackAsItself)
{
    const std::string_view commonLabels[] = { labels::kHome, labels::kWork, labels::kOther };
    const std::string_view phoneLabels[] = { labels::kMobile, labels::kIPhone, labels::kMain, labels::kHomeFax,
        labels::kWorkFax, labels::kOtherFax, labels::kPager };
    const std::string_view relatedLabels[] = { labels::kFather, labels::kMother, labels::kParent, labels::kBrother,
        labels::kSister, labels::kChild, labels::kFriend, labels::kSpouse, labels::kPartner, labels::kAssistant,
        labels::kManager };
    Card card;
    card.firstName = "Labels";
    for (std::string_view label : commonLabels) {
        card.phones.push_back({ std::string(label), "1" });
        card.emails.push_back({ std::string(label), "a@b" });
        card.urls.push_back({ std::string(label), "http://a" });
        card.addresses.push_back({ std::string(label), { "street", "", "", "", "", "" } });
        card.instantMessages.push_back({ std::string(label), { "AIM", "a" } });
        card.relatedNames.push_back({ std::string(label), "n" });
        card.dates.push_back({ std::string(label), { 2000, 1, 1 } });
    }
    for (std::string_view label : phoneLabels)
        card.phones.push_back({ std::string(label), "2" });
    for (std::string_view label : relatedLabels)
        card.relatedNames.push_back({ std::string(label), "r" });
    card.urls.push_back({ std::string(labels::kHomePage), "http://home" });
    card.dates.push_back({ std::string(labels::kAnniversary), { 2010, 10, 10 } });

    for (CardWriter::Version version : kVersions) {
        const Card back = readBack(CardWriter(version).write({ card }));
        EXPECT_TRUE(back.sameContent(card)) << vcardtest::dump(card) << vcardtest::dump(back);
    }
}

TEST(VcardWriterRoundTrip, AwkwardCharactersInEveryFieldSurvive)
{
    const Card card = awkwardCard();
    for (CardWriter::Version version : kVersions) {
        const std::string text = CardWriter(version).write({ card });
        const Card back = readBack(text);
        EXPECT_TRUE(back.sameContent(card)) << text << "\n" << vcardtest::dump(card) << vcardtest::dump(back);
        for (const std::string& line : physicalLines(text))
            EXPECT_LE(line.size(), 75u) << line;
    }
}

TEST(VcardWriterRoundTrip, CompaniesAndGroupsKeepTheirKind)
{
    Card company;
    company.kind = Card::Kind::Organization;
    company.organization = "Kestrel Logistics";
    company.department = "Freight";
    Card group;
    group.kind = Card::Kind::Group;
    group.formattedName = "Book, club; \"monthly\"";
    group.uid = "g1";
    group.members = { "urn:uuid:1", "urn:uuid:2" };
    for (CardWriter::Version version : kVersions) {
        const ReadResult result = CardReader().read(CardWriter(version).write({ company, group }));
        ASSERT_TRUE(result.ok());
        ASSERT_EQ(result.cards.size(), 2u);
        EXPECT_TRUE(result.cards[0].sameContent(company)) << vcardtest::dump(result.cards[0]);
        EXPECT_TRUE(result.cards[1].sameContent(group)) << vcardtest::dump(result.cards[1]);
    }
}
