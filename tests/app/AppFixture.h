#pragma once
// A fresh profile for each test of the application shell: the profile folder, the
// application's database and the address book all in a temporary folder, the shared object
// pointed at them, the device back at its defaults, the main run loop on a manual clock, and
// the log captured (and kept off standard error).

#include "addressbook/AddressBookGroup.h"
#include "platform/contactstore/Constants.h"
#include "platform/foundation/Log.h"
#include "store/GroupObject.h"

#include "support/ManualTime.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace apptest {

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The address book's file of this profile.
    std::filesystem::path addressBookFile() const;

    // Changes made "outside the application": through a handle of their own, saved, and
    // seen by the application only after it opens a new handle (reopenAddressBook).
    contactstore::RecordID addGroupOutside(const std::string& name);
    void deleteGroupOutside(contactstore::RecordID group);
    // Turns the profile's accounts into exactly these kinds, by rewriting the store's file
    // the way another device's sync would leave it. Reopens the address book.
    void setAccountKinds(const std::vector<contactstore::SourceType>& kinds);
    // What the application does on its return to the foreground.
    void reopenAddressBook();

    // A local group stored in the application's database; its identifier comes back.
    std::string addLocalGroup(const std::string& name);

    // The identifiers of the catalogue, in order.
    static std::vector<std::string> identifiers(const std::vector<tessaro::GroupObject>& groups);

    testsupport::TempDir folder;
    testsupport::ManualTime time;
    foundation::LogCapture log;
};

} // namespace apptest
