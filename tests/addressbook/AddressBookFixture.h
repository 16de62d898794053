#pragma once
// A fresh address book in a temporary folder, installed as the shared handle for the
// duration of a test.

#include "addressbook/Contact.h"
#include "addressbook/SharedAddressBook.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Source.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace addressbooktest {

class AddressBookFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new handle on the same folder, installed as the shared one (what the application
    // does when it returns to the foreground).
    void reopen();

    // A saved person with the given names; empty texts are left out.
    tessaro::Contact addContact(const std::string& first, const std::string& last = {},
                                std::initializer_list<std::string> phones = {}, std::initializer_list<std::string> mails = {});
    contactstore::SourceRef addSource(contactstore::SourceType type);

    static std::vector<std::string> firstNames(const std::vector<tessaro::Contact>& contacts);

    testsupport::TempDir folder;
    contactstore::AddressBookRef book;
};

} // namespace addressbooktest
