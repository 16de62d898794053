#include "GroupTabFixture.h"

#include "addressbook/AddressBookGroup.h"
#include "addressbook/SharedAddressBook.h"
#include "app/GroupKinds.h"
#include "app/TessaroAppDelegate.h"
#include "app/TessaroViewController.h"
#include "app/Utility.h"
#include "main/Composition.h"
#include "platform/contactstore/AccessControl.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Group.h"
#include "platform/contactstore/MultiValue.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/Source.h"
#include "platform/foundation/DataLocations.h"
#include "platform/foundation/Device.h"
#include "platform/services/MessageComposeViewController.h"
#include "platform/ui/Application.h"
#include "platform/ui/ButtonPanel.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TabBarController.h"
#include "platform/ui/Window.h"
#include "screens/groups/GroupContactsViewController.h"
#include "screens/groups/GroupViewController.h"
#include "store/DataManager.h"

namespace groupstest {

using namespace contactstore;
using tessaro::DataManager;
using tessaro::Utility;

GroupTabFixture::GroupTabFixture() = default;
GroupTabFixture::~GroupTabFixture() = default;

void GroupTabFixture::SetUp()
{
    foundation::setLogToStandardError(false);
    foundation::Device::current().reset();
    // Every text is its own key, so tests speak of keys rather than of English.
    foundation::Device::current().setLanguage("keys");
    AccessControl::setAccessRefused(false);
    services::MessageComposeViewController::setCanSendText(false);
    foundation::DataLocations::setProfileDirectory(folder.path());
    DataManager::setSharedDatabaseFile(folder / "Documents" / "Vantel.db");
    Utility::sharedUtility().resetObject();
    log.clear();
}

void GroupTabFixture::quit()
{
    driver.reset();
    ui::ButtonPanel::discardAll();
    m_delegate.reset();
    ui::Application::shared().reset();
    opened.clear();
    time.advance(1);
}

void GroupTabFixture::TearDown()
{
    quit();
    Utility::sharedUtility().setAddressBook(nullptr);
    AccessControl::setAccessRefused(false);
    foundation::Device::current().reset();
    foundation::setLogToStandardError(true);
}

tessaro::GroupScreens GroupTabFixture::standInScreens()
{
    auto record = [this](std::string kind, std::optional<tessaro::GroupObject> group, const void* delegate,
                         RecordID contactID = kRecordInvalidID, bool isAutoRemove = false) -> tessaro::GroupScreens::Screen {
        auto screen = std::make_shared<StandInScreen>();
        screen->setTitle(kind);
        opened.push_back({ std::move(kind), std::move(group), contactID, isAutoRemove, delegate, screen });
        return screen;
    };
    tessaro::GroupScreens screens;
    screens.makeGroupEditViewController = [record](tessaro::GroupEditViewControllerDelegate& delegate) {
        return record("groupEdit", std::nullopt, &delegate);
    };
    screens.makeGroupMemberEditViewController = [record](tessaro::GroupMemberEditViewControllerDelegate& delegate,
                                                         const tessaro::GroupObject& group) {
        return record("memberEdit", group, &delegate);
    };
    screens.makeGroupSelectViewController = [record](tessaro::GroupSelectViewControllerDelegate& delegate, RecordID contactID,
                                                     const std::optional<tessaro::GroupObject>& group, bool isAutoRemove,
                                                     const std::optional<std::vector<tessaro::Contact>>&) {
        return record("groupSelect", group, &delegate, contactID, isAutoRemove);
    };
    screens.makeEditSelectedContactViewController = [record](tessaro::EditSelectedContactViewControllerDelegate& delegate,
                                                             const tessaro::GroupObject& group) {
        return record("bulkEdit", group, &delegate);
    };
    screens.makeGroupSendMailViewController = [record](const tessaro::GroupObject& group,
                                                       const std::optional<std::vector<tessaro::Contact>>&) {
        return record("groupMail", group, nullptr);
    };
    screens.makeGroupSendSMSViewController = [record](const tessaro::GroupObject& group,
                                                      const std::optional<std::vector<tessaro::Contact>>&) {
        return record("groupSMS", group, nullptr);
    };
    return screens;
}

void GroupTabFixture::launch(OpenedScreens screens)
{
    auto rootScreens = tessaro::composition::rootScreens();
    if (screens == OpenedScreens::StandIns)
        rootScreens.makeGroupViewController = [this] { return tessaro::GroupViewController::create(standInScreens()); };
    m_delegate = std::make_unique<tessaro::TessaroAppDelegate>(rootScreens);
    ASSERT_TRUE(m_delegate->didFinishLaunchingWithOptions());
    root().tabController()->setSelectedIndex(tessaro::TessaroViewController::kGroupsTab);
    time.advance(1);
    driver = std::make_unique<tessaro::Driver>(window());
    log.clear();
}

tessaro::TessaroViewController& GroupTabFixture::root() const
{
    return *m_delegate->viewController();
}

ui::Window& GroupTabFixture::window() const
{
    return *m_delegate->window();
}

tessaro::GroupViewController& GroupTabFixture::groupList() const
{
    auto* list = dynamic_cast<tessaro::GroupViewController*>(root().groupNavController()->viewControllers().front().get());
    EXPECT_NE(list, nullptr);
    return *list;
}

tessaro::GroupContactsViewController* GroupTabFixture::groupContacts() const
{
    return dynamic_cast<tessaro::GroupContactsViewController*>(root().groupNavController()->topViewController());
}

nlohmann::json GroupTabFixture::act(const nlohmann::json& command)
{
    auto answer = driver->execute(command);
    EXPECT_TRUE(answer.value("ok", false)) << command.dump() << " -> " << answer.dump();
    return answer;
}

nlohmann::json GroupTabFixture::tryAct(const nlohmann::json& command)
{
    return driver->execute(command);
}

int GroupTabFixture::rowOfGroup(const std::string& groupID) const
{
    const auto& groups = groupList().arrGroups();
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (groups[i].groupID == groupID)
            return static_cast<int>(i);
    }
    ADD_FAILURE() << "no group " << groupID;
    return 0;
}

tessaro::GroupContactsViewController& GroupTabFixture::openGroupAtRow(int row)
{
    act({ { "cmd", "tapRow" }, { "section", 0 }, { "row", row } });
    time.advance(1);
    auto* screen = groupContacts();
    EXPECT_NE(screen, nullptr) << "no group contacts after touching row " << row;
    return *screen;
}

tessaro::Contact GroupTabFixture::addPerson(const PersonFields& fields, const SourceRef& source)
{
    auto book = tessaro::SharedAddressBook::get();
    PersonRef person = source ? Person::createInSource(source) : Person::create();
    auto set = [&person](PropertyID property, const std::string& text) {
        if (!text.empty()) {
            EXPECT_TRUE(person->setValue(property, text));
        }
    };
    set(kPersonFirstNameProperty, fields.first);
    set(kPersonLastNameProperty, fields.last);
    set(kPersonLastNamePhoneticProperty, fields.lastPhonetic);
    set(kPersonOrganizationProperty, fields.organization);
    set(kPersonJobTitleProperty, fields.jobTitle);
    set(kPersonDepartmentProperty, fields.department);
    auto setMulti = [&person](PropertyID property, const std::vector<std::string>& values) {
        if (values.empty())
            return;
        MultiValue multi(PropertyType::MultiString);
        for (const auto& value : values)
            EXPECT_TRUE(multi.addValueAndLabel(value, std::string(kHomeLabel)));
        EXPECT_TRUE(person->setValue(property, multi));
    };
    setMulti(kPersonPhoneProperty, fields.phones);
    setMulti(kPersonEmailProperty, fields.mails);
    Error error;
    EXPECT_TRUE(book->addRecord(person, &error) && book->save(&error)) << error.description;
    return *tessaro::Contact::contactWithRecord(person);
}

tessaro::Contact GroupTabFixture::addPerson(const std::string& first, const std::string& last)
{
    return addPerson(PersonFields { first, last, {}, {}, {}, {}, {}, {} });
}

SourceRef GroupTabFixture::addSource(SourceType type)
{
    auto book = tessaro::SharedAddressBook::get();
    auto source = Source::create(type);
    Error error;
    EXPECT_TRUE(book->addRecord(source, &error) && book->save(&error)) << error.description;
    return source;
}

RecordID GroupTabFixture::addAddressBookGroup(const std::string& name, const std::vector<tessaro::Contact>& members)
{
    auto group = tessaro::AddressBookGroup::group();
    EXPECT_TRUE(group);
    group->setName(name);
    auto book = tessaro::SharedAddressBook::get();
    Error error;
    EXPECT_TRUE(book->addRecord(group->record(), &error)) << error.description;
    for (const auto& member : members)
        EXPECT_TRUE(group->addMember(member, &error)) << error.description;
    EXPECT_TRUE(book->save(&error)) << error.description;
    return group->recordID();
}

std::string GroupTabFixture::addLocalGroup(const std::string& name, const std::vector<tessaro::Contact>& members, int colorIndex)
{
    auto& database = DataManager::sharedDataBase();
    tessaro::GroupObject group;
    group.groupType = tessaro::GroupKinds::kLocalGroupType;
    group.localGroupName = name;
    group.colorIndex = colorIndex;
    EXPECT_TRUE(database.insertLocalGroup(group));
    auto stored = database.selectLocalGroup();
    std::string identifier = stored.empty() ? std::string() : stored.back().groupID;
    for (const auto& member : members)
        EXPECT_TRUE(database.insertLocalGroupMember(tessaro::GroupKinds::intValue(identifier), std::to_string(member.recordID())));
    return identifier;
}

void GroupTabFixture::setColorIndex(RecordID addressBookGroup, int colorIndex)
{
    // The catalogue gives the group its row first.
    for (auto group : Utility::sharedUtility().getAllGroupObject()) {
        if (group.groupID == std::to_string(addressBookGroup)) {
            group.colorIndex = colorIndex;
            EXPECT_TRUE(DataManager::sharedDataBase().updateGroup(group));
            return;
        }
    }
    ADD_FAILURE() << "no catalogue entry for group " << addressBookGroup;
}

void GroupTabFixture::deletePersonOutside(RecordID personID)
{
    Error error;
    auto other = AddressBook::create(&error);
    ASSERT_TRUE(other) << error.description;
    auto person = other->personWithRecordID(personID);
    ASSERT_TRUE(person);
    ASSERT_TRUE(other->removeRecord(person, &error) && other->save(&error)) << error.description;
}

} // namespace groupstest
