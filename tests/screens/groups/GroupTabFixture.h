#pragma once
// The groups tab as the application shows it, for each test on a fresh profile: the
// database and the address book in a temporary folder, every text its own key, the device at
// its defaults (a 4-inch phone on system 7 unless a test says otherwise), the main run loop
// on a manual clock, the log captured. launch() starts the application through its delegate
// with the groups tab selected and an automation driver on its window, so tests touch the
// screens as a person would.
//
// The screens the group list opens that are built elsewhere (group editing, member editing,
// the chooser, bulk edit, group mail and message) are stand-ins that write down how they
// were opened, unless a test asks for the application's own.

#include "addressbook/Contact.h"
#include "app/CommonViewController.h"
#include "platform/automation/Driver.h"
#include "platform/contactstore/Constants.h"
#include "platform/contactstore/Forward.h"
#include "platform/foundation/Log.h"
#include "screens/groups/GroupScreens.h"
#include "store/GroupObject.h"

#include "support/ManualTime.h"
#include "support/TableChecker.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tessaro {
class GroupContactsViewController;
class GroupViewController;
class TessaroAppDelegate;
class TessaroViewController;
} // namespace tessaro

namespace ui {
class Window;
}

namespace groupstest {

// Stands in for a screen built elsewhere; counts the reloads its opener forwards.
class StandInScreen : public tessaro::CommonViewController {
public:
    void reloadViewData() override { ++reloads; }
    int reloads { 0 };
};

// One screen a stand-in maker made, and what it was made with.
struct OpenedScreen {
    std::string kind;
    std::optional<tessaro::GroupObject> group;
    contactstore::RecordID contactID { contactstore::kRecordInvalidID };
    bool isAutoRemove { false };
    // The opener, as the delegate it was handed as.
    const void* delegate { nullptr };
    std::weak_ptr<StandInScreen> screen;
};

class GroupTabFixture : public ::testing::Test {
protected:
    enum class OpenedScreens { StandIns, Application };

    GroupTabFixture();
    ~GroupTabFixture() override;

    void SetUp() override;
    void TearDown() override;

    // Starts the application with the groups tab selected.
    void launch(OpenedScreens screens = OpenedScreens::StandIns);
    // Ends the application, keeping the profile, so that a test can start it again on
    // another device.
    void quit();
    tessaro::TessaroViewController& root() const;
    ui::Window& window() const;
    tessaro::GroupViewController& groupList() const;
    // The group contacts screen on top of the groups stack, or null.
    tessaro::GroupContactsViewController* groupContacts() const;

    // One driver command; the test fails (naming the command) when it is refused.
    nlohmann::json act(const nlohmann::json& command);
    nlohmann::json tryAct(const nlohmann::json& command);
    // The group list's row of a group, by the group's identifier.
    int rowOfGroup(const std::string& groupID) const;
    // Opens the persons of the row's group as a touch does, and lets the push finish.
    tessaro::GroupContactsViewController& openGroupAtRow(int row);

    // The address book, through the application's shared handle, saved at once.
    struct PersonFields {
        std::string first {};
        std::string last {};
        std::vector<std::string> phones {};
        std::vector<std::string> mails {};
        std::string lastPhonetic {};
        std::string organization {};
        std::string jobTitle {};
        std::string department {};
    };
    tessaro::Contact addPerson(const PersonFields& fields, const contactstore::SourceRef& source = nullptr);
    tessaro::Contact addPerson(const std::string& first, const std::string& last = {});
    contactstore::SourceRef addSource(contactstore::SourceType type);
    contactstore::RecordID addAddressBookGroup(const std::string& name, const std::vector<tessaro::Contact>& members = {});
    // A local group in the application's database; its identifier comes back.
    std::string addLocalGroup(const std::string& name, const std::vector<tessaro::Contact>& members = {}, int colorIndex = -1);
    void setColorIndex(contactstore::RecordID addressBookGroup, int colorIndex);
    // A change made by another application: through a handle of its own, seen by the
    // application after it opens the address book afresh.
    void deletePersonOutside(contactstore::RecordID person);

    static std::string key(const char* name) { return name; }

    testsupport::TempDir folder;
    testsupport::ManualTime time;
    foundation::LogCapture log;
    std::vector<OpenedScreen> opened;
    std::unique_ptr<tessaro::Driver> driver;

private:
    tessaro::GroupScreens standInScreens();

    std::unique_ptr<tessaro::TessaroAppDelegate> m_delegate;
};

} // namespace groupstest
