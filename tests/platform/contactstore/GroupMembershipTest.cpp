// Groups: who may join, the order members keep, and what happens to memberships when
// persons go.

#include "ContactStoreTestSupport.h"

#include "platform/contactstore/Group.h"
#include "platform/contactstore/NameFormat.h"
#include "platform/contactstore/Source.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace contactstore;
using namespace contactstoretest;

namespace {

std::vector<std::string> firstNamesOf(const std::vector<PersonRef>& people)
{
    std::vector<std::string> names;
    for (const auto& person : people)
        names.push_back(person->copyString(kPersonFirstNameProperty).value_or("-"));
    return names;
}

class GroupMembershipTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        book = openBook(folder.path());
        ASSERT_TRUE(book);
        group = Group::create();
        ASSERT_TRUE(group->setValue(kGroupNameProperty, std::string("Team")));
        ASSERT_TRUE(book->addRecord(group));
    }

    PersonRef addPerson(const std::string& first, const std::string& last = {})
    {
        auto person = makePerson(first, last);
        EXPECT_TRUE(book->addRecord(person));
        return person;
    }

    testsupport::TempDir folder;
    AddressBookRef book;
    GroupRef group;
};

} // namespace

TEST_F(GroupMembershipTest, MembersKeepTheOrderTheyJoinedInAcrossSaves)
{
    auto carol = addPerson("Carol");
    auto alice = addPerson("Alice");
    auto bob = addPerson("Bob");
    ASSERT_TRUE(group->addMember(carol) && group->addMember(alice) && group->addMember(bob));
    EXPECT_TRUE(group->addMember(alice)) << "joining twice changes nothing";
    EXPECT_EQ(firstNamesOf(group->copyArrayOfAllMembers()), (std::vector<std::string> { "Carol", "Alice", "Bob" }));
    ASSERT_TRUE(book->save());

    auto reread = openBook(folder.path())->groupWithRecordID(group->recordID());
    ASSERT_TRUE(reread);
    EXPECT_EQ(firstNamesOf(reread->copyArrayOfAllMembers()), (std::vector<std::string> { "Carol", "Alice", "Bob" }));

    ASSERT_TRUE(group->removeMember(alice));
    Error error;
    EXPECT_FALSE(group->removeMember(alice, &error));
    EXPECT_EQ(error.code, ErrorCode::NotAMember);
    ASSERT_TRUE(book->save());
    EXPECT_EQ(firstNamesOf(openBook(folder.path())->groupWithRecordID(group->recordID())->copyArrayOfAllMembers()),
              (std::vector<std::string> { "Carol", "Bob" }));
}

TEST_F(GroupMembershipTest, MembersSortByFirstOrLastNameWithPhoneticReadings)
{
    auto zoe = addPerson("Zoë", "Adams");
    auto anna = addPerson("Anna", "Young");
    auto eric = addPerson("Éric", "Martin");
    auto company = Person::create();
    ASSERT_TRUE(company->setValue(kPersonOrganizationProperty, std::string("Bakery")));
    ASSERT_TRUE(book->addRecord(company));
    // Kanji sort by their reading: 渡辺 (watanabe) after Martin, before Young.
    auto watanabe = addPerson("健", "渡辺");
    ASSERT_TRUE(watanabe->setValue(kPersonLastNamePhoneticProperty, std::string("Watanabe")));
    ASSERT_TRUE(watanabe->setValue(kPersonFirstNamePhoneticProperty, std::string("Ken")));
    for (const auto& person : { zoe, anna, eric, company, watanabe })
        ASSERT_TRUE(group->addMember(person));

    EXPECT_EQ(firstNamesOf(group->copyArrayOfAllMembersWithSortOrdering(SortOrdering::ByFirstName)),
              (std::vector<std::string> { "Anna", "-", "Éric", "健", "Zoë" }));
    EXPECT_EQ(firstNamesOf(group->copyArrayOfAllMembersWithSortOrdering(SortOrdering::ByLastName)),
              (std::vector<std::string> { "Zoë", "-", "Éric", "健", "Anna" }));

    // The keys kept from those sorts follow a new name, and an order asked for again.
    ASSERT_TRUE(anna->setValue(kPersonFirstNameProperty, std::string("Zara")));
    EXPECT_EQ(firstNamesOf(group->copyArrayOfAllMembersWithSortOrdering(SortOrdering::ByFirstName)),
              (std::vector<std::string> { "-", "Éric", "健", "Zara", "Zoë" }));
    EXPECT_EQ(firstNamesOf(group->copyArrayOfAllMembersWithSortOrdering(SortOrdering::ByLastName)),
              (std::vector<std::string> { "Zoë", "-", "Éric", "健", "Zara" }));
}

TEST_F(GroupMembershipTest, OnlyPersonsOfTheSameAccountInTheSameBookMayJoin)
{
    auto exchange = Source::create(kSourceTypeExchange, "Exchange");
    ASSERT_TRUE(book->addRecord(exchange));
    auto colleague = Person::createInSource(exchange);
    ASSERT_TRUE(book->addRecord(colleague));
    Error error;
    EXPECT_FALSE(group->addMember(colleague, &error));
    EXPECT_EQ(error.code, ErrorCode::DifferentSource);

    error = {};
    EXPECT_FALSE(group->addMember(makePerson("Outsider"), &error)) << "a person not in the book cannot join";
    EXPECT_EQ(error.code, ErrorCode::NotInAddressBook);

    auto exchangeGroup = Group::createInSource(exchange);
    ASSERT_TRUE(book->addRecord(exchangeGroup));
    EXPECT_TRUE(exchangeGroup->addMember(colleague));
    ASSERT_TRUE(book->save());
    auto reread = openBook(folder.path());
    auto sources = reread->copyArrayOfAllSources();
    ASSERT_EQ(sources.size(), 2u);
    EXPECT_EQ(reread->copyArrayOfAllGroupsInSource(sources[1]).size(), 1u);
    EXPECT_EQ(reread->copyArrayOfAllGroupsInSource(sources[0]).size(), 1u);
    EXPECT_EQ(reread->groupWithRecordID(exchangeGroup->recordID())->copyArrayOfAllMembers().size(), 1u);
}

TEST_F(GroupMembershipTest, APersonOfAnEarlierHandleJoinsThroughItsIdentifier)
{
    auto dana = addPerson("Dana");
    ASSERT_TRUE(book->save());
    auto later = openBook(folder.path());
    auto laterGroup = later->groupWithRecordID(group->recordID());
    ASSERT_TRUE(laterGroup->addMember(dana)) << "dana is a record of the first handle";
    ASSERT_EQ(laterGroup->memberCount(), 1u);
    EXPECT_EQ(laterGroup->copyArrayOfAllMembers().front(), later->personWithRecordID(dana->recordID()));
    EXPECT_TRUE(laterGroup->hasMember(*dana));
}

TEST_F(GroupMembershipTest, RemovedPersonsLeaveTheirGroups)
{
    auto erin = addPerson("Erin");
    auto finn = addPerson("Finn");
    ASSERT_TRUE(group->addMember(erin) && group->addMember(finn));
    ASSERT_TRUE(book->save());

    ASSERT_TRUE(book->removeRecord(erin));
    EXPECT_EQ(firstNamesOf(group->copyArrayOfAllMembers()), (std::vector<std::string> { "Finn" }));
    ASSERT_TRUE(book->save());
    EXPECT_EQ(queryNumber(folder.path(), "SELECT count(*) FROM group_member"), 1);

    // Another handle deletes Finn while this one, unaware, rewrites the group.
    auto other = openBook(folder.path());
    ASSERT_TRUE(other->removeRecord(other->personWithRecordID(finn->recordID())));
    ASSERT_TRUE(other->save());
    ASSERT_TRUE(group->setValue(kGroupNameProperty, std::string("Renamed")));
    Error error;
    EXPECT_TRUE(book->save(&error)) << error.description;
    auto reread = openBook(folder.path())->groupWithRecordID(group->recordID());
    EXPECT_EQ(reread->copyCompositeName(), "Renamed");
    EXPECT_EQ(reread->memberCount(), 0u);
}

TEST_F(GroupMembershipTest, ManyRecordsTakenOutAtOnceLeaveEveryGroupAsOneByOneWould)
{
    auto erin = addPerson("Erin");
    auto finn = addPerson("Finn");
    auto gail = addPerson("Gail");
    auto other = Group::create();
    ASSERT_TRUE(other->setValue(kGroupNameProperty, std::string("Other")) && book->addRecord(other));
    ASSERT_TRUE(group->addMember(erin) && group->addMember(finn) && group->addMember(gail) && other->addMember(finn));
    ASSERT_TRUE(book->save());

    // A saved person, a person and a group added since, and a person of another handle.
    auto hugo = addPerson("Hugo");
    auto added = Group::create();
    ASSERT_TRUE(added->setValue(kGroupNameProperty, std::string("Added")) && book->addRecord(added));
    ASSERT_TRUE(group->addMember(hugo) && added->addMember(hugo));
    auto finnElsewhere = openBook(folder.path())->personWithRecordID(finn->recordID());
    ASSERT_TRUE(book->removeRecords({ erin, hugo, added, finnElsewhere }));
    EXPECT_EQ(firstNamesOf(group->copyArrayOfAllMembers()), (std::vector<std::string> { "Gail" }));
    EXPECT_EQ(other->memberCount(), 0u);
    EXPECT_EQ(firstNamesOf(book->copyArrayOfAllPeople()), (std::vector<std::string> { "Gail" }));
    EXPECT_EQ(book->copyArrayOfAllGroups().size(), 2u);
    ASSERT_TRUE(book->save());
    EXPECT_EQ(queryNumber(folder.path(), "SELECT count(*) FROM group_member"), 1);
    EXPECT_EQ(queryNumber(folder.path(), "SELECT count(*) FROM person"), 1);

    // A record the book does not hold stops the removal with the reason.
    Error error;
    EXPECT_FALSE(book->removeRecords({ erin }, &error));
    EXPECT_EQ(error.code, ErrorCode::NotInAddressBook);
}

TEST_F(GroupMembershipTest, ANewPersonAndItsMembershipAreSavedTogether)
{
    auto newcomer = addPerson("Gus");
    ASSERT_TRUE(group->addMember(newcomer));
    ASSERT_TRUE(book->save());
    auto reread = openBook(folder.path());
    auto members = reread->groupWithRecordID(group->recordID())->copyArrayOfAllMembers();
    ASSERT_EQ(members.size(), 1u);
    EXPECT_EQ(members.front()->recordID(), newcomer->recordID());
}

TEST_F(GroupMembershipTest, RemovedGroupsAreGoneAfterSaving)
{
    auto hal = addPerson("Hal");
    ASSERT_TRUE(group->addMember(hal));
    ASSERT_TRUE(book->save());
    ASSERT_TRUE(book->removeRecord(group));
    EXPECT_EQ(book->groupCount(), 0u);
    ASSERT_TRUE(book->save());
    auto reread = openBook(folder.path());
    EXPECT_EQ(reread->groupCount(), 0u);
    EXPECT_EQ(reread->personCount(), 1u);
    EXPECT_EQ(queryNumber(folder.path(), "SELECT count(*) FROM group_member"), 0);
}
