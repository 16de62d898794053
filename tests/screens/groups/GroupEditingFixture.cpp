#include "GroupEditingFixture.h"

#include "addressbook/AddressBookGroup.h"
#include "addressbook/SharedAddressBook.h"
#include "app/GroupKinds.h"
#include "app/Utility.h"
#include "platform/contactstore/AccessControl.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Group.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/Source.h"
#include "platform/foundation/DataLocations.h"
#include "platform/foundation/Device.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/ButtonPanel.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/Screen.h"
#include "platform/ui/Window.h"
#include "store/DataManager.h"

#include <sqlite3.h>

namespace groupstest {

using namespace contactstore;
using tessaro::DataManager;
using tessaro::Utility;

void GroupEditingFixture::SetUp()
{
    foundation::setLogToStandardError(false);
    foundation::Device::current().reset();
    // Every text is its own key, so tests speak of keys rather than of English.
    foundation::Device::current().setLanguage("keys");
    AccessControl::setAccessRefused(false);
    foundation::DataLocations::setProfileDirectory(folder.path());
    DataManager::setSharedDatabaseFile(folder / "Documents" / "Vantel.db");
    Utility::sharedUtility().resetObject();

    window = std::make_shared<ui::Window>(ui::Screen::mainScreen().bounds());
    m_host = std::make_shared<ui::NavigationController>(std::make_shared<tessaro::CommonViewController>());
    window->setRootViewController(m_host);
    window->makeKeyAndVisible();
    driver = std::make_unique<tessaro::Driver>(*window);
    time.advance(0);
    log.clear();
}

void GroupEditingFixture::TearDown()
{
    driver.reset();
    ui::ButtonPanel::discardAll();
    window.reset();
    m_host.reset();
    ui::Application::shared().reset();
    Utility::sharedUtility().setAddressBook(nullptr);
    foundation::Device::current().reset();
    foundation::setLogToStandardError(true);
}

nlohmann::json GroupEditingFixture::act(const nlohmann::json& command)
{
    auto answer = driver->execute(command);
    EXPECT_TRUE(answer.value("ok", false)) << command.dump() << " -> " << answer.dump();
    return answer;
}

nlohmann::json GroupEditingFixture::tryAct(const nlohmann::json& command)
{
    return driver->execute(command);
}

std::string GroupEditingFixture::shownAlertMessage() const
{
    auto* alert = dynamic_cast<ui::AlertView*>(ui::ButtonPanel::topmostVisible());
    return alert ? alert->message() : std::string();
}

void GroupEditingFixture::present(std::shared_ptr<ui::ViewController> screen)
{
    auto navigation = std::make_shared<ui::NavigationController>(std::move(screen));
    m_host->presentViewController(navigation, true);
    time.advance(1);
}

void GroupEditingFixture::dismissTop()
{
    m_host->dismissViewControllerAnimated(true);
    time.advance(1);
}

tessaro::Contact GroupEditingFixture::addPerson(const std::string& first, const std::string& last, const SourceRef& source)
{
    auto book = tessaro::SharedAddressBook::get();
    PersonRef person = source ? Person::createInSource(source) : Person::create();
    if (!first.empty())
        EXPECT_TRUE(person->setValue(kPersonFirstNameProperty, first));
    if (!last.empty())
        EXPECT_TRUE(person->setValue(kPersonLastNameProperty, last));
    Error error;
    EXPECT_TRUE(book->addRecord(person, &error) && book->save(&error)) << error.description;
    return *tessaro::Contact::contactWithRecord(person);
}

SourceRef GroupEditingFixture::addSource(SourceType type)
{
    auto book = tessaro::SharedAddressBook::get();
    auto source = Source::create(type);
    Error error;
    EXPECT_TRUE(book->addRecord(source, &error) && book->save(&error)) << error.description;
    return source;
}

RecordID GroupEditingFixture::addAddressBookGroup(const std::string& name)
{
    auto group = tessaro::AddressBookGroup::group();
    EXPECT_TRUE(group);
    group->setName(name);
    Error error;
    auto book = tessaro::SharedAddressBook::get();
    EXPECT_TRUE(book->addRecord(group->record(), &error) && book->save(&error)) << error.description;
    return group->recordID();
}

std::string GroupEditingFixture::addLocalGroup(const std::string& name)
{
    auto& database = DataManager::sharedDataBase();
    tessaro::GroupObject group;
    group.groupType = tessaro::GroupKinds::kLocalGroupType;
    group.localGroupName = name;
    EXPECT_TRUE(database.insertLocalGroup(group));
    auto stored = database.selectLocalGroup();
    return stored.empty() ? std::string() : stored.back().groupID;
}

void GroupEditingFixture::restart()
{
    DataManager::setSharedDatabaseFile(folder / "Documents" / "Vantel.db");
    Utility::sharedUtility().resetObject();
}

void GroupEditingFixture::setOnlySourceType(SourceType type)
{
    // Rewrites the one account of a new store the way another device's sync would leave it.
    Utility::sharedUtility().setAddressBook(nullptr);
    sqlite3* raw = nullptr;
    auto file = foundation::DataLocations::addressBookDirectory() / AddressBook::kDatabaseFileName;
    ASSERT_EQ(sqlite3_open(file.c_str(), &raw), SQLITE_OK);
    std::string sql = "UPDATE source SET type = " + std::to_string(type) + ";";
    EXPECT_EQ(sqlite3_exec(raw, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(raw);
    Utility::sharedUtility().resetObject();
}

std::string GroupEditingFixture::firstText(const testsupport::TableContents::Row& row)
{
    for (const auto& text : row.allTexts) {
        // A picture shows its file name; the row's name is the first text after it.
        bool picture = text.size() > 4 && text.compare(text.size() - 4, 4, ".png") == 0;
        if (!text.empty() && !picture)
            return text;
    }
    return {};
}

std::vector<std::string> GroupEditingFixture::firstTexts(const testsupport::TableContents& contents, int section)
{
    std::vector<std::string> texts;
    if (section < static_cast<int>(contents.sections.size())) {
        for (const auto& row : contents.sections[static_cast<std::size_t>(section)].rows)
            texts.push_back(firstText(row));
    }
    return texts;
}

std::vector<tessaro::GroupObject> GroupEditingFixture::realGroups()
{
    auto catalogue = Utility::sharedUtility().getAllGroupObject();
    catalogue.erase(catalogue.begin(), catalogue.begin() + std::min<std::size_t>(2, catalogue.size()));
    return catalogue;
}

std::vector<std::string> GroupEditingFixture::catalogueNames()
{
    std::vector<std::string> names;
    for (const auto& group : realGroups())
        names.push_back(Utility::sharedUtility().getGroupName(group));
    return names;
}

std::set<RecordID> GroupEditingFixture::addressBookMembers(RecordID group)
{
    std::set<RecordID> members;
    if (auto found = tessaro::AddressBookGroup::groupWithRecordID(group)) {
        for (const auto& contact : found->members())
            members.insert(contact.recordID());
    }
    return members;
}

std::set<RecordID> GroupEditingFixture::localMembers(const std::string& group)
{
    auto ids = DataManager::sharedDataBase().selectLocalGroupMemberIDsWithID(tessaro::GroupKinds::intValue(group));
    return { ids.begin(), ids.end() };
}

} // namespace groupstest
