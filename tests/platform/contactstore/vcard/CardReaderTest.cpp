// The reader on the shapes that break naive parsers: line joining, faults with their lines,
// the bounds that keep hostile input harmless, and the value decodings.

#include "CardDump.h"

#include "platform/contactstore/vcard/CardBuilder.h"
#include "platform/contactstore/vcard/CardLabels.h"
#include "platform/contactstore/vcard/CardReader.h"

#include <gtest/gtest.h>

#include <string>

using namespace contactstore::vcard;

namespace {

ReadResult readText(const std::string& text, CardReader::Limits limits = {})
{
    return CardReader(limits).read(text);
}

Card onlyCard(const std::string& body)
{
    const ReadResult result = readText("BEGIN:VCARD\r\nVERSION:3.0\r\n" + body + "END:VCARD\r\n");
    EXPECT_TRUE(result.ok()) << vcardtest::dump(result);
    EXPECT_EQ(result.cards.size(), 1u);
    return result.cards.empty() ? Card {} : result.cards.front();
}

} // namespace

TEST(VcardReaderLines, LineEndsOfEveryKindAndTabFoldsAreAccepted)
{
    for (const std::string end : { "\r\n", "\n", "\r", "\r\r\n" }) {
        SCOPED_TRACE(end == "\r\n" ? "CR LF" : end == "\n" ? "LF" : end == "\r" ? "CR" : "CR CR LF");
        const std::string text = "BEGIN:VCARD" + end + "VERSION:3.0" + end + "N:Doe;Jane;;;" + end + "NOTE:one" + end
            + "\ttwo" + end + " three" + end + "END:VCARD" + end;
        const ReadResult result = readText(text);
        ASSERT_TRUE(result.ok()) << vcardtest::dump(result);
        ASSERT_EQ(result.cards.size(), 1u);
        EXPECT_EQ(result.cards[0].note, "onetwothree");
        EXPECT_EQ(result.cards[0].firstName, "Jane");
    }
}

TEST(VcardReaderLines, OnlyQuotedPrintableValuesJoinAtATrailingEqualsSign)
{
    // A base64 photo ends in "=" too; the next line is its own property.
    const Card photo = onlyCard("PHOTO;ENCODING=b;TYPE=PNG:iVBORw0KGgo=\r\nTEL:+1 555 0100\r\n");
    EXPECT_EQ(photo.phones.size(), 1u);
    EXPECT_FALSE(photo.photo.empty());

    const Card quoted = onlyCard("NOTE;ENCODING=QUOTED-PRINTABLE:first=\r\n second=0Athird\r\nTEL:+1 555 0100\r\n");
    EXPECT_EQ(quoted.note, "first second\nthird");
    EXPECT_EQ(quoted.phones.size(), 1u);

    // The words inside another parameter's quoted value do not make a value quoted-printable.
    const Card service = onlyCard("IMPP;X-SERVICE-TYPE=\"QUOTED-PRINTABLE\":x-apple:name=\r\nTEL:+1 555 0100\r\n");
    ASSERT_EQ(service.instantMessages.size(), 1u);
    EXPECT_EQ(service.instantMessages[0].value.username, "name=");
    EXPECT_EQ(service.phones.size(), 1u);
}

TEST(VcardReaderLines, UnindentedBase64PhotoLinesOfOldExportsAreJoined)
{
    const Card card = onlyCard("PHOTO;ENCODING=BASE64;TYPE=GIF:R0lGODlh\r\nAQABAAAAACw=\r\n\r\nTEL:+1 555 0100\r\n");
    EXPECT_EQ(card.photo.substr(0, 6), "GIF89a");
    EXPECT_EQ(card.phones.size(), 1u);
}

TEST(VcardReaderFaults, FilesThatAreNotVcardAreRefusedAtTheirFirstLine)
{
    struct Case {
        const char* name;
        std::string text;
        int line;
    };
    const Case cases[] = {
        { "empty", "", 0 },
        { "only blank lines", "\r\n  \r\n\t\r\n", 0 },
        { "comma-separated values", "Name,Phone\r\nJane,555\r\n", 1 },
        { "binary after blank lines", "\r\n\r\n\x89PNG\r\n\x1A\n", 3 },
        { "a calendar", "BEGIN:VCALENDAR\r\n" "END:VCALENDAR\r\n", 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ReadResult result = readText(c.text);
        ASSERT_EQ(result.errors.size(), 1u) << vcardtest::dump(result);
        EXPECT_EQ(result.errors[0].line, c.line);
        EXPECT_TRUE(result.cards.empty());
    }
}

TEST(VcardReaderFaults, LinesThatAreNoPropertyAreSkippedAtTheirOwnLineAndTheCardsKept)
{
    const ReadResult result = readText("BEGIN:VCARD\nFN:A\nbroken one\nTEL:1\n" "END:VCARD\n"
                                       "BEGIN:VCARD\nFN:B\n" "END:VCARD\n"
                                       "BEGIN:VCARD\nFN:C\n:no name\n" "END:VCARD\n");
    ASSERT_TRUE(result.ok()) << vcardtest::dump(result);
    ASSERT_EQ(result.warnings.size(), 2u);
    EXPECT_EQ(result.warnings[0].line, 3);
    EXPECT_EQ(result.warnings[1].line, 11);
    ASSERT_EQ(result.cards.size(), 3u);
    EXPECT_EQ(result.cards[0].phones.size(), 1u);
    EXPECT_EQ(result.cards[2].firstName, "C");
}

TEST(VcardReaderFaults, CardsThatNeverEndAreKeptWithAWarning)
{
    const ReadResult result = readText("BEGIN:VCARD\nFN:First\nBEGIN:VCARD\nFN:Second\n" "END:VCARD\n" "END:VCARD\n"
                                       "BEGIN:VCARD\nFN:Third\n");
    ASSERT_TRUE(result.ok());
    ASSERT_EQ(result.cards.size(), 3u);
    EXPECT_EQ(result.cards[0].firstName, "First");
    EXPECT_EQ(result.cards[2].firstName, "Third");
    EXPECT_EQ(result.cards[2].line, 7);
    ASSERT_EQ(result.warnings.size(), 3u);
    EXPECT_EQ(result.warnings[0].line, 1);
    EXPECT_EQ(result.warnings[1].line, 6);
    EXPECT_EQ(result.warnings[2].line, 7);
}

TEST(VcardReaderFaults, AnAgentsCardInsideACardIsNotTakenForItsOwner)
{
    const ReadResult result = readText("BEGIN:VCARD\nFN:Owner\nAGENT:\nBEGIN:VCARD\nFN:Agent\nTEL:111\n" "END:VCARD\n"
                                       "TEL:222\n" "END:VCARD\n");
    ASSERT_TRUE(result.ok());
    ASSERT_EQ(result.cards.size(), 1u);
    EXPECT_EQ(result.cards[0].firstName, "Owner");
    ASSERT_EQ(result.cards[0].phones.size(), 1u);
    EXPECT_EQ(result.cards[0].phones[0].value, "222");
}

TEST(VcardReaderBounds, EveryLengthIsBoundedAndWhatPassesItIsLeftOutWithItsLine)
{
    CardReader::Limits limits;
    limits.maxLineBytes = 100;
    limits.maxLinesPerCard = 5;
    limits.maxNesting = 2;
    limits.maxInputBytes = 10000;
    limits.maxReportedProblems = 3;

    const ReadResult longLine = readText("BEGIN:VCARD\nFN:x\nNOTE:" + std::string(60, 'a') + "\n " + std::string(60, 'b')
            + "\nTEL:1\n" "END:VCARD\n", limits);
    ASSERT_TRUE(longLine.ok());
    ASSERT_EQ(longLine.warnings.size(), 1u);
    EXPECT_EQ(longLine.warnings[0].line, 3);
    EXPECT_TRUE(longLine.cards.at(0).note.empty());
    EXPECT_EQ(longLine.cards.at(0).phones.size(), 1u);

    std::string manyLines = "BEGIN:VCARD\n";
    for (int i = 0; i < 8; ++i)
        manyLines += "TEL:" + std::to_string(i) + "\n";
    const ReadResult tooMany = readText(manyLines + "END:VCARD\n", limits);
    ASSERT_EQ(tooMany.warnings.size(), 1u);
    EXPECT_EQ(tooMany.warnings[0].line, 1);
    EXPECT_EQ(tooMany.cards.at(0).phones.size(), 5u);

    const ReadResult deep = readText(
        "BEGIN:VCARD\nAGENT:\nBEGIN:VCARD\nBEGIN:VCARD\nBEGIN:VCARD\n" "END:VCARD\n" "END:VCARD\n" "END:VCARD\n"
        "TEL:1\n" "END:VCARD\n", limits);
    ASSERT_EQ(deep.warnings.size(), 1u);
    EXPECT_EQ(deep.warnings[0].line, 5);
    ASSERT_EQ(deep.cards.size(), 1u);
    EXPECT_EQ(deep.cards[0].phones.size(), 1u);

    EXPECT_FALSE(readText(std::string(10001, '\n'), limits).ok());

    std::string broken;
    for (int i = 0; i < 20; ++i)
        broken += "BEGIN:VCARD\nbroken\n" "END:VCARD\n";
    const ReadResult many = readText(broken, limits);
    EXPECT_EQ(many.cards.size(), 20u);
    EXPECT_EQ(many.warnings.size(), 3u);
}

TEST(VcardReaderBounds, AHugeListOfCategoriesIsCutShort)
{
    std::string list;
    for (int i = 0; i < 5000; ++i)
        list += "g" + std::to_string(i) + ",";
    const ReadResult result = readText("BEGIN:VCARD\nFN:x\nCATEGORIES:" + list + "\n" "END:VCARD\n");
    ASSERT_TRUE(result.ok());
    EXPECT_EQ(result.cards[0].categories.size(), 100u);
    EXPECT_EQ(result.warnings.size(), 1u);
}

TEST(VcardReaderEncodings, FilesInUtf16WithOrWithoutMarkAreRead)
{
    const std::string card = "BEGIN:VCARD\r\nFN:\xC3\x89lodie\r\n" "END:VCARD\r\n";
    auto utf16 = [&](bool bigEndian, bool mark) {
        std::string bytes = mark ? (bigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
        // The text is ASCII apart from one two-byte letter, U+00C9.
        for (std::size_t i = 0; i < card.size(); ++i) {
            unsigned unit = static_cast<unsigned char>(card[i]);
            if (unit == 0xC3) {
                unit = 0xC9;
                ++i;
            }
            const char high = static_cast<char>(unit >> 8);
            const char low = static_cast<char>(unit & 0xFF);
            bytes += bigEndian ? std::string { high, low } : std::string { low, high };
        }
        return bytes;
    };
    for (bool bigEndian : { false, true }) {
        for (bool mark : { false, true }) {
            const ReadResult result = readText(utf16(bigEndian, mark));
            ASSERT_TRUE(result.ok()) << vcardtest::dump(result);
            EXPECT_EQ(result.cards.at(0).firstName, "\xC3\x89lodie");
        }
    }
}

TEST(VcardReaderEncodings, CharacterSetsAndStrayBytesBecomeCleanText)
{
    // Latin-1 bytes without a declared set are the usual Windows-1252 of old exports.
    EXPECT_EQ(onlyCard("N:M\xFCller;J\xFCrgen;;;\r\n").lastName, "M\xC3\xBCller");
    EXPECT_EQ(onlyCard("NOTE;CHARSET=ISO-8859-7:\xE1\xE2\r\n").note, "\xCE\xB1\xCE\xB2");
    EXPECT_EQ(onlyCard("NOTE;CHARSET=Big5:\xA4\xA4\r\n").note, "\xE4\xB8\xAD");

    const ReadResult unknown = readText("BEGIN:VCARD\nNOTE;CHARSET=X-NOT-A-SET:plain\n" "END:VCARD\n");
    ASSERT_TRUE(unknown.ok());
    EXPECT_EQ(unknown.cards[0].note, "plain");
    ASSERT_EQ(unknown.warnings.size(), 1u);
    EXPECT_EQ(unknown.warnings[0].line, 2);

    // Control characters and NULs have no place in a name or note.
    std::string body = "NOTE:a";
    body += '\x01';
    body += 'b';
    body += '\x7F';
    body += '\0';
    body += "c\\nd\r\n";
    EXPECT_EQ(onlyCard(body).note, "abc\nd");
}

TEST(VcardReaderValues, EscapesAndStructuredValuesKeepEveryCharacter)
{
    const Card card = onlyCard("N:O\\;Brien;Se\\,\\\\n;;;\r\nNOTE:a\\,b\\;c\\\\d\\Ne\\:f\\xg\r\n"
                               "ORG:Acme\\; Co;Sales;North\r\nCATEGORIES:A\\,B,C;D,,C\r\n");
    EXPECT_EQ(card.lastName, "O;Brien");
    EXPECT_EQ(card.firstName, "Se,\\n");
    EXPECT_EQ(card.note, "a,b;c\\d\ne:f\\xg");
    EXPECT_EQ(card.organization, "Acme; Co");
    EXPECT_EQ(card.department, "Sales, North");
    EXPECT_EQ(card.categories, (std::vector<std::string> { "A,B", "C", "D" }));
}

TEST(VcardReaderValues, DatesInEveryCommonForm)
{
    using Date = Card::Date;
    struct Case {
        const char* text;
        std::optional<Date> date;
    };
    const Case cases[] = {
        { "1980-04-15", Date { 1980, 4, 15 } },
        { "19800415", Date { 1980, 4, 15 } },
        { "1980-04-15T08:30:00Z", Date { 1980, 4, 15 } },
        { "19800415T083000", Date { 1980, 4, 15 } },
        { "--0415", Date { std::nullopt, 4, 15 } },
        { "--04-15", Date { std::nullopt, 4, 15 } },
        { "--0229", Date { std::nullopt, 2, 29 } },
        { "2000-02-29", Date { 2000, 2, 29 } },
        { "1900-02-29", std::nullopt },
        { "1981-02-29", std::nullopt },
        { "1980-13-01", std::nullopt },
        { "1980-04-31", std::nullopt },
        { "1980-04", std::nullopt },
        { "0000-01-01", std::nullopt },
        { "1980-04-15garbage", std::nullopt },
        { "April 15", std::nullopt },
        { "", std::nullopt },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(CardBuilder::parseDate(c.text), c.date);
    }
    // The handsets' placeholder year means the year is not known.
    EXPECT_EQ(CardBuilder::parseDate("1604-04-15", 1604), (Date { std::nullopt, 4, 15 }));
    EXPECT_EQ(onlyCard("BDAY;X-APPLE-OMIT-YEAR=1604:1604-12-01\r\n").birthday, (Date { std::nullopt, 12, 1 }));
}

TEST(VcardReaderValues, ItemLabelsBelongToTheirOwnGroupOnly)
{
    const Card card = onlyCard("item1.TEL;TYPE=CELL:111\r\nITEM1.X-ABLabel:Boat\r\nitem2.TEL;TYPE=CELL:222\r\n"
                               "TEL;TYPE=CELL:333\r\nitem3.X-ABLabel:\r\nitem3.TEL;TYPE=WORK:444\r\n");
    ASSERT_EQ(card.phones.size(), 4u);
    EXPECT_EQ(card.phones[0].label, "Boat");
    EXPECT_EQ(card.phones[1].label, labels::kMobile);
    EXPECT_EQ(card.phones[2].label, labels::kMobile);
    // An empty item label says nothing; the TYPE still does.
    EXPECT_EQ(card.phones[3].label, labels::kWork);
}

TEST(VcardReaderValues, NumbersAndAddressesWrittenAsUrisLoseEveryScheme)
{
    const Card card = onlyCard("TEL;VALUE=uri:tel:+1-555-0100\r\nTEL:TEL:tel: +1 555 0101\r\n"
                               "EMAIL:mailto:mailto:a@example.org\r\n");
    ASSERT_EQ(card.phones.size(), 2u);
    EXPECT_EQ(card.phones[0].value, "+1-555-0100");
    EXPECT_EQ(card.phones[1].value, "+1 555 0101");
    EXPECT_EQ(card.emails.at(0).value, "a@example.org");
}

TEST(VcardReaderValues, InstantMessageAddressesInTheirSeveralSpellings)
{
    const Card card = onlyCard("IMPP:xmpp:jane%20doe@example.org\r\n"
                               "IMPP;X-SERVICE-TYPE=Line:x-apple:jane.line\r\n"
                               "IMPP:sip:jane@voip.example\r\n"
                               "IMPP:plainname\r\n"
                               "X-ICQ;TYPE=WORK:123456\r\n"
                               "IMPP;X-SERVICE-TYPE=GTalk:XMPP:jane@gmail.example\r\n");
    ASSERT_EQ(card.instantMessages.size(), 6u);
    EXPECT_EQ(card.instantMessages[0].value, (Card::InstantMessage { "Jabber", "jane doe@example.org" }));
    EXPECT_EQ(card.instantMessages[1].value, (Card::InstantMessage { "Line", "jane.line" }));
    EXPECT_EQ(card.instantMessages[2].value, (Card::InstantMessage { "", "jane@voip.example", "sip" }));
    EXPECT_EQ(card.instantMessages[3].value, (Card::InstantMessage { "", "plainname" }));
    EXPECT_EQ(card.instantMessages[4].value, (Card::InstantMessage { "ICQ", "123456" }));
    EXPECT_EQ(card.instantMessages[4].label, labels::kWork);
    // A service named apart from its address keeps the address's scheme.
    EXPECT_EQ(card.instantMessages[5].value, (Card::InstantMessage { "GTalk", "jane@gmail.example", "xmpp" }));
}

TEST(VcardReaderValues, PhotosThatCannotBeDecodedAreLeftOutWithAWarning)
{
    const ReadResult result = readText("BEGIN:VCARD\nFN:x\nPHOTO;ENCODING=b:@@@not base64@@@\n"
                                       "PHOTO:data:image/png;base64\n" "END:VCARD\n");
    ASSERT_TRUE(result.ok());
    EXPECT_TRUE(result.cards[0].photo.empty());
    ASSERT_EQ(result.warnings.size(), 2u);
    EXPECT_EQ(result.warnings[0].line, 3);
    EXPECT_EQ(result.warnings[1].line, 4);
}

TEST(VcardReaderValues, OnlyGroupCardsHaveMembersAndNamelessCardsKeepTheirDisplayName)
{
    const Card person = onlyCard("FN:Jane\r\nMEMBER:urn:uuid:1\r\n");
    EXPECT_TRUE(person.members.empty());
    EXPECT_EQ(person.firstName, "Jane");

    const Card company = onlyCard("FN:Acme\r\nORG:Acme\r\n");
    EXPECT_TRUE(company.firstName.empty());

    const Card nicknamed = onlyCard("FN:Jo\r\nNICKNAME:Jo\r\n");
    EXPECT_TRUE(nicknamed.firstName.empty());

    const Card group = onlyCard("KIND:group\r\nN:Family;;;;\r\nMEMBER:urn:uuid:1\r\n");
    EXPECT_EQ(group.kind, Card::Kind::Group);
    EXPECT_EQ(group.formattedName, "Family");
    EXPECT_EQ(group.members, std::vector<std::string> { "urn:uuid:1" });
}

TEST(VcardReaderValues, AndroidRowsWithOddTypeNumbersFallBackToOther)
{
    const Card card = onlyCard("X-ANDROID-CUSTOM:vnd.android.cursor.item/relation;Sam;5555555555555;;\r\n"
                               "X-ANDROID-CUSTOM:vnd.android.cursor.item/relation;Kim;0;Coach;\r\n"
                               "X-ANDROID-CUSTOM:vnd.android.cursor.item/relation;Lee;99;;\r\n"
                               "X-ANDROID-CUSTOM:vnd.android.cursor.item/contact_event;1999-09-09;3;;\r\n");
    ASSERT_EQ(card.relatedNames.size(), 3u);
    EXPECT_EQ(card.relatedNames[0].label, labels::kOther);
    EXPECT_EQ(card.relatedNames[1].label, "Coach");
    EXPECT_EQ(card.relatedNames[2].label, labels::kOther);
    EXPECT_EQ(card.birthday, (Card::Date { 1999, 9, 9 }));
}
