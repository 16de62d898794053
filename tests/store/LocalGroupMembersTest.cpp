// A local group's member rows turned back into persons of the address book.

#include "StoreTestSupport.h"

#include "addressbook/SharedAddressBook.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Person.h"
#include "store/DataManager.h"

using namespace contactstore;
using tessaro::Contact;
using tessaro::DataManager;

namespace {

class LocalGroupMembersTest : public storetest::StoreTest {
protected:
    void SetUp() override
    {
        book = AddressBook::createAt(m_dir / "AddressBook");
        ASSERT_TRUE(book);
        tessaro::SharedAddressBook::set(book);
    }
    void TearDown() override { tessaro::SharedAddressBook::set(nullptr); }

    RecordID addPerson(const std::string& name)
    {
        auto person = Person::create();
        EXPECT_TRUE(person->setValue(kPersonFirstNameProperty, name));
        EXPECT_TRUE(book->addRecord(person) && book->save());
        return person->recordID();
    }

    static std::vector<std::string> names(const std::vector<Contact>& contacts)
    {
        std::vector<std::string> result;
        for (const auto& contact : contacts)
            result.push_back(contact.firstname().value_or("?"));
        return result;
    }

    AddressBookRef book;
};

} // namespace

TEST_F(LocalGroupMembersTest, MembersComeBackAsPersonsInStoredOrderWithoutTheDeleted)
{
    DataManager database(file());
    std::vector<RecordID> ids;
    for (const char* name : { "Ann", "Ben", "Cid" })
        ids.push_back(addPerson(name));
    for (RecordID id : ids)
        ASSERT_TRUE(database.insertLocalGroupMember(1, std::to_string(id)));
    ASSERT_TRUE(database.insertLocalGroupMember(1, "999999"));   // nobody has this identifier
    ASSERT_TRUE(database.insertLocalGroupMember(2, std::to_string(ids[0])));

    auto expectedOrder = database.selectLocalGroupMemberIDsWithID(1);
    std::vector<std::string> expected;
    for (RecordID id : expectedOrder) {
        if (id == ids[0]) expected.push_back("Ann");
        if (id == ids[1]) expected.push_back("Ben");
        if (id == ids[2]) expected.push_back("Cid");
    }
    EXPECT_EQ(names(database.selectLocalGroupMemberWithID(1)), expected);

    ASSERT_TRUE(book->removeRecord(book->personWithRecordID(ids[1])) && book->save());
    std::erase(expected, "Ben");
    EXPECT_EQ(names(database.selectLocalGroupMemberWithID(1)), expected);
    EXPECT_EQ(names(database.selectLocalGroupMemberWithID(2)), std::vector<std::string> { "Ann" });
    EXPECT_TRUE(database.selectLocalGroupMemberWithID(3).empty());

    tessaro::SharedAddressBook::set(nullptr);
    EXPECT_TRUE(database.selectLocalGroupMemberWithID(1).empty()) << "without an address book there are no persons";
}
