// Address-book groups through the wrapper: where new groups are made, names, members and
// deletion.

#include "AddressBookFixture.h"

#include "addressbook/AddressBookGroup.h"
#include "addressbook/AddressBookQueries.h"
#include "platform/contactstore/Group.h"
#include "platform/contactstore/Person.h"
#include "platform/foundation/Log.h"

using namespace contactstore;
using tessaro::AddressBookGroup;
using tessaro::AddressBookQueries;
using tessaro::Contact;
using addressbooktest::AddressBookFixture;

namespace {

class AddressBookGroupTest : public AddressBookFixture {
protected:
    AddressBookGroup addGroup(const std::string& name)
    {
        auto group = AddressBookGroup::group();
        EXPECT_TRUE(group);
        group->setName(name);
        Error error;
        EXPECT_TRUE(AddressBookQueries::addGroup(*group, &error)) << error.description;
        return *group;
    }

};
} // namespace

TEST(AddressBookGroupSourceTest, NewGroupsGoToTheFirstAccountThatCanHoldThem)
{
    struct Case {
        std::vector<SourceType> accounts; // in the book's order
        std::optional<SourceType> expected;
    };
    const std::vector<Case> cases {
        { { kSourceTypeLocal }, kSourceTypeLocal },
        { { kSourceTypeExchange, kSourceTypeLocal }, kSourceTypeLocal },
        { { kSourceTypeLocal, kSourceTypeExchange }, kSourceTypeLocal },
        { { kSourceTypeExchange }, std::nullopt },
        { { kSourceTypeExchange, kSourceTypeCardDAVSearch }, std::nullopt },
        { { kSourceTypeExchange, kSourceTypeExchangeGAL, kSourceTypeLDAP }, kSourceTypeLDAP },
        { { kSourceTypeCardDAV, kSourceTypeLocal }, kSourceTypeCardDAV },
        { { kSourceTypeCardDAVSearch, kSourceTypeMobileMe }, kSourceTypeMobileMe },
    };
    for (const auto& test : cases) {
        testsupport::TempDir folder;
        auto book = AddressBook::createAt(folder.path());
        ASSERT_TRUE(book);
        // Every new store starts with one account; it becomes the first of the case.
        ASSERT_TRUE(book->copyDefaultSource()->setValue(kSourceTypeProperty, std::int64_t { test.accounts.front() }));
        for (std::size_t index = 1; index < test.accounts.size(); ++index)
            ASSERT_TRUE(book->addRecord(Source::create(test.accounts[index])));
        ASSERT_TRUE(book->save());
        tessaro::SharedAddressBook::set(AddressBook::createAt(folder.path()));

        auto group = AddressBookGroup::group();
        ASSERT_EQ(group.has_value(), test.expected.has_value()) << "case starting " << test.accounts.front();
        if (group) {
            EXPECT_EQ(group->record()->copySource()->sourceType(), *test.expected);
            group->setName(std::string("New"));
            Error error;
            EXPECT_TRUE(AddressBookQueries::addGroup(*group, &error)) << error.description;
            EXPECT_NE(group->recordID(), kRecordInvalidID);
        }
        tessaro::SharedAddressBook::set(nullptr);
    }
}

TEST_F(AddressBookGroupTest, NamesAreWrittenAndRefusalsLogged)
{
    AddressBookGroup family = addGroup("Family");
    EXPECT_EQ(family.name(), "Family");
    EXPECT_FALSE(family.isPerson());
    EXPECT_EQ(family.getRecordString(kGroupNameProperty), "Family");
    EXPECT_FALSE(family.getRecordString(kPersonFirstNameProperty));

    family.setName(std::string("Relatives"));
    reopen();
    EXPECT_EQ(AddressBookGroup::groupWithRecordID(family.recordID())->name(), "Family") << "renaming is not saved by itself";
    auto current = AddressBookGroup::groupWithRecordID(family.recordID());
    current->setName(std::string("Relatives"));
    ASSERT_TRUE(book->save());
    reopen();
    EXPECT_EQ(AddressBookGroup::groupWithRecordID(family.recordID())->name(), "Relatives");
    EXPECT_FALSE(AddressBookGroup::groupWithRecordID(family.recordID() + 100));
    EXPECT_FALSE(AddressBookGroup::groupWithRecord(nullptr));

    family.setName(std::nullopt);
    EXPECT_EQ(family.name(), "");
}

TEST_F(AddressBookGroupTest, MembersJoinLeaveAndSortThroughTheWrapper)
{
    AddressBookGroup team = addGroup("Team");
    Contact zed = addContact("Zed", "Alpha");
    Contact amy = addContact("Amy", "Zulu");
    ASSERT_TRUE(team.addMember(zed));
    ASSERT_TRUE(team.addMember(amy));
    EXPECT_EQ(firstNames(team.members()), (std::vector<std::string> { "Zed", "Amy" }));
    EXPECT_EQ(firstNames(team.membersWithSorting(0)), (std::vector<std::string> { "Amy", "Zed" }));
    EXPECT_EQ(firstNames(team.membersWithSorting(1)), (std::vector<std::string> { "Zed", "Amy" }));
    ASSERT_TRUE(book->save());

    reopen();
    auto reread = AddressBookGroup::groupWithRecordID(team.recordID());
    ASSERT_TRUE(reread);
    ASSERT_TRUE(reread->removeMember(zed)) << "zed is a contact of the earlier handle";
    Error error;
    EXPECT_FALSE(reread->removeMember(zed, &error));
    EXPECT_EQ(error.code, ErrorCode::NotAMember);
    ASSERT_TRUE(book->save());
    reopen();
    EXPECT_EQ(firstNames(AddressBookGroup::groupWithRecordID(team.recordID())->members()), (std::vector<std::string> { "Amy" }));
}

TEST_F(AddressBookGroupTest, AGroupHeldAcrossAHandleReplacementStillSavesThroughTheSharedHandle)
{
    AddressBookGroup held = addGroup("Held");
    Contact member = addContact("Member");
    reopen(); // the application came back to the foreground; the screen kept its group

    ASSERT_TRUE(held.addMember(member));
    held.setName(std::string("Still held"));
    EXPECT_EQ(firstNames(held.members()), (std::vector<std::string> { "Member" }));
    ASSERT_TRUE(book->save());
    reopen();
    auto reread = AddressBookGroup::groupWithRecordID(held.recordID());
    EXPECT_EQ(reread->name(), "Still held");
    EXPECT_EQ(firstNames(reread->members()), (std::vector<std::string> { "Member" }));
}

TEST_F(AddressBookGroupTest, ExchangePersonsCannotJoinLocalGroups)
{
    AddressBookGroup team = addGroup("Team");
    auto exchange = addSource(kSourceTypeExchange);
    Contact colleague = *Contact::contactWithRecord(Person::createInSource(exchange));
    ASSERT_TRUE(AddressBookQueries::addContact(colleague));
    Error error;
    EXPECT_FALSE(team.addMember(colleague, &error));
    EXPECT_EQ(error.code, ErrorCode::DifferentSource);
    EXPECT_TRUE(team.members().empty());
}

TEST_F(AddressBookGroupTest, DeletingAGroupSavesAndKeepsItsMembers)
{
    AddressBookGroup doomed = addGroup("Doomed");
    AddressBookGroup kept = addGroup("Kept");
    Contact member = addContact("Member");
    ASSERT_TRUE(doomed.addMember(member));
    ASSERT_TRUE(book->save());

    ASSERT_TRUE(doomed.removeSelfFromAddressBook());
    reopen();
    EXPECT_EQ(AddressBookQueries::numberOfGroups(), 1u);
    EXPECT_EQ(AddressBookQueries::groups().front().name(), "Kept");
    EXPECT_EQ(AddressBookQueries::contactsCount(), 1u);
    Error error;
    EXPECT_FALSE(doomed.removeSelfFromAddressBook(&error));
    EXPECT_EQ(error.code, ErrorCode::NotInAddressBook);
    (void)kept;
}

TEST_F(AddressBookGroupTest, GroupNameSearchIgnoresCaseAndAccents)
{
    addGroup("Café Friends");
    addGroup("Work");
    addGroup("カフェ仲間");
    std::vector<std::string> names;
    for (const auto& group : AddressBookQueries::groupsMatchingName("CAFE"))
        names.push_back(group.name());
    EXPECT_EQ(names, (std::vector<std::string> { "Café Friends" }));
    EXPECT_EQ(AddressBookQueries::groupsMatchingName("かふぇ").size(), 1u);
    EXPECT_TRUE(AddressBookQueries::groupsMatchingName("").empty());
}
