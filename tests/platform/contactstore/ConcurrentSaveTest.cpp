// Several handles (and programs) on one address book: a save writes what its handle changed,
// merged with what the others stored meanwhile, so nobody's changes are lost; groups found or
// made by name are made once.

#include "ContactStoreTestSupport.h"

#include "platform/contactstore/Group.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <set>
#include <sys/wait.h>
#include <unistd.h>

using namespace contactstore;
using namespace contactstoretest;

namespace {

std::set<std::string> memberNames(const AddressBookRef& book, RecordID group)
{
    std::set<std::string> names;
    for (const auto& member : book->groupWithRecordID(group)->copyArrayOfAllMembers())
        names.insert(member->copyString(kPersonFirstNameProperty).value_or("?"));
    return names;
}

std::vector<std::string> phones(const PersonRef& person)
{
    const MultiValue* list = person->multiValue(kPersonPhoneProperty);
    return list ? list->copyArrayOfAllStrings() : std::vector<std::string> {};
}

MultiValue list(const std::vector<std::string>& values)
{
    MultiValue multi(PropertyType::MultiString);
    for (const auto& value : values)
        (void)multi.addValueAndLabel(value, std::string(kPersonPhoneMobileLabel));
    return multi;
}

class ConcurrentSaveTest : public ::testing::Test {
protected:
    testsupport::TempDir folder;
};

} // namespace

TEST_F(ConcurrentSaveTest, MembershipChangesOfTwoHandlesAreBothKept)
{
    RecordID groupID = kRecordInvalidID;
    std::vector<RecordID> people;
    {
        auto book = openBook(folder.path());
        auto group = Group::create();
        ASSERT_TRUE(group->setValue(kGroupNameProperty, std::string("Club")) && book->addRecord(group));
        for (int i = 0; i < 52; ++i)
            ASSERT_TRUE(book->addRecord(makePerson("P" + std::to_string(i))));
        ASSERT_TRUE(group->addMember(book->copyArrayOfAllPeople()[0]));
        ASSERT_TRUE(book->save());
        groupID = group->recordID();
        for (const auto& person : book->copyArrayOfAllPeople())
            people.push_back(person->recordID());
    }

    // The running application holds its handle while an import adds fifty members.
    auto application = openBook(folder.path());
    {
        auto import = openBook(folder.path());
        auto group = import->groupWithRecordID(groupID);
        for (int i = 2; i < 52; ++i)
            ASSERT_TRUE(group->addMember(import->personWithRecordID(people[static_cast<std::size_t>(i)])));
        ASSERT_TRUE(import->save());
    }
    // Then the user ticks one person and unticks the first member in the application.
    auto group = application->groupWithRecordID(groupID);
    ASSERT_TRUE(group->addMember(application->personWithRecordID(people[1])));
    ASSERT_TRUE(group->removeMember(application->personWithRecordID(people[0])));
    ASSERT_TRUE(application->save());

    auto after = openBook(folder.path());
    auto members = memberNames(after, groupID);
    EXPECT_EQ(members.size(), 51u);
    EXPECT_TRUE(members.count("P1"));
    EXPECT_FALSE(members.count("P0"));
    EXPECT_EQ(after->groupWithRecordID(groupID)->copyString(kGroupNameProperty), "Club");
    // The one who joined last comes last.
    EXPECT_EQ(after->groupWithRecordID(groupID)->copyArrayOfAllMembers().back()->recordID(), people[1]);

    // A person another program deleted meanwhile joins nothing, and the save goes through.
    {
        auto other = openBook(folder.path());
        ASSERT_TRUE(other->removeRecord(other->personWithRecordID(people[0])));
        ASSERT_TRUE(other->save());
    }
    ASSERT_TRUE(after->groupWithRecordID(groupID)->addMember(after->personWithRecordID(people[0])));
    Error error;
    EXPECT_TRUE(after->save(&error)) << error.description;
    EXPECT_EQ(memberNames(openBook(folder.path()), groupID), members);
}

TEST_F(ConcurrentSaveTest, PropertiesChangedByDifferentHandlesAreBothKept)
{
    RecordID personID = kRecordInvalidID;
    {
        auto book = openBook(folder.path());
        auto person = makePerson("Ann", "Lee", { "111" });
        ASSERT_TRUE(book->addRecord(person) && book->save());
        personID = person->recordID();
    }
    auto first = openBook(folder.path());
    auto second = openBook(folder.path());
    auto third = openBook(folder.path());

    ASSERT_TRUE(first->personWithRecordID(personID)->setValue(kPersonPhoneProperty, list({ "222" })));
    ASSERT_TRUE(first->save());
    ASSERT_TRUE(second->personWithRecordID(personID)->setValue(kPersonFirstNameProperty, std::string("Anne")));
    ASSERT_TRUE(second->personWithRecordID(personID)->setValue(kPersonEmailProperty, list({ "a@b.c" })));
    ASSERT_TRUE(second->save());
    ASSERT_TRUE(third->personWithRecordID(personID)->removeValue(kPersonLastNameProperty));
    ASSERT_TRUE(third->save());

    auto person = openBook(folder.path())->personWithRecordID(personID);
    EXPECT_EQ(person->copyString(kPersonFirstNameProperty), "Anne");
    EXPECT_FALSE(person->copyString(kPersonLastNameProperty));
    EXPECT_EQ(phones(person), std::vector<std::string> { "222" });
    ASSERT_TRUE(person->multiValue(kPersonEmailProperty));
    EXPECT_EQ(person->multiValue(kPersonEmailProperty)->count(), 1u);
}

TEST_F(ConcurrentSaveTest, GroupsFoundByNameAreMadeOnceByConcurrentPrograms)
{
    { openBook(folder.path()); }
    // Two programs import the same twenty categories at once, each into its own handle.
    auto importInChild = [&](const std::string& who) {
        pid_t child = fork();
        if (child == 0) {
            auto book = AddressBook::createAt(folder.path());
            if (!book)
                _exit(2);
            auto person = makePerson(who);
            bool ok = book->addRecord(person);
            for (int i = 0; i < 20 && ok; ++i) {
                auto group = Group::create();
                group->setJoinsStoredGroupOfSameName(true);
                ok = group->setValue(kGroupNameProperty, "Group " + std::to_string(i)) && book->addRecord(group)
                    && group->addMember(person);
            }
            _exit(ok && book->save() ? 0 : 1);
        }
        return child;
    };
    pid_t first = importInChild("First");
    pid_t second = importInChild("Second");
    for (pid_t child : { first, second }) {
        int status = -1;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }

    auto book = openBook(folder.path());
    auto groups = book->copyArrayOfAllGroups();
    ASSERT_EQ(groups.size(), 20u);
    for (const auto& group : groups)
        EXPECT_EQ(memberNames(book, group->recordID()), (std::set<std::string> { "First", "Second" }));

    // A group made without asking for its namesake is a group of its own, as before.
    auto group = Group::create();
    ASSERT_TRUE(group->setValue(kGroupNameProperty, std::string("Group 0")) && book->addRecord(group) && book->save());
    EXPECT_EQ(openBook(folder.path())->groupCount(), 21u);
}
