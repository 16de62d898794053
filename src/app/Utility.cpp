#include "app/Utility.h"

#include "addressbook/AddressBookGroup.h"
#include "addressbook/AddressBookQueries.h"
#include "addressbook/PhoneNumber.h"
#include "addressbook/SharedAddressBook.h"
#include "app/GroupKinds.h"
#include "app/GroupPalette.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Source.h"
#include "platform/contactstore/StoreError.h"
#include "platform/foundation/Device.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/foundation/Log.h"
#include "platform/ui/Screen.h"
#include "platform/ui/ViewController.h"
#include "store/DataManager.h"

#include <algorithm>
#include <array>
#include <set>

namespace tessaro {

namespace {

std::string sourceTypeName(contactstore::SourceType type)
{
    switch (type) {
    case contactstore::kSourceTypeLocal:
        return "kABSourceTypeLocal";
    case contactstore::kSourceTypeExchange:
        return "kABSourceTypeExchange";
    case contactstore::kSourceTypeMobileMe:
        return "kABSourceTypeMobileMe";
    case contactstore::kSourceTypeCardDAV:
        return "kABSourceTypeCardDAV";
    case contactstore::kSourceTypeLDAP:
        return "kABSourceTypeLDAP";
    case contactstore::kSourceTypeCardDAVSearch:
        return "kABSourceTypeCardDAVSearch";
    default:
        return {};
    }
}

// A stored address-book group row for a group that has none yet; the database gives it the
// next place in the shared order, and it starts without a colour.
GroupObject newStoredRow(const AddressBookGroup& group)
{
    GroupObject row;
    row.groupID = std::to_string(group.recordID());
    return row;
}

} // namespace

Utility& Utility::sharedUtility()
{
    // A function-local static is made exactly once even when two threads ask first.
    static Utility instance;
    return instance;
}

Utility::Utility()
{
    SharedAddressBook::set(openAddressBook());
}

namespace {
std::string g_addressBookError;
}

contactstore::AddressBookRef Utility::openAddressBook()
{
    contactstore::Error error;
    auto book = contactstore::AddressBook::create(&error);
    g_addressBookError = book ? std::string() : error.description;
    if (!book)
        foundation::log("Error: " + error.description);
    return book;
}

std::string Utility::openAddressBookError()
{
    return g_addressBookError;
}

contactstore::AddressBookRef Utility::addressBook() const
{
    return SharedAddressBook::get();
}

void Utility::setAddressBook(contactstore::AddressBookRef addressBook)
{
    SharedAddressBook::set(std::move(addressBook));
}

void Utility::resetObject()
{
    if (SharedAddressBook::get()) {
        foundation::log("_addressBook release");
        SharedAddressBook::set(nullptr);
    }
    SharedAddressBook::set(openAddressBook());
}

std::string Utility::getGroupName(const GroupObject& group) const
{
    if (group.groupType == GroupKinds::kLocalGroupType)
        return group.localGroupName;
    int number = GroupKinds::intValue(group.groupID);
    if (number == -2)
        return foundation::localized("GroupNogroupPeople");
    if (number == -1)
        return foundation::localized("GroupAllContacts");
    if (group.groupID == GroupKinds::kNoNumberGroupID)
        return foundation::localized("NoNumberGroupTitle");
    if (group.groupID == GroupKinds::kNoEmailGroupID)
        return foundation::localized("NoEmailGroupTitle");
    if (!canReadAddressBook())
        return foundation::localized("GroupNoAccessTitle");
    if (auto found = AddressBookGroup::groupWithRecordID(number))
        return found->name();
    return {};
}

bool Utility::canReadAddressBook() const
{
    auto book = addressBook();
    return book && book->isAccessGranted();
}

bool Utility::canChangeGroup(const GroupObject& group) const
{
    if (GroupKinds::isPseudoGroup(group))
        return false;
    return GroupKinds::isLocalGroup(group) || canReadAddressBook();
}

void Utility::alignStoredGroupsWithAddressBook()
{
    auto& database = DataManager::sharedDataBase();
    // The rows of every new and vanished group change together: half an alignment would
    // number groups twice or lose their places.
    (void)database.performUserAction([&] { alignStoredGroupRows(database); });
}

void Utility::alignStoredGroupRows(DataManager& database)
{

    if (database.selectSystemGroup().empty()) {
        for (const auto& group : AddressBookQueries::groups())
            database.insertGroup(newStoredRow(group));
    }

    auto groups = AddressBookQueries::groups();
    auto rows = database.selectSystemGroup();
    std::set<int> groupIDs;
    for (const auto& group : groups)
        groupIDs.insert(group.recordID());
    std::set<int> rowIDs;
    for (const auto& row : rows) {
        int number = GroupKinds::intValue(row.groupID);
        rowIDs.insert(number);
        if (row.groupID == GroupKinds::kAllContactsGroupID || row.groupID == GroupKinds::kNoGroupGroupID)
            continue;
        if (!groupIDs.contains(number))
            database.deleteGroup(row);
    }
    for (const auto& group : groups) {
        if (!rowIDs.contains(group.recordID()))
            database.insertGroup(newStoredRow(group));
    }
}

std::vector<GroupObject> Utility::getAllGroupObject()
{
    auto& database = DataManager::sharedDataBase();

    // The pseudo-groups are made afresh below; a stored copy (older files have them) would
    // show twice.
    // Only a file that holds such a copy is written to, so that showing the list never
    // waits for another instance's lock nor fails on a read-only file.
    bool storedPseudoGroups = false;
    for (const auto& row : database.selectSystemGroup())
        storedPseudoGroups = storedPseudoGroups || row.groupID == GroupKinds::kAllContactsGroupID
            || row.groupID == GroupKinds::kNoGroupGroupID;
    if (storedPseudoGroups) {
        (void)database.performUserAction([&] {
            database.deleteGroup(GroupKinds::pseudoGroup(GroupKinds::kAllContactsGroupID));
            database.deleteGroup(GroupKinds::pseudoGroup(GroupKinds::kNoGroupGroupID));
        });
    }

    // A book that cannot be read yields no groups; taking that at its word would delete
    // every stored row with its colour and place, and the groups would come back plain once
    // access is granted.
    if (canReadAddressBook())
        alignStoredGroupsWithAddressBook();

    std::vector<GroupObject> catalogue = database.selectSystemGroup();
    catalogue.insert(catalogue.begin(), GroupKinds::pseudoGroup(GroupKinds::kNoGroupGroupID));
    catalogue.insert(catalogue.begin(), GroupKinds::pseudoGroup(GroupKinds::kAllContactsGroupID));

    for (auto& localGroup : database.selectLocalGroup()) {
        auto after = std::find_if(catalogue.begin(), catalogue.end(),
                                  [&](const GroupObject& entry) { return entry.sortIndex > localGroup.sortIndex; });
        catalogue.insert(after, std::move(localGroup));
    }
    return catalogue;
}

static_assert(kGroupPalette.size() == Utility::kPaletteSize);

std::optional<ui::Color> Utility::getGroupColorwithIndex(int index)
{
    if (index < 0 || index >= kPaletteSize)
        return std::nullopt;
    const auto& entry = kGroupPalette[static_cast<std::size_t>(index)];
    return ui::Color::rgb(entry.red, entry.green, entry.blue);
}

std::string Utility::getMMDDHHMM(std::optional<std::chrono::system_clock::time_point> date)
{
    if (!date)
        return {};
    const auto& device = foundation::Device::current();
    std::string pattern = foundation::localized("DateFormatterMMDDHHMM");
    std::string key = pattern + '\n' + device.localeIdentifier() + '\n' + device.timeZone();
    if (!_dateFormatter || key != _dateFormatterKey) {
        _dateFormatter = std::make_unique<foundation::DateFormatter>(pattern, device.localeIdentifier(), device.timeZone());
        _dateFormatterKey = std::move(key);
    }
    auto since1970 = std::chrono::duration<double>(date->time_since_epoch()).count();
    return _dateFormatter->format(since1970);
}

std::string Utility::cleanPhoneNumber(std::string_view number)
{
    return PhoneNumber::clean(number);
}

int Utility::getAddressBookSourceType() const
{
    bool exchange = false;
    bool other = false;
    auto book = addressBook();
    if (book) {
        for (const auto& source : book->copyArrayOfAllSources()) {
            auto type = source->sourceType();
            foundation::log("...sourceType : " + std::to_string(type));
            if (auto name = sourceTypeName(type); !name.empty())
                foundation::log(name);
            if (type == contactstore::kSourceTypeExchange)
                exchange = true;
            else if (type == contactstore::kSourceTypeLocal || type == contactstore::kSourceTypeMobileMe
                     || type == contactstore::kSourceTypeCardDAV || type == contactstore::kSourceTypeLDAP)
                other = true;
        }
    }
    if (exchange && other)
        return 2;
    return exchange ? 0 : 1;
}

bool Utility::isiTouch()
{
    return foundation::Device::current().model().find("touch") != std::string::npos;
}

bool Utility::isiPhone5()
{
    return ui::Screen::mainScreen().currentModePixelSize() == ui::Size { 640, 1136 };
}

bool Utility::isIOS7()
{
    return ui::ViewController::supportsStatusBarAppearanceUpdate();
}

int Utility::iPhone4to5SubSize()
{
    return isiPhone5() ? 88 : 0;
}

double Utility::getStatusBarHeight()
{
    return isIOS7() ? 20.0 : 0.0;
}

} // namespace tessaro
