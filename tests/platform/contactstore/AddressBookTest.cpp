// Handle semantics: what a handle sees, when changes reach the file, and that a save is
// whole or nothing, including when the process dies in the middle of it.

#include "ContactStoreTestSupport.h"

#include "platform/contactstore/AddressBookDatabase.h"
#include "platform/contactstore/Group.h"
#include "platform/contactstore/PersonSearchKeys.h"
#include "platform/contactstore/Source.h"
#include "platform/contactstore/vcard/BookExporter.h"
#include "platform/contactstore/vcard/BookImporter.h"
#include "platform/foundation/Log.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

using namespace contactstore;
using namespace contactstoretest;

namespace {

std::vector<std::string> firstNames(const AddressBookRef& book)
{
    std::vector<std::string> names;
    for (const auto& person : book->copyArrayOfAllPeople())
        names.push_back(person->copyString(kPersonFirstNameProperty).value_or("?"));
    return names;
}

// Runs the body in a child process and waits for it; the child's exit status.
template <typename Body>
int inChildProcess(Body body)
{
    pid_t child = fork();
    if (child == 0) {
        body();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

} // namespace

TEST(AddressBookTest, NewStoreHasOneLocalSourceAndNothingElse)
{
    testsupport::TempDir folder;
    auto book = openBook(folder.path());
    ASSERT_TRUE(book);
    auto sources = book->copyArrayOfAllSources();
    ASSERT_EQ(sources.size(), 1u);
    EXPECT_EQ(sources.front()->sourceType(), kSourceTypeLocal);
    EXPECT_NE(sources.front()->recordID(), kRecordInvalidID);
    EXPECT_EQ(book->copyDefaultSource(), sources.front());
    EXPECT_EQ(book->personCount(), 0u);
    EXPECT_EQ(book->groupCount(), 0u);
    EXPECT_FALSE(book->hasUnsavedChanges());
    EXPECT_TRUE(std::filesystem::exists(folder / AddressBook::kDatabaseFileName));
}

TEST(AddressBookTest, ChangesStayPendingUntilSavedAndOnlyLaterHandlesSeeThem)
{
    testsupport::TempDir folder;
    auto writer = openBook(folder.path());
    auto before = openBook(folder.path());

    auto person = makePerson("Ann", "Lee");
    ASSERT_TRUE(writer->addRecord(person));
    EXPECT_EQ(person->recordID(), kRecordInvalidID);
    EXPECT_EQ(writer->personCount(), 1u);
    EXPECT_TRUE(writer->hasUnsavedChanges());
    EXPECT_EQ(openBook(folder.path())->personCount(), 0u);

    ASSERT_TRUE(writer->save());
    EXPECT_NE(person->recordID(), kRecordInvalidID);
    EXPECT_FALSE(writer->hasUnsavedChanges());
    EXPECT_EQ(writer->personWithRecordID(person->recordID()), person);

    EXPECT_EQ(before->personCount(), 0u) << "a handle keeps the store as it was when it was created";
    auto after = openBook(folder.path());
    ASSERT_EQ(after->personCount(), 1u);
    EXPECT_EQ(after->personWithRecordID(person->recordID())->copyString(kPersonLastNameProperty), "Lee");

    // A change to a saved person is pending too.
    ASSERT_TRUE(person->setValue(kPersonLastNameProperty, std::string("Park")));
    EXPECT_TRUE(writer->hasUnsavedChanges());
    EXPECT_EQ(openBook(folder.path())->personWithRecordID(person->recordID())->copyString(kPersonLastNameProperty), "Lee");
    ASSERT_TRUE(writer->save());
    EXPECT_EQ(openBook(folder.path())->personWithRecordID(person->recordID())->copyString(kPersonLastNameProperty), "Park");
}

TEST(AddressBookTest, EverythingAPersonHoldsSurvivesAReopening)
{
    testsupport::TempDir folder;
    auto book = openBook(folder.path());
    auto person = makePerson("Émile", "Zola", { "+33 1 23 45 67 89", "06-12-34-56-78" });
    Date birthday = Date(std::chrono::milliseconds(-1'000'000'000'000)); // 1938
    ASSERT_TRUE(person->setValue(kPersonBirthdayProperty, birthday));
    ASSERT_TRUE(person->setValue(kPersonKindProperty, kPersonKindOrganization));
    ASSERT_TRUE(person->setValue(kPersonNoteProperty, std::string("line one\nline two, \"quoted\"")));
    MultiValue addresses(PropertyType::MultiDictionary);
    ASSERT_TRUE(addresses.addValueAndLabel(Dictionary { { kPersonAddressStreetKey, "1 Rue de Rivoli" }, { kPersonAddressCityKey, "Paris" } },
                                           std::string(kWorkLabel)));
    ASSERT_TRUE(person->setValue(kPersonAddressProperty, addresses));
    MultiValue dates(PropertyType::MultiDate);
    ASSERT_TRUE(dates.addValueAndLabel(birthday, std::string(kPersonAnniversaryLabel)));
    ASSERT_TRUE(dates.addValueAndLabel(Date(std::chrono::milliseconds(0)), std::nullopt));
    ASSERT_TRUE(person->setValue(kPersonDateProperty, dates));
    MultiValue accounts(PropertyType::MultiDictionary);
    ASSERT_TRUE(accounts.addValueAndLabel(Dictionary { { kPersonInstantMessageServiceKey, kPersonInstantMessageServiceSkype },
                                                       { kPersonInstantMessageUsernameKey, "emile" } },
                                          std::string("My own label")));
    ASSERT_TRUE(person->setValue(kPersonInstantMessageProperty, accounts));
    ASSERT_TRUE(person->setValue(kPersonFormattedNameProperty, std::string("\xC3\x89mile \xC3\x89" "douard Zola")));
    ASSERT_TRUE(book->addRecord(person));
    ASSERT_TRUE(book->save());

    auto reread = openBook(folder.path())->personWithRecordID(person->recordID());
    ASSERT_TRUE(reread);
    for (PropertyID property : { kPersonFirstNameProperty, kPersonLastNameProperty, kPersonNoteProperty, kPersonBirthdayProperty,
                                 kPersonKindProperty, kPersonPhoneProperty, kPersonAddressProperty, kPersonDateProperty,
                                 kPersonInstantMessageProperty, kPersonFormattedNameProperty, kPersonCreationDateProperty,
                                 kPersonModificationDateProperty })
        EXPECT_EQ(reread->copyValue(property), person->copyValue(property)) << "property " << property;
    EXPECT_FALSE(reread->copyValue(kPersonEmailProperty));
    EXPECT_FALSE(reread->copyValue(kPersonMiddleNameProperty));

    // A person read from the file opens its names and its lists apart: what was read first
    // stays where it was while the rest is opened, and a write, whatever it touches first,
    // keeps every value nobody read.
    for (bool listsFirst : { true, false }) {
        SCOPED_TRACE(listsFirst ? "lists read first" : "names read first");
        auto handle = openBook(folder.path());
        auto stored = handle->personWithRecordID(person->recordID());
        const MultiValue* phones = listsFirst ? stored->multiValue(kPersonPhoneProperty) : nullptr;
        const std::string* first = stored->stringValue(kPersonFirstNameProperty);
        if (!listsFirst)
            phones = stored->multiValue(kPersonPhoneProperty);
        ASSERT_TRUE(phones && first);
        EXPECT_TRUE(stored->copyDate(kPersonBirthdayProperty));
        EXPECT_TRUE(stored->multiValue(kPersonAddressProperty));
        EXPECT_EQ(*first, "Émile");
        EXPECT_EQ(phones->count(), 2u);

        auto writer = openBook(folder.path());
        auto written = writer->personWithRecordID(person->recordID());
        if (listsFirst)
            ASSERT_TRUE(written->setValue(kPersonJobTitleProperty, std::string("Writer")));
        else
            ASSERT_TRUE(written->removeValue(kPersonDepartmentProperty));
        ASSERT_TRUE(writer->save());
        for (const PersonRef& held : { written, openBook(folder.path())->personWithRecordID(person->recordID()) }) {
            for (PropertyID property : { kPersonFirstNameProperty, kPersonLastNameProperty, kPersonNoteProperty, kPersonBirthdayProperty,
                                         kPersonKindProperty, kPersonPhoneProperty, kPersonAddressProperty, kPersonDateProperty,
                                         kPersonInstantMessageProperty, kPersonFormattedNameProperty, kPersonCreationDateProperty })
                EXPECT_EQ(held->copyValue(property), person->copyValue(property)) << "property " << property;
        }
    }
    EXPECT_EQ(openBook(folder.path())->personWithRecordID(person->recordID())->copyString(kPersonJobTitleProperty), "Writer");
}

TEST(AddressBookTest, IdentifiersAreStableAcrossRestartsAndNeverReused)
{
    testsupport::TempDir folder;
    RecordID first = kRecordInvalidID;
    RecordID last = kRecordInvalidID;
    RecordID group = kRecordInvalidID;
    {
        auto book = openBook(folder.path());
        auto one = makePerson("One");
        auto two = makePerson("Two");
        auto friends = Group::create();
        ASSERT_TRUE(friends->setValue(kGroupNameProperty, std::string("Friends")));
        ASSERT_TRUE(book->addRecord(one) && book->addRecord(two) && book->addRecord(friends));
        ASSERT_TRUE(book->save());
        first = one->recordID();
        last = two->recordID();
        group = friends->recordID();
        EXPECT_NE(first, last);
        EXPECT_NE(group, first);
        EXPECT_NE(group, last);
    }
    {
        auto book = openBook(folder.path());
        EXPECT_EQ(book->personWithRecordID(first)->copyString(kPersonFirstNameProperty), "One");
        EXPECT_EQ(book->personWithRecordID(last)->copyString(kPersonFirstNameProperty), "Two");
        EXPECT_EQ(book->groupWithRecordID(group)->copyCompositeName(), "Friends");
        ASSERT_TRUE(book->removeRecord(book->personWithRecordID(last)));
        ASSERT_TRUE(book->removeRecord(book->groupWithRecordID(group)));
        ASSERT_TRUE(book->save());
    }
    auto book = openBook(folder.path());
    EXPECT_FALSE(book->personWithRecordID(last));
    auto newcomer = makePerson("Three");
    ASSERT_TRUE(book->addRecord(newcomer));
    ASSERT_TRUE(book->save());
    EXPECT_GT(newcomer->recordID(), std::max({ first, last, group }));
    EXPECT_EQ(firstNames(openBook(folder.path())), (std::vector<std::string> { "One", "Three" }));
}

TEST(AddressBookTest, RemovingWhatTheBookDoesNotHoldFails)
{
    testsupport::TempDir folder;
    auto book = openBook(folder.path());
    Error error;
    EXPECT_FALSE(book->removeRecord(makePerson("Stranger"), &error));
    EXPECT_EQ(error.code, ErrorCode::NotInAddressBook);
    EXPECT_FALSE(error.localizedDescription().empty());

    auto person = makePerson("Once");
    ASSERT_TRUE(book->addRecord(person));
    ASSERT_TRUE(book->save());
    ASSERT_TRUE(book->removeRecord(person));
    error = {};
    EXPECT_FALSE(book->removeRecord(person, &error)) << "a second removal finds nothing to remove";
    EXPECT_EQ(error.code, ErrorCode::NotInAddressBook);

    error = {};
    EXPECT_FALSE(book->removeRecord(book->copyDefaultSource(), &error));
    EXPECT_EQ(error.code, ErrorCode::WrongRecordType);
    EXPECT_FALSE(book->removeRecord(nullptr));
}

TEST(AddressBookTest, RecordsOfAnotherHandleAreMatchedByIdentifier)
{
    testsupport::TempDir folder;
    auto first = openBook(folder.path());
    auto person = makePerson("Shared");
    ASSERT_TRUE(first->addRecord(person));
    ASSERT_TRUE(first->save());

    auto second = openBook(folder.path());
    EXPECT_TRUE(second->addRecord(person)) << "it is already in the store the second handle sees";
    EXPECT_EQ(second->personCount(), 1u);
    ASSERT_TRUE(second->removeRecord(person));
    ASSERT_TRUE(second->save());
    EXPECT_EQ(openBook(folder.path())->personCount(), 0u);

    // A person waiting to be added through one handle cannot be added through another.
    auto pending = makePerson("Pending");
    ASSERT_TRUE(first->addRecord(pending));
    Error error;
    EXPECT_FALSE(second->addRecord(pending, &error));
    EXPECT_EQ(error.code, ErrorCode::NotInAddressBook);
}

TEST(AddressBookTest, RemovalUndoneBeforeSavingKeepsThePerson)
{
    testsupport::TempDir folder;
    auto book = openBook(folder.path());
    auto anna = makePerson("Anna");
    auto bert = makePerson("Bert");
    ASSERT_TRUE(book->addRecord(anna) && book->addRecord(bert));
    ASSERT_TRUE(book->save());
    ASSERT_TRUE(book->removeRecord(anna));
    ASSERT_TRUE(book->addRecord(anna));
    ASSERT_TRUE(book->save());
    EXPECT_EQ(firstNames(openBook(folder.path())), (std::vector<std::string> { "Anna", "Bert" }));
    EXPECT_EQ(book->personWithRecordID(anna->recordID()), anna);

    // Additions taken back before saving never reach the file.
    auto carl = makePerson("Carl");
    auto dora = makePerson("Dora");
    auto emil = makePerson("Emil");
    ASSERT_TRUE(book->addRecord(carl) && book->addRecord(dora) && book->addRecord(emil));
    ASSERT_TRUE(book->removeRecord(dora));
    ASSERT_TRUE(book->removeRecord(emil));
    EXPECT_FALSE(book->removeRecord(emil));
    ASSERT_TRUE(book->save());
    EXPECT_EQ(firstNames(openBook(folder.path())), (std::vector<std::string> { "Anna", "Bert", "Carl" }));
    EXPECT_EQ(dora->recordID(), kRecordInvalidID);
}

TEST(AddressBookTest, AFailedSaveWritesNothingAndCanBeRetried)
{
    testsupport::TempDir folder;
    auto book = openBook(folder.path());
    auto kept = makePerson("Kept");
    ASSERT_TRUE(book->addRecord(kept));
    ASSERT_TRUE(book->save());

    // The file refuses new groups, which are written after the persons of the same save.
    execute(folder.path(), "CREATE TRIGGER refuse BEFORE INSERT ON contact_group BEGIN SELECT RAISE(ABORT, 'disk says no'); END;");
    auto added = makePerson("Added");
    auto group = Group::create();
    ASSERT_TRUE(kept->setValue(kPersonLastNameProperty, std::string("Changed")));
    ASSERT_TRUE(book->addRecord(added) && book->addRecord(group));

    Error error;
    EXPECT_FALSE(book->save(&error));
    EXPECT_EQ(error.code, ErrorCode::StorageFailed);
    EXPECT_NE(error.description.find("disk says no"), std::string::npos) << error.description;
    EXPECT_EQ(added->recordID(), kRecordInvalidID) << "identifiers of a failed save are taken back";
    EXPECT_EQ(group->recordID(), kRecordInvalidID);
    EXPECT_TRUE(book->hasUnsavedChanges());
    auto unchanged = openBook(folder.path());
    EXPECT_EQ(firstNames(unchanged), (std::vector<std::string> { "Kept" }));
    EXPECT_FALSE(unchanged->personWithRecordID(kept->recordID())->copyValue(kPersonLastNameProperty));
    EXPECT_EQ(unchanged->groupCount(), 0u);
    EXPECT_EQ(queryNumber(folder.path(), "SELECT value FROM store_info WHERE key = 'next_record_id'"),
              queryNumber(folder.path(), "SELECT max(id) FROM person") + 1);

    execute(folder.path(), "DROP TRIGGER refuse;");
    ASSERT_TRUE(book->save(&error)) << error.description;
    auto saved = openBook(folder.path());
    EXPECT_EQ(firstNames(saved), (std::vector<std::string> { "Kept", "Added" }));
    EXPECT_EQ(saved->personWithRecordID(kept->recordID())->copyString(kPersonLastNameProperty), "Changed");
    EXPECT_EQ(saved->groupCount(), 1u);
}

TEST(AddressBookTest, AProcessKilledWhileSavingLeavesTheStoreAsItWas)
{
    testsupport::TempDir folder;
    {
        auto book = openBook(folder.path());
        ASSERT_TRUE(book->addRecord(makePerson("Before")));
        ASSERT_TRUE(book->save());
    }
    int status = inChildProcess([&folder] {
        auto book = AddressBook::createAt(folder.path());
        for (int index = 0; index < 500; ++index)
            (void)book->addRecord(makePerson("Doomed " + std::to_string(index)));
        (void)book->removeRecord(book->copyArrayOfAllPeople().front());
        AddressBookDatabase::setBeforeCommitHookForTesting([] { raise(SIGKILL); });
        (void)book->save();
    });
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child was meant to die inside its save";

    auto book = openBook(folder.path());
    ASSERT_TRUE(book);
    EXPECT_EQ(firstNames(book), (std::vector<std::string> { "Before" }));
    EXPECT_EQ(queryNumber(folder.path(), "SELECT count(*) FROM pragma_integrity_check WHERE integrity_check != 'ok'"), 0);
    ASSERT_TRUE(book->addRecord(makePerson("After")));
    ASSERT_TRUE(book->save());
    EXPECT_EQ(firstNames(openBook(folder.path())), (std::vector<std::string> { "Before", "After" }));
}

TEST(AddressBookTest, ANewHandleSeesWhatAnotherProcessSaved)
{
    testsupport::TempDir folder;
    auto early = openBook(folder.path());
    int status = inChildProcess([&folder] {
        auto book = AddressBook::createAt(folder.path());
        auto exchange = Source::create(kSourceTypeExchange, "Work");
        bool saved = book && book->addRecord(exchange) && book->addRecord(Person::createInSource(exchange))
            && book->addRecord(makePerson("Local")) && book->save();
        _exit(saved ? 0 : 1);
    });
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    EXPECT_EQ(early->personCount(), 0u);
    auto late = openBook(folder.path());
    EXPECT_EQ(late->personCount(), 2u);
    auto sources = late->copyArrayOfAllSources();
    ASSERT_EQ(sources.size(), 2u);
    EXPECT_EQ(sources[1]->sourceType(), kSourceTypeExchange);
    EXPECT_EQ(sources[1]->copyCompositeName(), "Work");
    EXPECT_EQ(late->copyArrayOfAllPeopleInSource(sources[1]).size(), 1u);
    EXPECT_EQ(late->copyArrayOfAllPeopleInSource(sources[0]).size(), 1u);

    // The early handle can still save its own changes without undoing the other's.
    ASSERT_TRUE(early->addRecord(makePerson("Early")));
    ASSERT_TRUE(early->save());
    EXPECT_EQ(openBook(folder.path())->personCount(), 3u);
}

TEST(AddressBookTest, ChangesToAPersonDeletedElsewhereDoNotBringItBack)
{
    testsupport::TempDir folder;
    auto setup = openBook(folder.path());
    auto person = makePerson("Gone");
    ASSERT_TRUE(setup->addRecord(person));
    ASSERT_TRUE(setup->save());

    auto stale = openBook(folder.path());
    auto deleter = openBook(folder.path());
    ASSERT_TRUE(deleter->removeRecord(deleter->personWithRecordID(person->recordID())));
    ASSERT_TRUE(deleter->save());

    ASSERT_TRUE(stale->personWithRecordID(person->recordID())->setValue(kPersonLastNameProperty, std::string("Edited")));
    EXPECT_TRUE(stale->save());
    EXPECT_EQ(openBook(folder.path())->personCount(), 0u);
}

TEST(AddressBookTest, DatesAreKeptBySaving)
{
    testsupport::TempDir folder;
    auto book = openBook(folder.path());
    auto person = makePerson("Dated");
    Error error;
    EXPECT_FALSE(person->setValue(kPersonCreationDateProperty, Date {}, &error));
    EXPECT_EQ(error.code, ErrorCode::ReadOnlyProperty);
    EXPECT_FALSE(person->copyValue(kPersonCreationDateProperty));

    auto start = std::chrono::floor<std::chrono::milliseconds>(std::chrono::system_clock::now());
    ASSERT_TRUE(book->addRecord(person));
    ASSERT_TRUE(book->save());
    auto created = person->copyDate(kPersonCreationDateProperty);
    ASSERT_TRUE(created);
    EXPECT_GE(*created, start);
    EXPECT_EQ(person->copyDate(kPersonModificationDateProperty), created);

    // An unchanged person is not written again, so its modification date stays.
    ASSERT_TRUE(person->setValue(kPersonFirstNameProperty, std::string("Dated")));
    EXPECT_FALSE(book->hasUnsavedChanges());

    ASSERT_TRUE(person->setValue(kPersonFirstNameProperty, std::string("Redated")));
    ASSERT_TRUE(book->save());
    EXPECT_EQ(person->copyDate(kPersonCreationDateProperty), created);
    EXPECT_GE(*person->copyDate(kPersonModificationDateProperty), *created);
    EXPECT_EQ(openBook(folder.path())->personWithRecordID(person->recordID())->copyDate(kPersonCreationDateProperty), created);
}

TEST(AddressBookTest, AFileOfTheFirstSchemaIsUpgradedWithItsPersonsKept)
{
    testsupport::TempDir folder;
    {
        auto book = openBook(folder.path());
        ASSERT_TRUE(book->addRecord(makePerson("Early", "Adopter", { "+1 555 0100" })));
        ASSERT_TRUE(book->save());
    }
    // The first schema had no formatted names and kept no search keys.
    execute(folder.path(), "ALTER TABLE person DROP COLUMN search_keys; ALTER TABLE person DROP COLUMN formatted_name; "
                           "ALTER TABLE person DROP COLUMN uid; DELETE FROM store_info WHERE key = 'search_keys_revision'; "
                           "DROP TABLE kept_persons_data; PRAGMA user_version = 1;");

    auto book = openBook(folder.path());
    EXPECT_EQ(queryNumber(folder.path(), "PRAGMA user_version"), AddressBookDatabase::kSchemaVersion);
    EXPECT_EQ(queryNumber(folder.path(), "SELECT count(*) FROM person WHERE search_keys IS NULL"), 0);
    ASSERT_EQ(firstNames(book), std::vector<std::string> { "Early" });
    const PersonRef person = book->copyArrayOfAllPeople().front();
    EXPECT_TRUE(person->multiValue(kPersonPhoneProperty));
    ASSERT_TRUE(person->setValue(kPersonFormattedNameProperty, std::string("The Early Adopter")));
    ASSERT_TRUE(book->save());
    EXPECT_EQ(openBook(folder.path())->copyArrayOfAllPeople().front()->copyCompositeName(), "The Early Adopter");
}

TEST(AddressBookTest, FilesItCannotUseAreRefusedWithoutChangingThem)
{
    testsupport::TempDir folder;
    {
        auto book = openBook(folder.path());
        ASSERT_TRUE(book->addRecord(makePerson("Future")));
        ASSERT_TRUE(book->save());
    }
    execute(folder.path(), "PRAGMA user_version = 99;");
    Error error;
    EXPECT_FALSE(AddressBook::createAt(folder.path(), &error));
    EXPECT_EQ(error.code, ErrorCode::StorageFailed);
    EXPECT_NE(error.description.find("newer"), std::string::npos) << error.description;
    EXPECT_EQ(queryNumber(folder.path(), "PRAGMA user_version"), 99);
    EXPECT_EQ(queryNumber(folder.path(), "SELECT count(*) FROM person"), 1);

    testsupport::TempDir garbage;
    {
        std::ofstream file(garbage / AddressBook::kDatabaseFileName, std::ios::binary);
        file << std::string(4096, 'x');
    }
    error = {};
    EXPECT_FALSE(AddressBook::createAt(garbage.path(), &error));
    EXPECT_EQ(error.code, ErrorCode::Damaged);

    testsupport::TempDir blocked;
    std::filesystem::create_directory(blocked / AddressBook::kDatabaseFileName);
    EXPECT_FALSE(AddressBook::createAt(blocked.path(), &error));
}

TEST(AddressBookTest, ADamagedListCostsOnlyThatPersonsLists)
{
    testsupport::TempDir folder;
    RecordID damaged = kRecordInvalidID;
    {
        auto book = openBook(folder.path());
        auto person = makePerson("Damaged", "", { "123" });
        ASSERT_TRUE(book->addRecord(person) && book->addRecord(makePerson("Fine", "", { "456" })));
        ASSERT_TRUE(book->save());
        damaged = person->recordID();
    }
    execute(folder.path(), "UPDATE person SET multi_values = x'01FFFFFF' WHERE id = " + std::to_string(damaged));
    foundation::LogCapture log;
    auto book = openBook(folder.path());
    ASSERT_TRUE(book);
    EXPECT_EQ(book->personWithRecordID(damaged)->copyString(kPersonFirstNameProperty), "Damaged");
    EXPECT_FALSE(book->personWithRecordID(damaged)->copyValue(kPersonPhoneProperty));
    EXPECT_EQ(book->copyArrayOfAllPeople()[1]->multiValue(kPersonPhoneProperty)->count(), 1u);
    EXPECT_TRUE(log.containsPrefix("Error: "));
}

namespace {

void checkDamagedFilesOfABookWithNotesOf(std::size_t noteLength)
{
    testsupport::TempDir folder;
    {
        auto book = openBook(folder.path());
        for (int i = 0; i < 300; ++i) {
            auto person = makePerson("Person" + std::to_string(i), "Surname", { "0123456789" });
            if (noteLength)
                ASSERT_TRUE(person->setValue(kPersonNoteProperty, std::string(noteLength, 'n')));
            ASSERT_TRUE(book->addRecord(person));
        }
        ASSERT_TRUE(book->save());
    }
    execute(folder.path(), "PRAGMA wal_checkpoint(TRUNCATE);");
    const auto file = folder / AddressBook::kDatabaseFileName;
    std::string healthy;
    {
        std::ifstream in(file, std::ios::binary);
        healthy.assign(std::istreambuf_iterator<char>(in), {});
    }
    // The noise takes the place of the file's third page, whatever size its pages are.
    ASSERT_GT(healthy.size(), 100u);
    const std::size_t pageSize = (static_cast<unsigned char>(healthy[16]) << 8) | static_cast<unsigned char>(healthy[17]);
    ASSERT_GT(healthy.size(), noteLength ? 1u << 20 : 3 * pageSize);
    ASSERT_TRUE(AddressBook::createAt(folder.path()));
    std::string noise(pageSize, '\0');
    unsigned seed = 7;
    for (auto& byte : noise)
        byte = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);

    struct Case {
        const char* name;
        std::string bytes;
    };
    testsupport::TempDir foreignFolder;
    execute(foreignFolder.path(), "CREATE TABLE notes (body TEXT); INSERT INTO notes VALUES ('mine');");
    std::string foreign;
    {
        std::ifstream in(foreignFolder / AddressBook::kDatabaseFileName, std::ios::binary);
        foreign.assign(std::istreambuf_iterator<char>(in), {});
    }
    for (const Case& damaged : { Case { "noise inside", healthy.substr(0, 2 * pageSize) + noise + healthy.substr(3 * pageSize) },
                                 Case { "cut short", healthy.substr(0, healthy.size() / 2) },
                                 Case { "another program's", foreign } }) {
        SCOPED_TRACE(std::string(damaged.name) + (noteLength ? " (big)" : " (small)"));
        std::filesystem::remove(folder / (std::string(AddressBook::kDatabaseFileName) + "-wal"));
        std::filesystem::remove(folder / (std::string(AddressBook::kDatabaseFileName) + "-shm"));
        std::ofstream(file, std::ios::binary | std::ios::trunc) << damaged.bytes;
        Error error;
        EXPECT_FALSE(AddressBook::createAt(folder.path(), &error));
        EXPECT_EQ(error.code, ErrorCode::Damaged) << error.description;
        EXPECT_NE(error.description.find(file.string()), std::string::npos) << error.description;
        std::ifstream in(file, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), damaged.bytes);
    }
}


} // namespace

TEST(AddressBookTest, DamagedOrForeignFilesAreRefusedAndLeftExactlyAsTheyWere)
{
    // A small book is checked before it is read; a book past a megabyte beside its reading.
    for (std::size_t noteLength : { 0, 4000 })
        checkDamagedFilesOfABookWithNotesOf(noteLength);
}

TEST(AddressBookTest, ABigBookIsReadWholeInOrderWithItsGroupsAndSearchKeys)
{
    // A book of more than a megabyte is read in two halves side by side; with gaps left by
    // deleted persons, every person is still read once, in order, with its own values.
    testsupport::TempDir folder;
    std::map<RecordID, std::string> expected;
    std::set<RecordID> friends;
    {
        auto book = openBook(folder.path());
        auto group = Group::create();
        ASSERT_TRUE(group->setValue(kGroupNameProperty, std::string("Friends")) && book->addRecord(group));
        std::vector<PersonRef> made;
        for (int i = 0; i < 400; ++i) {
            auto person = makePerson("Person" + std::to_string(i), "Surname", { "0123 " + std::to_string(i) });
            ASSERT_TRUE(person->setValue(kPersonNoteProperty, std::string(4096, 'n')) && book->addRecord(person));
            if (i % 9 == 0)
                ASSERT_TRUE(group->addMember(person));
            made.push_back(person);
        }
        ASSERT_TRUE(book->save());
        for (int i = 0; i < 400; ++i) {
            if (i % 7 == 3)
                ASSERT_TRUE(book->removeRecord(made[static_cast<std::size_t>(i)]));
            else
                expected[made[static_cast<std::size_t>(i)]->recordID()] = "Person" + std::to_string(i);
            if (i % 9 == 0 && i % 7 != 3)
                friends.insert(made[static_cast<std::size_t>(i)]->recordID());
        }
        ASSERT_TRUE(book->save());
    }
    ASSERT_GT(std::filesystem::file_size(folder / AddressBook::kDatabaseFileName), 1u << 20);

    auto book = openBook(folder.path());
    std::map<RecordID, std::string> read;
    RecordID last = kRecordInvalidID;
    for (const auto& person : book->copyArrayOfAllPeople()) {
        EXPECT_LT(last, person->recordID());
        last = person->recordID();
        // Read where it lies first, then decoded: the same name both ways.
        const std::string lying(person->textValue(kPersonFirstNameProperty).value_or("?"));
        EXPECT_FALSE(person->textValue(kPersonMiddleNameProperty));
        const std::string name = person->copyString(kPersonFirstNameProperty).value_or("?");
        EXPECT_EQ(lying, name);
        read[person->recordID()] = name;
        std::string folded = name;
        std::transform(folded.begin(), folded.end(), folded.begin(), [](unsigned char c) { return std::tolower(c); });
        EXPECT_NE(person->searchKeys().find(folded), std::string_view::npos) << name;
        EXPECT_EQ(person->multiValue(kPersonPhoneProperty)->count(), 1u) << name;
    }
    EXPECT_EQ(read, expected);
    std::set<RecordID> members;
    for (const auto& member : book->copyArrayOfAllGroups().at(0)->copyArrayOfAllMembers())
        members.insert(member->recordID());
    EXPECT_EQ(members, friends);
}

TEST(AddressBookTest, APersonsIdentifierIsStoredWithItAndNeverChanges)
{
    testsupport::TempDir folder;
    RecordID madeHere = kRecordInvalidID;
    RecordID imported = kRecordInvalidID;
    std::string made;
    {
        auto book = openBook(folder.path());
        auto person = makePerson("Ann");
        auto other = makePerson("Bob");
        ASSERT_TRUE(other->setValue(kPersonUIDProperty, std::string("urn:uuid:0b5e5c6e-1111-4222-8333-444455556666")));
        ASSERT_TRUE(book->addRecord(person) && book->addRecord(other) && book->save());
        madeHere = person->recordID();
        imported = other->recordID();
        made = person->copyString(kPersonUIDProperty).value_or("");
        // Once stored, the identifier is what others know the person by.
        EXPECT_FALSE(person->setValue(kPersonUIDProperty, std::string("something else")));
    }
    EXPECT_EQ(made.rfind("urn:uuid:", 0), 0u) << made;
    EXPECT_EQ(made.size(), 45u) << made;
    // However the folder is spelt, and after every reopening, the same identifiers.
    auto spelt = folder.path() / "." / ".." / folder.path().filename();
    auto book = openBook(spelt);
    EXPECT_EQ(book->personWithRecordID(madeHere)->copyString(kPersonUIDProperty), made);
    EXPECT_EQ(book->personWithRecordID(imported)->copyString(kPersonUIDProperty), "urn:uuid:0b5e5c6e-1111-4222-8333-444455556666");
    std::set<std::string> exported;
    for (const auto& card : vcard::BookExporter::cards(*book))
        exported.insert(card.uid);
    EXPECT_TRUE(exported.count(made) && exported.count("urn:uuid:0b5e5c6e-1111-4222-8333-444455556666"));
}

TEST(AddressBookTest, PersonsOfAnOlderFileGetIdentifiersWhenItIsUpgraded)
{
    testsupport::TempDir folder;
    {
        auto book = openBook(folder.path());
        ASSERT_TRUE(book->addRecord(makePerson("Old")) && book->addRecord(makePerson("Older")) && book->save());
    }
    // The file as the previous version of the program left it.
    execute(folder.path(), "ALTER TABLE person DROP COLUMN search_keys; ALTER TABLE person DROP COLUMN uid; "
                           "ALTER TABLE person DROP COLUMN formatted_name; DROP TABLE kept_persons_data; PRAGMA user_version = 1;");
    auto book = openBook(folder.path());
    std::set<std::string> identifiers;
    for (const auto& person : book->copyArrayOfAllPeople())
        identifiers.insert(person->copyString(kPersonUIDProperty).value_or(""));
    EXPECT_EQ(identifiers.size(), 2u);
    for (const auto& uid : identifiers)
        EXPECT_EQ(uid.size(), 45u) << uid;
    EXPECT_EQ(queryNumber(folder.path(), "PRAGMA user_version"), AddressBookDatabase::kSchemaVersion);
}

// The folded names and numbers are kept in the file, folded from the row as stored, so a
// handle that loads them searches what the file holds, and a stale or missing fold is made
// again when the book is opened.
TEST(AddressBookTest, SearchKeysKeptInTheFileFollowTheStoredPerson)
{
    testsupport::TempDir folder;
    {
        auto book = openBook(folder.path());
        ASSERT_TRUE(book->addRecord(makePerson("Zoë", "Łukasz", { "(555) 123-45", "+1 555-0100" })) && book->save());
    }
    auto older = openBook(folder.path());
    {
        // Another handle renames the family while the older one changes the given name.
        auto other = openBook(folder.path());
        ASSERT_TRUE(other->copyArrayOfAllPeople().front()->setValue(kPersonLastNameProperty, std::string("ŌNO")) && other->save());
    }
    const PersonRef changed = older->copyArrayOfAllPeople().front();
    ASSERT_TRUE(changed->setValue(kPersonFirstNameProperty, std::string("Ärne")));
    ASSERT_TRUE(changed->setValue(kPersonNicknameProperty, std::string("ｱｲ")));
    // In memory the handle's own values are folded at once.
    EXPECT_EQ(PersonSearchKeys::fields(changed->searchKeys())[PersonSearchKeys::FirstName], "arne");
    ASSERT_TRUE(older->save());

    auto expectStoredKeys = [&](const std::string& when) {
        const AddressBookRef reopened = openBook(folder.path());
        auto fields = PersonSearchKeys::fields(reopened->copyArrayOfAllPeople().front()->searchKeys());
        const std::array<std::string_view, PersonSearchKeys::FieldCount> expected { "arne", "ono", "あい", "", "", "", "55512345 +15550100" };
        EXPECT_EQ(fields, expected) << when;
    };
    expectStoredKeys("after the save");
    EXPECT_EQ(queryNumber(folder.path(), "SELECT count(*) FROM person WHERE search_keys IS NULL"), 0);

    // Keys of another fold (or none) are made again at the next opening.
    execute(folder.path(), "UPDATE person SET search_keys = x'00'; UPDATE store_info SET value = 1 WHERE key = 'search_keys_revision';");
    expectStoredKeys("after a new fold");
    execute(folder.path(), "UPDATE person SET search_keys = NULL; DELETE FROM store_info WHERE key = 'search_keys_revision';");
    expectStoredKeys("after keys went missing");
}

TEST(AddressBookTest, DataKeptForThePersonsHoldsOnlyWhileNoPersonChanges)
{
    testsupport::TempDir folder;
    {
        auto book = openBook(folder.path());
        ASSERT_TRUE(book->addRecord(makePerson("Ann", "Lee")) && book->addRecord(makePerson("Bo", "Ng")) && book->save());
        ASSERT_TRUE(book->keepPersonsData("order", "kept once"));
    }
    auto expectKept = [&](const AddressBookRef& book, std::optional<std::string> expected, const std::string& when) {
        EXPECT_EQ(book->copyKeptPersonsData("order"), expected) << when;
        EXPECT_EQ(book->copyKeptPersonsData("other"), std::nullopt) << when;
    };
    auto book = openBook(folder.path());
    expectKept(book, "kept once", "in a later handle");

    // A group's change leaves the persons as they were.
    auto group = Group::create();
    ASSERT_TRUE(group->setValue(kGroupNameProperty, std::string("Team")) && book->addRecord(group));
    ASSERT_TRUE(group->addMember(book->copyArrayOfAllPeople().front()) && book->save());
    expectKept(book, "kept once", "after a group changed");

    // A change not saved yet: the handle's persons are not the file's.
    const PersonRef ann = book->copyArrayOfAllPeople().front();
    ASSERT_TRUE(ann->setValue(kPersonLastNameProperty, std::string("Zhu")));
    expectKept(book, std::nullopt, "with the change pending");
    Error error;
    EXPECT_FALSE(book->keepPersonsData("order", "while changed", &error));
    ASSERT_TRUE(book->save());
    expectKept(book, std::nullopt, "after the change was saved");
    expectKept(openBook(folder.path()), std::nullopt, "in a handle opened after the change");
    ASSERT_TRUE(book->keepPersonsData("order", "kept twice"));
    expectKept(openBook(folder.path()), "kept twice", "kept again");

    // Another handle's change: this one still holds the persons the data was made from, but
    // what it derives from them no longer says anything about the file.
    {
        auto other = openBook(folder.path());
        ASSERT_TRUE(other->removeRecord(other->copyArrayOfAllPeople().back()) && other->save());
    }
    expectKept(book, "kept twice", "in the handle that still holds the persons as they were");
    EXPECT_FALSE(book->keepPersonsData("order", "from old persons", &error));
    expectKept(openBook(folder.path()), std::nullopt, "in a handle opened after the removal");

    // Persons added straight to the file by an import count as a change too.
    ASSERT_TRUE(openBook(folder.path())->keepPersonsData("order", "before the import"));
    const auto imported = vcard::BookImporter::importIntoStore(folder.path(), { { "one.vcf", {}, "BEGIN:VCARD\r\n"
                                                                                                    "VERSION:3.0\r\n"
                                                                                                    "N:Kim;Jo;;;\r\n"
                                                                                                    "END:VCARD\r\n" } });
    ASSERT_EQ(imported.personsAdded, 1u);
    expectKept(openBook(folder.path()), std::nullopt, "after an import");
}
