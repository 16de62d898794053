// Import into and export from a real contact store in a temporary folder: what lands on the
// persons and groups, all-or-nothing imports with faults named by file and line, and a book
// that goes out and comes back in unchanged.

#include "CardDump.h"
#include "../ContactStoreTestSupport.h"

#include "platform/contactstore/AccessControl.h"
#include "platform/contactstore/Group.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/Source.h"
#include "platform/contactstore/vcard/BookExporter.h"
#include "platform/contactstore/vcard/BookImporter.h"
#include "platform/contactstore/vcard/PersonCardMapping.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace contactstore;
using namespace contactstore::vcard;

namespace {

fs::path golden(const std::string& name)
{
    return fs::path(TESSARO_TEST_DATA_DIR) / "vcard" / name;
}

AddressBookRef open(const fs::path& folder)
{
    Error error;
    AddressBookRef book = AddressBook::createAt(folder, &error);
    EXPECT_TRUE(book) << error.description;
    return book;
}

ImportResult importFiles(const fs::path& folder, const std::vector<fs::path>& files)
{
    BookImporter importer(open(folder));
    for (const fs::path& file : files)
        importer.addFile(file);
    return importer.commit();
}

PersonRef personNamed(const AddressBook& book, const std::string& first)
{
    for (const PersonRef& person : book.copyArrayOfAllPeople()) {
        if (person->copyString(kPersonFirstNameProperty) == first)
            return person;
    }
    return nullptr;
}

GroupRef groupNamed(const AddressBook& book, const std::string& name)
{
    for (const GroupRef& group : book.copyArrayOfAllGroups()) {
        if (group->copyString(kGroupNameProperty) == name)
            return group;
    }
    return nullptr;
}

std::vector<std::pair<std::string, std::string>> labeledStrings(const Person& person, PropertyID property)
{
    std::vector<std::pair<std::string, std::string>> entries;
    if (const MultiValue* multi = person.multiValue(property)) {
        for (const MultiValueEntry& entry : multi->entries())
            entries.emplace_back(entry.label.value_or("-"), std::get<std::string>(entry.value));
    }
    return entries;
}

bool contains(const std::vector<std::string>& lines, const std::string& part)
{
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) { return line.find(part) != std::string::npos; });
}

// The book as cards, with identifiers (which name the store's file) replaced by positions.
std::vector<Card> comparableCards(const AddressBook& book)
{
    std::vector<Card> cards = BookExporter::cards(book);
    std::vector<std::string> uids;
    for (const Card& card : cards)
        uids.push_back(card.uid);
    for (Card& card : cards) {
        card.uid.clear();
        for (std::string& member : card.members)
            member = std::to_string(std::find(uids.begin(), uids.end(), member) - uids.begin());
    }
    return cards;
}

const std::vector<std::string> kGoodFiles = { "handset-3.0.vcf", "android-2.1.vcf", "google-3.0.vcf",
    "outlook-2.1.vcf", "rfc-4.0.vcf", "mail-program-3.0.vcf", "feature-phone-sjis-2.1.vcf", "wild-shapes-3.0.vcf",
    "windows-utf16.vcf", "handset-crcrlf-3.0.vcf", "mail-program-bare-fn-3.0.vcf", "qp-blank-after-soft-break-2.1.vcf",
    "calendar-after-cards-3.0.vcf", "cut-mid-line-3.0.vcf", "repeated-singles-3.0.vcf", "charset-elsewhere-2.1.vcf",
    "formatted-names-3.0.vcf", "impp-services-3.0.vcf" };

} // namespace

TEST(VcardImport, AHandsetExportLandsWithEveryFieldAPersonHolds)
{
    testsupport::TempDir folder;
    const ImportResult result = importFiles(folder.path(), { golden("handset-3.0.vcf") });
    ASSERT_TRUE(result.ok()) << result.errors.front();
    EXPECT_EQ(result.personsAdded, 2u);
    EXPECT_EQ(result.groupsCreated, 2u);
    // The group card names a member the file does not hold.
    EXPECT_TRUE(contains(result.warnings, "handset-3.0.vcf:53: the member urn:uuid:5B0A1E4C"));

    // A new handle reads what the import saved.
    const AddressBookRef book = open(folder.path());
    const PersonRef kenji = personNamed(*book, "Kenji");
    ASSERT_TRUE(kenji);
    EXPECT_EQ(kenji->copyString(kPersonPrefixProperty), "Dr");
    EXPECT_EQ(kenji->copyString(kPersonSuffixProperty), "Jr");
    EXPECT_EQ(kenji->copyString(kPersonLastNamePhoneticProperty), "\xE3\x81\x95\xE3\x81\xA8\xE3\x81\x86");
    EXPECT_EQ(kenji->copyString(kPersonDepartmentProperty), "Research");
    EXPECT_EQ(kenji->copyString(kPersonJobTitleProperty), "Principal Engineer");
    EXPECT_EQ(kenji->copyString(kPersonNoteProperty), "Met at the 2019 conference, Kyoto.\nPrefers mail.");
    EXPECT_EQ(kenji->copyDate(kPersonBirthdayProperty), PersonCardMapping::storedDate({ 1604, 4, 15 }));
    EXPECT_EQ(labeledStrings(*kenji, kPersonPhoneProperty),
        (std::vector<std::pair<std::string, std::string>> { { kPersonPhoneIPhoneLabel, "+81 90-1234-5678" },
            { kHomeLabel, "03-5555-0101" }, { kPersonPhoneWorkFAXLabel, "03-5555-0199" },
            { kPersonPhoneMainLabel, "03-5555-0100" }, { kPersonPhonePagerLabel, "0120-000-111" },
            { kOtherLabel, "+81 50 1111 2222" } }));
    EXPECT_EQ(labeledStrings(*kenji, kPersonEmailProperty).at(2),
        (std::pair<std::string, std::string> { "Tennis club", "kenji.sato@club.example" }));
    EXPECT_EQ(labeledStrings(*kenji, kPersonRelatedNamesProperty).at(0),
        (std::pair<std::string, std::string> { kPersonSpouseLabel, "Yuki Sato" }));

    const MultiValue* addresses = kenji->multiValue(kPersonAddressProperty);
    ASSERT_TRUE(addresses && addresses->count() == 1);
    const Dictionary& address = std::get<Dictionary>(addresses->entries()[0].value);
    EXPECT_EQ(address.at(kPersonAddressStreetKey), "1-2-3 Jingumae\nApt 4");
    EXPECT_EQ(address.at(kPersonAddressCountryCodeKey), "jp");
    EXPECT_EQ(address.count(kPersonAddressStateKey), 1u);

    const MultiValue* messages = kenji->multiValue(kPersonInstantMessageProperty);
    ASSERT_TRUE(messages && messages->count() == 2);
    EXPECT_EQ(std::get<Dictionary>(messages->entries()[1].value),
        (Dictionary { { kPersonInstantMessageServiceKey, "Jabber" },
            { kPersonInstantMessageUsernameKey, "ksato@chat.tessera.example" } }));
    EXPECT_EQ(messages->entries()[1].label, std::string(kWorkLabel));

    const MultiValue* dates = kenji->multiValue(kPersonDateProperty);
    ASSERT_TRUE(dates && dates->count() == 1);
    EXPECT_EQ(std::get<Date>(dates->entries()[0].value), PersonCardMapping::storedDate({ 2004, 6, 5 }));
    EXPECT_TRUE(kenji->hasImageData());
    EXPECT_EQ(kenji->copyImageData()->substr(0, 3), "\xFF\xD8\xFF");

    // The company card is a company.
    bool companyFound = false;
    for (const PersonRef& person : book->copyArrayOfAllPeople()) {
        if (person->copyString(kPersonOrganizationProperty) == "Blue Harbour Caf\xC3\xA9") {
            companyFound = true;
            EXPECT_EQ(person->copyInteger(kPersonKindProperty), kPersonKindOrganization);
            EXPECT_FALSE(person->copyString(kPersonFirstNameProperty));
        }
    }
    EXPECT_TRUE(companyFound);

    // Categories made groups with the person in them; the group card of the same name too.
    for (const char* name : { "Work", "Tennis" }) {
        const GroupRef group = groupNamed(*book, name);
        ASSERT_TRUE(group) << name;
        ASSERT_EQ(group->memberCount(), 1u) << name;
        EXPECT_EQ(group->copyArrayOfAllMembers()[0]->recordID(), kenji->recordID());
    }
}

TEST(VcardImport, AFaultInAnyFileImportsNothingAndNamesFileAndLine)
{
    testsupport::TempDir folder;
    const fs::path missing = folder / "missing.vcf";
    const ImportResult result = importFiles(folder.path(),
        { golden("google-3.0.vcf"), golden("empty.vcf"), golden("not-vcard.vcf"), missing, folder.path() });
    ASSERT_FALSE(result.ok());
    EXPECT_EQ(result.personsAdded, 0u);
    ASSERT_EQ(result.errors.size(), 4u);
    EXPECT_TRUE(contains(result.errors, golden("empty.vcf").string() + ": this is not a vCard file: it holds no card"));
    EXPECT_TRUE(contains(result.errors, golden("not-vcard.vcf").string() + ":1: this is not a vCard file"));
    EXPECT_TRUE(contains(result.errors, missing.string() + ": cannot be read"));
    EXPECT_TRUE(contains(result.errors, folder.path().string() + ": is a folder"));

    const AddressBookRef book = open(folder.path());
    EXPECT_EQ(book->personCount(), 0u);
    EXPECT_EQ(book->groupCount(), 0u);
}

TEST(VcardImport, GroupsJoinByNameAndByCardIdentifierAcrossFiles)
{
    testsupport::TempDir folder;
    {
        // The book already has a group that a category of the import names.
        const AddressBookRef book = open(folder.path());
        const GroupRef friends = Group::create();
        ASSERT_TRUE(friends->setValue(kGroupNameProperty, std::string("Amigos")));
        ASSERT_TRUE(book->addRecord(friends));
        ASSERT_TRUE(book->save());
    }
    // The member of the group card is in the first file, named in another case.
    const std::string groupFile = "BEGIN:VCARD\r\nVERSION:4.0\r\nKIND:group\r\nFN:Book club\r\n"
                                  "MEMBER:4FBE8971-0BC3-424C-9C26-36C3E1EFF6B1\r\n" "END:VCARD\r\n";
    BookImporter importer(open(folder.path()));
    importer.addFile(golden("rfc-4.0.vcf"));
    importer.addText(groupFile, "club.vcf");
    importer.addFile(golden("google-3.0.vcf"));
    const ImportResult result = importer.commit();
    ASSERT_TRUE(result.ok()) << result.errors.front();
    EXPECT_EQ(result.groupsCreated, 3u); // Book club, myContacts, Starred
    EXPECT_EQ(result.groupsExtended, 1u); // Amigos

    const AddressBookRef book = open(folder.path());
    EXPECT_EQ(book->groupCount(), 4u);
    const GroupRef club = groupNamed(*book, "Book club");
    ASSERT_TRUE(club);
    ASSERT_EQ(club->memberCount(), 1u) << "two group cards of one name are one group, each member once";
    EXPECT_EQ(club->copyArrayOfAllMembers()[0]->copyString(kPersonFirstNameProperty), "\xE8\x8A\xB1\xE5\xAD\x90");
    EXPECT_EQ(groupNamed(*book, "myContacts")->memberCount(), 2u);
    EXPECT_EQ(groupNamed(*book, "Amigos")->memberCount(), 1u);
}

TEST(VcardImport, CardsWithNothingToKeepAreSkippedAndRefusedAccessImportsNothing)
{
    testsupport::TempDir folder;
    {
        BookImporter importer(open(folder.path()));
        importer.addText("BEGIN:VCARD\nVERSION:3.0\nFN:\n" "END:VCARD\nBEGIN:VCARD\nFN:Kept\n" "END:VCARD\n", "two.vcf");
        const ImportResult result = importer.commit();
        ASSERT_TRUE(result.ok());
        EXPECT_EQ(result.personsAdded, 1u);
        EXPECT_TRUE(contains(result.warnings, "two.vcf:1: the card holds nothing to import"));
    }

    AccessControl::setAccessRefused(true);
    Error error;
    BookImporter importer(AddressBook::createAt(folder.path(), &error));
    importer.addFile(golden("google-3.0.vcf"));
    const ImportResult refused = importer.commit();
    AccessControl::setAccessRefused(false);
    EXPECT_FALSE(refused.ok());
    EXPECT_EQ(refused.personsAdded, 0u);
    EXPECT_EQ(open(folder.path())->personCount(), 1u);
}

TEST(VcardImport, AFailedSaveLeavesTheBookAndTheHandleAsTheyWere)
{
    testsupport::TempDir folder;
    const AddressBookRef book = open(folder.path());
    // The file refuses new groups, which the categories of the import need.
    contactstoretest::execute(folder.path(),
        "CREATE TRIGGER refuse BEFORE INSERT ON contact_group BEGIN SELECT RAISE(ABORT, 'disk says no'); END;");
    BookImporter importer(book);
    importer.addFile(golden("google-3.0.vcf"));
    const ImportResult result = importer.commit();
    ASSERT_FALSE(result.ok());
    EXPECT_TRUE(contains(result.errors, "disk says no")) << result.errors.front();
    EXPECT_EQ(result.personsAdded, 0u);
    EXPECT_FALSE(book->hasUnsavedChanges());
    EXPECT_EQ(book->personCount(), 0u);
    EXPECT_EQ(book->groupCount(), 0u);
    EXPECT_EQ(open(folder.path())->personCount(), 0u);

    // With the file willing again, the same handle imports normally.
    contactstoretest::execute(folder.path(), "DROP TRIGGER refuse;");
    BookImporter again(book);
    again.addFile(golden("google-3.0.vcf"));
    ASSERT_TRUE(again.commit().ok());
    EXPECT_EQ(open(folder.path())->personCount(), 2u);
}

TEST(VcardRoundTrip, ImportExportImportGivesTheSameBookInBothVersions)
{
    testsupport::TempDir folder;
    std::vector<fs::path> files;
    for (const std::string& name : kGoodFiles)
        files.push_back(golden(name));
    const ImportResult first = importFiles(folder / "first", files);
    ASSERT_TRUE(first.ok()) << first.errors.front();

    // Persons of another account go out and come back like the others.
    {
        const AddressBookRef book = open(folder / "first");
        const SourceRef exchange = Source::create(kSourceTypeExchange, std::string("Exchange"));
        ASSERT_TRUE(book->addRecord(exchange));
        const PersonRef colleague = Person::createInSource(exchange);
        ASSERT_TRUE(colleague->setValue(kPersonFirstNameProperty, std::string("Priya")));
        ASSERT_TRUE(book->addRecord(colleague));
        ASSERT_TRUE(book->save());
    }
    const AddressBookRef original = open(folder / "first");
    const std::vector<Card> before = comparableCards(*original);
    ASSERT_EQ(original->personCount(), first.personsAdded + 1);

    for (CardWriter::Version version : { CardWriter::Version::V3, CardWriter::Version::V4 }) {
        const std::string tag = version == CardWriter::Version::V3 ? "3" : "4";
        SCOPED_TRACE("version " + tag);
        const fs::path exported = folder / ("export-" + tag + ".vcf");
        const ExportResult written = BookExporter::exportToFile(*original, exported, version);
        ASSERT_TRUE(written.ok()) << written.error;
        EXPECT_EQ(written.persons, original->personCount());
        EXPECT_EQ(written.groups, original->groupCount());
        // Written straight from the store's file, card by card, the file is the same.
        const fs::path streamed = folder / ("streamed-" + tag + ".vcf");
        const ExportResult fromStore = BookExporter::exportStoreToFile(folder / "first", streamed, version);
        ASSERT_TRUE(fromStore.ok()) << fromStore.error;
        EXPECT_EQ(fromStore.persons, written.persons);
        EXPECT_EQ(fromStore.groups, written.groups);
        auto bytes = [](const fs::path& file) {
            std::ifstream stream(file, std::ios::binary);
            return std::string((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
        };
        EXPECT_EQ(bytes(streamed), bytes(exported));

        const ImportResult second = importFiles(folder / ("second-" + tag), { exported });
        ASSERT_TRUE(second.ok()) << second.errors.front();
        EXPECT_TRUE(second.warnings.empty()) << second.warnings.front();
        const std::vector<Card> after = comparableCards(*open(folder / ("second-" + tag)));
        ASSERT_EQ(after.size(), before.size());
        for (std::size_t i = 0; i < before.size(); ++i) {
            EXPECT_TRUE(before[i].sameContent(after[i])) << vcardtest::dump(before[i]) << vcardtest::dump(after[i]);
            EXPECT_EQ(before[i].formattedName, after[i].formattedName);
        }
    }
}

TEST(VcardExport, TheFileAppearsWholeOrNotAtAll)
{
    testsupport::TempDir folder;
    ASSERT_TRUE(importFiles(folder.path(), { golden("google-3.0.vcf") }).ok());
    const AddressBookRef book = open(folder.path());

    const fs::path nowhere = folder / "no-such-folder" / "out.vcf";
    const ExportResult failed = BookExporter::exportToFile(*book, nowhere);
    EXPECT_FALSE(failed.ok());
    EXPECT_FALSE(fs::exists(nowhere.parent_path()));

    const fs::path target = folder / "out.vcf";
    std::ofstream(target) << "old contents";
    ASSERT_TRUE(BookExporter::exportToFile(*book, target).ok());
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.path()))
        ++entries;
    std::ifstream stream(target, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text.rfind("BEGIN:VCARD\r\nVERSION:3.0\r\n", 0), 0u);
    EXPECT_EQ(BookExporter::cards(*book).front().uid, BookExporter::cards(*open(folder.path())).front().uid)
        << "identifiers stay the same from one export to the next";
    EXPECT_NE(text.find("CATEGORIES:myContacts,Amigos,Starred\r\n"), std::string::npos) << text;
}

// The command line's import reads files a piece at a time and writes each card straight into
// the store: it must land exactly what reading the files whole into a handle lands, with the
// same warnings at the same lines, and a failure must leave the file as it was.
TEST(VcardImport, StreamedIntoTheStoreItLandsWhatAWholeReadLandsOrNothing)
{
    testsupport::TempDir folder;
    // Big enough for several pieces: a group card naming members further on, categories,
    // a line the reader skips deep in the file, a person without data, a card with no end.
    const fs::path big = folder / "big.vcf";
    {
        std::ofstream out(big, std::ios::binary);
        out << "BEGIN:VCARD\r\n"
               "VERSION:3.0\r\n"
               "FN:Team\r\n"
               "X-ADDRESSBOOKSERVER-KIND:group\r\n"
               "X-ADDRESSBOOKSERVER-MEMBER:urn:uuid:00000000-0000-4000-8000-000000012000\r\n"
               "X-ADDRESSBOOKSERVER-MEMBER:urn:uuid:00000000-0000-4000-8000-000000000007\r\n"
               "END:VCARD\r\n";
        const std::string note(400, 'n');
        for (int card = 0; card < 3000; ++card) {
            out << "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Family" << card % 1000 << ";Given" << card << ";;;\r\nFN:Given" << card << "\r\n"
                << "NOTE:" << note << "\r\n"
                << "TEL;TYPE=CELL:+1 555 " << card << "\r\nUID:urn:uuid:00000000-0000-4000-8000-0000000" << 10000 + card << "\r\n";
            if (card % 10 == 0)
                out << "CATEGORIES:Circle " << card % 7 << ",Everyone\r\n";
            if (card == 2000)
                out << "this line is no property\r\n";
            if (card == 2500)
                out << "END:VCARD\r\nBEGIN:VCARD\r\nVERSION:3.0\r\n";
            out << "END:VCARD\r\n";
        }
        out << "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Last;Unended;;;\r\n";
    }
    std::vector<fs::path> files { big };
    std::vector<BookImporter::Input> inputs { { big.string(), big, std::nullopt } };
    for (const std::string& name : kGoodFiles) {
        files.push_back(golden(name));
        inputs.push_back({ golden(name).string(), golden(name), std::nullopt });
    }

    const ImportResult whole = importFiles(folder / "whole", files);
    ASSERT_TRUE(whole.ok()) << whole.errors.front();
    const ImportResult streamed = BookImporter::importIntoStore(folder / "streamed", inputs);
    ASSERT_TRUE(streamed.ok()) << streamed.errors.front();
    EXPECT_EQ(streamed.personsAdded, whole.personsAdded);
    EXPECT_EQ(streamed.groupsCreated, whole.groupsCreated);
    EXPECT_EQ(streamed.groupsExtended, whole.groupsExtended);
    // The same remarks; a whole read makes those of reading every file before the rest.
    auto sorted = [](std::vector<std::string> lines) {
        std::sort(lines.begin(), lines.end());
        return lines;
    };
    EXPECT_EQ(sorted(streamed.warnings), sorted(whole.warnings));
    const std::vector<Card> expected = comparableCards(*open(folder / "whole"));
    const std::vector<Card> landed = comparableCards(*open(folder / "streamed"));
    ASSERT_EQ(landed.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        ASSERT_TRUE(expected[i].sameContent(landed[i])) << i << vcardtest::dump(expected[i]) << vcardtest::dump(landed[i]);

    // Old Macintosh files end their lines in a lone CR: they are read in pieces just the same,
    // and a remark deep in the file names its own line.
    const fs::path lone = folder / "lone-cr.vcf";
    {
        std::ofstream out(lone, std::ios::binary);
        const std::string note(400, 'n');
        for (int card = 0; card < 1200; ++card) {
            out << "BEGIN:VCARD\rVERSION:3.0\rN:Lone;Given" << card << ";;;\rFN:Given" << card << " Lone\rNOTE:" << note
                << "\rTEL:+1 555 " << card << "\r" << (card == 1150 ? "this line is no property\r" : "") << "END:VCARD\r";
        }
    }
    const ImportResult streamedLone = BookImporter::importIntoStore(folder / "streamed-lone", { { "lone-cr.vcf", lone, std::nullopt } });
    ASSERT_TRUE(streamedLone.ok()) << streamedLone.errors.front();
    EXPECT_EQ(streamedLone.personsAdded, 1200u);
    EXPECT_EQ(streamedLone.warnings, (std::vector<std::string> { "lone-cr.vcf:8057: this line is not a vCard property (no name and ':' before its value); skipped" }));

    // Into the same store again, the groups are found by name; then a store that refuses
    // the members: nothing of that import stays.
    const ImportResult again = BookImporter::importIntoStore(folder / "streamed", { inputs.front() });
    ASSERT_TRUE(again.ok()) << again.errors.front();
    EXPECT_EQ(again.groupsCreated, 0u);
    EXPECT_EQ(again.groupsExtended, 9u);
    const long long before = contactstoretest::queryNumber(folder / "streamed", "SELECT count(*) FROM person");
    contactstoretest::execute(folder / "streamed",
        "CREATE TRIGGER refuse BEFORE INSERT ON group_member WHEN NEW.person_id > 6200 BEGIN SELECT RAISE(ABORT, 'disk says no'); END;");
    const ImportResult refused = BookImporter::importIntoStore(folder / "streamed", { inputs.front() });
    ASSERT_FALSE(refused.ok());
    EXPECT_TRUE(contains(refused.errors, "disk says no")) << refused.errors.front();
    EXPECT_EQ(refused.personsAdded, 0u);
    EXPECT_EQ(contactstoretest::queryNumber(folder / "streamed", "SELECT count(*) FROM person"), before);

    // A file with no card is refused before any store is made.
    const fs::path empty = folder / "empty.vcf";
    std::ofstream(empty) << "no cards here\n";
    const ImportResult none = BookImporter::importIntoStore(folder / "never", { { "good", big, std::nullopt }, { "empty.vcf", empty, std::nullopt } });
    ASSERT_FALSE(none.ok());
    EXPECT_TRUE(contains(none.errors, "empty.vcf:1: this is not a vCard file")) << none.errors.front();
    EXPECT_FALSE(fs::exists(folder / "never"));
}
