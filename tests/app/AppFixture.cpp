#include "AppFixture.h"

#include "app/Utility.h"
#include "platform/contactstore/AccessControl.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Group.h"
#include "platform/foundation/DataLocations.h"
#include "platform/foundation/Device.h"
#include "platform/foundation/SqliteStatement.h"
#include "platform/services/MessageComposeViewController.h"
#include "platform/ui/Application.h"
#include "platform/ui/ButtonPanel.h"
#include "store/DataManager.h"

#include <sqlite3.h>

namespace apptest {

using namespace contactstore;

void AppFixture::SetUp()
{
    foundation::setLogToStandardError(false);
    foundation::Device::current().reset();
    AccessControl::setAccessRefused(false);
    services::MessageComposeViewController::setCanSendText(false);
    foundation::DataLocations::setProfileDirectory(folder.path());
    tessaro::DataManager::setSharedDatabaseFile(folder / "Documents" / "Vantel.db");
    tessaro::Utility::sharedUtility().resetObject();
    log.clear();
}

void AppFixture::TearDown()
{
    ui::ButtonPanel::discardAll();
    ui::Application::shared().reset();
    tessaro::Utility::sharedUtility().setAddressBook(nullptr);
    AccessControl::setAccessRefused(false);
    services::MessageComposeViewController::setCanSendText(false);
    foundation::Device::current().reset();
    foundation::setLogToStandardError(true);
}

std::filesystem::path AppFixture::addressBookFile() const
{
    return foundation::DataLocations::addressBookDirectory() / AddressBook::kDatabaseFileName;
}

RecordID AppFixture::addGroupOutside(const std::string& name)
{
    Error error;
    auto other = AddressBook::create(&error);
    EXPECT_TRUE(other) << error.description;
    auto group = Group::create();
    EXPECT_TRUE(group->setValue(kGroupNameProperty, name));
    EXPECT_TRUE(other->addRecord(group, &error) && other->save(&error)) << error.description;
    return group->recordID();
}

void AppFixture::deleteGroupOutside(RecordID groupID)
{
    Error error;
    auto other = AddressBook::create(&error);
    ASSERT_TRUE(other) << error.description;
    auto group = other->groupWithRecordID(groupID);
    ASSERT_TRUE(group);
    ASSERT_TRUE(other->removeRecord(group, &error) && other->save(&error)) << error.description;
}

void AppFixture::setAccountKinds(const std::vector<SourceType>& kinds)
{
    // Let go of every handle first, so the file is not held open while it is rewritten.
    tessaro::Utility::sharedUtility().setAddressBook(nullptr);
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(addressBookFile().c_str(), &raw), SQLITE_OK);
    std::string message;
    std::string sql = "DELETE FROM source WHERE id > 1;";
    for (std::size_t i = 0; i < kinds.size(); ++i) {
        if (i == 0)
            sql += "UPDATE source SET type = " + std::to_string(kinds[0]) + " WHERE id = 1;";
        else
            sql += "INSERT INTO source (id, type, name) VALUES (" + std::to_string(i + 1) + ", " + std::to_string(kinds[i]) + ", NULL);";
    }
    EXPECT_TRUE(foundation::sqliteExec(raw, sql, &message)) << message;
    sqlite3_close(raw);
    reopenAddressBook();
}

void AppFixture::reopenAddressBook()
{
    tessaro::Utility::sharedUtility().resetObject();
}

std::string AppFixture::addLocalGroup(const std::string& name)
{
    auto& database = tessaro::DataManager::sharedDataBase();
    tessaro::GroupObject group;
    group.groupType = 1;
    group.localGroupName = name;
    EXPECT_TRUE(database.insertLocalGroup(group));
    auto stored = database.selectLocalGroup();
    EXPECT_FALSE(stored.empty());
    return stored.empty() ? std::string() : stored.back().groupID;
}

std::vector<std::string> AppFixture::identifiers(const std::vector<tessaro::GroupObject>& groups)
{
    std::vector<std::string> result;
    for (const auto& group : groups)
        result.push_back(group.groupID);
    return result;
}

} // namespace apptest
