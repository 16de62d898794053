#pragma once
// A fresh profile for each test of the group editing screens: the application's database
// and the address book in a temporary folder, the shared object pointed at them, the device
// at its defaults, the main run loop on a manual clock, the log captured, and a key window
// whose root screen opens the screen under test modally, as the groups tab does. The
// automation driver works on that window, so tests touch the screens as a person would.

#include "addressbook/Contact.h"
#include "app/CommonViewController.h"
#include "platform/automation/Driver.h"
#include "platform/contactstore/Constants.h"
#include "platform/contactstore/Forward.h"
#include "platform/foundation/Log.h"
#include "store/GroupObject.h"

#include "support/ManualTime.h"
#include "support/TableChecker.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace ui {
class NavigationController;
class Window;
}

namespace groupstest {

class GroupEditingFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // One driver command; the test fails (naming the command) when it is refused.
    nlohmann::json act(const nlohmann::json& command);
    // The same, for commands expected to be refused; returns the answer.
    nlohmann::json tryAct(const nlohmann::json& command);
    // The texts of the alert or action sheet on top, or empty when none shows.
    std::string shownAlertMessage() const;

    // Opens the screen over the tab's root, in a navigation controller, as the group list
    // does, and lets the transition finish.
    void present(std::shared_ptr<ui::ViewController> screen);
    // Lets the topmost modal screen go, as its opener does on Done.
    void dismissTop();
    ui::NavigationController& host() const { return *m_host; }

    // The address book of this profile, through the application's shared handle.
    tessaro::Contact addPerson(const std::string& first, const std::string& last = {},
                               const contactstore::SourceRef& source = nullptr);
    contactstore::SourceRef addSource(contactstore::SourceType type);
    contactstore::RecordID addAddressBookGroup(const std::string& name);
    // A local group stored in the application's database; its identifier comes back.
    std::string addLocalGroup(const std::string& name);

    // Turns the store's accounts (one, on a new store) into this kind, and reopens it.
    void setOnlySourceType(contactstore::SourceType type);

    // The first text a row shows (its name), for each row of a section.
    static std::string firstText(const testsupport::TableContents::Row& row);
    static std::vector<std::string> firstTexts(const testsupport::TableContents& contents, int section = 0);

    // What a new start of the program would read: the database file reopened and a new
    // address-book handle on the same files.
    void restart();

    // The real groups of the catalogue, in order, by display name.
    static std::vector<std::string> catalogueNames();
    static std::vector<tessaro::GroupObject> realGroups();
    // Record identifiers of a group's members as stored.
    static std::set<contactstore::RecordID> addressBookMembers(contactstore::RecordID group);
    static std::set<contactstore::RecordID> localMembers(const std::string& group);

    testsupport::TempDir folder;
    testsupport::ManualTime time;
    foundation::LogCapture log;
    std::shared_ptr<ui::Window> window;
    std::unique_ptr<tessaro::Driver> driver;

private:
    std::shared_ptr<ui::NavigationController> m_host;
};

} // namespace groupstest
