#include "screens/groups/GroupMemberEditViewController.h"

#include "addressbook/AddressBookGroup.h"
#include "addressbook/AddressBookQueries.h"
#include "addressbook/SharedAddressBook.h"
#include "app/GroupKinds.h"
#include "app/Utility.h"
#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Group.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/RunLoop.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/LocalizedIndexedCollation.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Toolbar.h"
#include "store/DataManager.h"

#include <algorithm>

namespace tessaro {

namespace {

const std::string kCellIdentifier = "GroupMemberCell";
constexpr double kListHeight = 376;

std::string withoutBlanks(std::string text)
{
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}

void sortByCollation(std::vector<Contact>& contacts, const ui::LocalizedIndexedCollation& collation)
{
    auto makeKey = [&collation](std::string_view name) { return collation.sortKey(name); };
    const std::string& locale = collation.localeIdentifier();
    ui::LocalizedIndexedCollation::sortByKeys(contacts, [&](const Contact& contact) -> const std::string& {
        return contact.sortKey(locale, makeKey);
    });
}

void showMessage(const std::string& message)
{
    std::make_shared<ui::AlertView>(std::string(), message, nullptr, "OK")->show();
}

// The person's picture fitted into 38 x 38 without distortion, centred in the 48-point
// square at the left of the row.
std::shared_ptr<ui::ImageView> photoView(const Contact& contact, double x)
{
    std::shared_ptr<const ui::Image> image;
    if (auto bytes = contact.image())
        image = ui::Image::fromData("photo", std::vector<std::uint8_t>(bytes->begin(), bytes->end()));
    if (!image)
        image = ui::Image::named("head.png");
    double width = 38;
    double height = 38;
    if (image) {
        ui::Size size = image->size();
        if (size.width > 0 && size.height > 0) {
            if (size.width > size.height)
                height = 38 * size.height / size.width;
            else
                width = 38 * size.width / size.height;
        }
    }
    auto view = std::make_shared<ui::ImageView>(ui::Rect { x + (48 - width) / 2, (48 - height) / 2, width, height });
    view->setImage(image);
    return view;
}

} // namespace

GroupMemberEditViewController::GroupMemberEditViewController(GroupMemberEditViewControllerDelegate* delegate, GroupObject groupObj)
    : _delegate(delegate)
    , _groupObj(std::move(groupObj))
{
    initData();
}

GroupMemberEditViewController::~GroupMemberEditViewController()
{
    if (_searchDC) {
        _searchDC->setDelegate(nullptr);
        _searchDC->setSearchResultsDataSource(nullptr);
        _searchDC->setSearchResultsDelegate(nullptr);
    }
    if (_searchBar)
        _searchBar->setDelegate(nullptr);
    if (_myTableView) {
        _myTableView->setDataSource(nullptr);
        _myTableView->setDelegate(nullptr);
    }
}

void GroupMemberEditViewController::loadView()
{
    auto content = std::make_shared<ui::View>(ui::Rect { 0, 0, 320, 460.0 + Utility::iPhone4to5SubSize() });
    content->setBackgroundColor(ui::Color::whiteColor());
    setView(content);
}

void GroupMemberEditViewController::viewDidLoad()
{
    auto content = view();
    double extra = Utility::iPhone4to5SubSize();
    _myTableView = std::make_shared<ui::TableView>(ui::Rect { 0, 0, 320, kListHeight + extra }, ui::TableViewStyle::Plain);
    _myTableView->setBackgroundColor(ui::Color::whiteColor());
    _myTableView->setAccessibilityIdentifier("memberEdit.list");
    _myTableView->setDataSource(this);
    _myTableView->setDelegate(this);

    _searchBar = std::make_shared<ui::SearchBar>(ui::Rect { 0, 0, 320, ui::SearchBar::height });
    _searchBar->setAutocorrectionType(ui::TextAutocorrectionType::No);
    _searchBar->setAutocapitalizationType(ui::TextAutocapitalizationType::None);
    _searchBar->setKeyboardType(ui::KeyboardType::Default);
    _searchBar->setPlaceholder(foundation::localized("SearchBarPlaceHolderTitle"));
    _searchBar->setAccessibilityIdentifier("memberEdit.search");
    _searchBar->textField().setAccessibilityIdentifier("memberEdit.search.field");
    _searchBar->setDelegate(this);
    _myTableView->setTableHeaderView(_searchBar);

    _searchDC = std::make_unique<ui::SearchDisplayController>(_searchBar, *this);
    _searchDC->setDelegate(this);
    _searchDC->setSearchResultsDataSource(this);
    _searchDC->setSearchResultsDelegate(this);
    _searchDC->searchResultsTableView()->setAccessibilityIdentifier("memberEdit.results");
    content->addSubview(_myTableView);

    addBarButton();
    buildFilterBar();
}

void GroupMemberEditViewController::buildFilterBar()
{
    double extra = Utility::iPhone4to5SubSize();
    m_filterBar = std::make_shared<ui::Toolbar>(ui::Rect { 0, kListHeight + extra, 320, 40 });
    _segmentedControl = std::make_shared<ui::SegmentedControl>(std::vector<std::string> {
        "All", foundation::localized("HaveGroupMemberTitle"), foundation::localized("NoGroupMemberTitle") });
    _segmentedControl->setFrame({ 10, 5, 300, 30 });
    _segmentedControl->setSegmentedControlStyle(ui::SegmentedControlStyle::Bar);
    _segmentedControl->setSelectedSegmentIndex(kFilterAll);
    _segmentedControl->setAccessibilityIdentifier("memberEdit.filter");
    _segmentedControl->addAction(ui::ControlEvent::ValueChanged, [this](ui::Control&) { segmentActionEventAll(); });
    m_filterBar->addSubview(_segmentedControl);
    view()->addSubview(m_filterBar);
}

void GroupMemberEditViewController::addBarButton()
{
    auto doneItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Done, [this](ui::BarButtonItem&) { editDone(); });
    doneItem->setAccessibilityIdentifier("memberEdit.done");
    navigationItem().setLeftBarButtonItem(doneItem);
    setTitle(Utility::sharedUtility().getGroupName(_groupObj));
}

void GroupMemberEditViewController::editDone()
{
    if (_delegate)
        _delegate->groupMemberEditDone(*this);
}

bool GroupMemberEditViewController::isPseudoGroup() const
{
    int identifier = GroupKinds::intValue(_groupObj.groupID);
    return identifier == -1 || identifier == -2;
}

bool GroupMemberEditViewController::isContactInGroup(const Contact& contact) const
{
    auto recordID = contact.recordID();
    return std::any_of(_arrGroupContacts.begin(), _arrGroupContacts.end(),
                       [recordID](const Contact& member) { return member.recordID() == recordID; });
}

// ---- Data ------------------------------------------------------------------------------

void GroupMemberEditViewController::readGroupContacts()
{
    int identifier = GroupKinds::intValue(_groupObj.groupID);
    if (GroupKinds::isLocalGroup(_groupObj)) {
        _arrGroupContacts = DataManager::sharedDataBase().selectLocalGroupMemberWithID(identifier);
    } else if (auto group = AddressBookGroup::groupWithRecordID(identifier)) {
        _arrGroupContacts = group->membersWithSorting(0);
    } else {
        _arrGroupContacts.clear();
    }
}

void GroupMemberEditViewController::initData()
{
    _arrSections.clear();
    _arrSectionsTitle.assign(1, ui::TableViewIndexSearch);
    readGroupContacts();
    if (isPseudoGroup())
        return;

    const auto& collation = ui::LocalizedIndexedCollation::currentCollation();
    std::vector<Contact> everyone = AddressBookQueries::contacts();
    if (_isSearch) {
        std::string text = withoutBlanks(_searchBar ? _searchBar->text() : std::string());
        auto matches = AddressBookQueries::contactsMatchingName(text, everyone);
        if (!matches.empty()) {
            sortByCollation(matches, collation);
            _arrSections.push_back(std::move(matches));
        }
        return;
    }

    const auto& titles = collation.sectionTitles();
    std::vector<std::vector<Contact>> buckets(titles.size());
    for (auto& contact : everyone) {
        int section = collation.sectionForString(contact.sortName());
        if (section >= 0 && section < static_cast<int>(buckets.size()))
            buckets[static_cast<std::size_t>(section)].push_back(std::move(contact));
    }
    for (std::size_t i = 0; i < buckets.size(); ++i) {
        if (buckets[i].empty())
            continue;
        sortByCollation(buckets[i], collation);
        _arrSections.push_back(std::move(buckets[i]));
        _arrSectionsTitle.push_back(titles[i]);
    }
}

void GroupMemberEditViewController::reloadViewData()
{
    initData();
    if (_searchDC && _searchDC->isActive())
        _searchDC->searchResultsTableView()->reloadData();
    if (_myTableView)
        _myTableView->reloadData();
}

void GroupMemberEditViewController::reloadSearchData()
{
    initData();
    if (_searchDC && _searchDC->isActive())
        _searchDC->searchResultsTableView()->reloadData();
}

void GroupMemberEditViewController::reloadTableData()
{
    if (_searchDC && _searchDC->isActive())
        _searchDC->searchResultsTableView()->reloadData();
    else if (_myTableView)
        _myTableView->reloadData();
}

void GroupMemberEditViewController::segmentActionEventAll()
{
    reloadTableData();
}

// ---- Table -----------------------------------------------------------------------------

const Contact* GroupMemberEditViewController::contactAt(const ui::IndexPath& indexPath) const
{
    if (indexPath.section < 0 || indexPath.section >= static_cast<int>(_arrSections.size()))
        return nullptr;
    const auto& section = _arrSections[static_cast<std::size_t>(indexPath.section)];
    if (indexPath.row < 0 || indexPath.row >= static_cast<int>(section.size()))
        return nullptr;
    return &section[static_cast<std::size_t>(indexPath.row)];
}

int GroupMemberEditViewController::numberOfSectionsInTableView(ui::TableView&)
{
    return static_cast<int>(_arrSections.size());
}

int GroupMemberEditViewController::numberOfRowsInSection(ui::TableView&, int section)
{
    if (section < 0 || section >= static_cast<int>(_arrSections.size()))
        return 0;
    return static_cast<int>(_arrSections[static_cast<std::size_t>(section)].size());
}

std::string GroupMemberEditViewController::titleForHeaderInSection(ui::TableView&, int section)
{
    if (_isSearch || section < 0 || section + 1 >= static_cast<int>(_arrSectionsTitle.size()))
        return {};
    return _arrSectionsTitle[static_cast<std::size_t>(section) + 1];
}

std::vector<std::string> GroupMemberEditViewController::sectionIndexTitlesForTableView(ui::TableView&)
{
    if (_isSearch)
        return {};
    return _arrSectionsTitle;
}

int GroupMemberEditViewController::sectionForSectionIndexTitle(ui::TableView&, const std::string&, int index)
{
    if (index <= 0) {
        if (_myTableView && _searchBar)
            _myTableView->scrollRectToVisible(_searchBar->frame(), false);
        return -1;
    }
    return index - 1 < static_cast<int>(_arrSections.size()) ? index - 1 : -1;
}

double GroupMemberEditViewController::heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath)
{
    int filter = _segmentedControl ? _segmentedControl->selectedSegmentIndex() : kFilterAll;
    if (_isSearch || filter == kFilterAll)
        return kRowHeight;
    const Contact* contact = contactAt(indexPath);
    if (!contact)
        return 0;
    bool member = isContactInGroup(*contact);
    if (filter == kFilterMembers)
        return member ? kRowHeight : 0;
    return member ? 0 : kRowHeight;
}

std::shared_ptr<ui::TableViewCell> GroupMemberEditViewController::cellForRowAtIndexPath(ui::TableView& tableView,
                                                                                       const ui::IndexPath& indexPath)
{
    auto cell = tableView.dequeueReusableCellWithIdentifier(kCellIdentifier);
    if (!cell)
        cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, kCellIdentifier);
    cell->removeContentSubviews();
    cell->setAccessoryType(ui::TableViewCellAccessoryType::None);
    const Contact* contact = contactAt(indexPath);
    if (!contact || heightForRowAtIndexPath(tableView, indexPath) <= 0)
        return cell;

    double u = Utility::isIOS7() ? 10 : 0;
    auto& content = cell->contentView();
    content.addSubview(photoView(*contact, u));

    auto name = std::make_shared<ui::Label>(ui::Rect { u + 48, 2, 210, 32 });
    name->setFont(ui::Font::boldSystemFontOfSize(18));
    name->setBackgroundColor(ui::Color::clearColor());
    std::string shownName = contact->contactName();
    name->setText(shownName.empty() ? contact->phonenumbers() : shownName);
    content.addSubview(name);

    auto detail = std::make_shared<ui::Label>(ui::Rect { u + 48, 26, 250, 22 });
    detail->setFont(ui::Font::systemFontOfSize(14));
    detail->setTextColor(ui::Color::lightGrayColor());
    detail->setBackgroundColor(ui::Color::clearColor());
    detail->setText(contact->organization().value_or("") + " " + contact->jobtitle().value_or("") + " "
                    + contact->department().value_or(""));
    content.addSubview(detail);

    if (isContactInGroup(*contact))
        cell->setAccessoryType(ui::TableViewCellAccessoryType::Checkmark);
    if (AddressBookQueries::isExchangePeople(*contact)) {
        auto tag = std::make_shared<ui::Label>(ui::Rect { u + 48, 1, 100, 8 });
        tag->setFont(ui::Font::systemFontOfSize(8));
        tag->setTextColor(ui::Color::redColor());
        tag->setBackgroundColor(ui::Color::clearColor());
        tag->setText("Exchange");
        content.addSubview(tag);
    }
    return cell;
}

void GroupMemberEditViewController::didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    const Contact* touched = contactAt(indexPath);
    if (!touched || isPseudoGroup()) {
        tableView.deselectRowAtIndexPath(indexPath, true);
        return;
    }
    Contact contact = *touched;
    // Membership is read from the group itself rather than from the tick, so that a tick
    // left by an earlier refused save cannot turn an addition into a removal.
    bool member = isContactInGroup(contact);
    std::string failure;
    if (GroupKinds::isLocalGroup(_groupObj)) {
        toggleLocalMembership(contact, member);
    } else if (AddressBookQueries::isExchangePeople(contact)) {
        tableView.deselectRowAtIndexPath(indexPath, true);
        showMessage(foundation::localized("IsExchangePeopleCanNotGroupTitle"));
        return;
    } else if (!toggleAddressBookMembership(contact, member, failure)) {
        showMessage(failure);
    }

    readGroupContacts();
    if (auto cell = tableView.cellForRowAtIndexPath(indexPath)) {
        cell->setAccessoryType(isContactInGroup(contact) ? ui::TableViewCellAccessoryType::Checkmark
                                                         : ui::TableViewCellAccessoryType::None);
    }
    int filter = _segmentedControl ? _segmentedControl->selectedSegmentIndex() : kFilterAll;
    if (!_isSearch && filter != kFilterAll) {
        // The person leaves the filtered list a moment later, once the tick has been seen.
        foundation::RunLoop::main().performAfterDelay(kFilterRefreshDelay, weak_from_this(), [this] { reloadTableData(); });
    }
    tableView.deselectRowAtIndexPath(indexPath, true);
}

void GroupMemberEditViewController::toggleLocalMembership(const Contact& contact, bool isMember)
{
    auto& database = DataManager::sharedDataBase();
    int group = GroupKinds::intValue(_groupObj.groupID);
    std::string memberID = std::to_string(contact.recordID());
    if (isMember)
        database.deleteLocalGroupMember(group, memberID);
    else
        database.insertLocalGroupMember(group, memberID);
}

bool GroupMemberEditViewController::toggleAddressBookMembership(const Contact& contact, bool isMember, std::string& failure)
{
    auto group = AddressBookGroup::groupWithRecordID(GroupKinds::intValue(_groupObj.groupID));
    auto book = SharedAddressBook::get();
    if (!group || !book) {
        failure = foundation::localized("GroupNotInAddressBookTitle");
        return false;
    }
    contactstore::Error error;
    auto refused = [&] {
        failure = error.localizedDescription();
        return false;
    };
    if (isMember) {
        if (!group->removeMember(contact, &error))
            return refused();
        if (!AddressBookQueries::addGroup(*group, &error)) {
            // The member goes back, so that the refused removal does not ride along with the
            // next save of something else.
            (void)group->addMember(contact);
            return refused();
        }
        return true;
    }
    if (!book->addRecord(group->record(), &error) || !book->save(&error) || !group->addMember(contact, &error))
        return refused();
    if (!book->save(&error)) {
        (void)group->removeMember(contact);
        return refused();
    }
    return true;
}

// ---- Search ----------------------------------------------------------------------------

bool GroupMemberEditViewController::searchBarShouldBeginEditing(ui::SearchBar&)
{
    _isSearch = true;
    _isSearchCancelButtonClicked = false;
    return true;
}

void GroupMemberEditViewController::textDidChange(ui::SearchBar&, const std::string&)
{
    if (!_isSearchCancelButtonClicked && _isSearch)
        reloadSearchData();
}

void GroupMemberEditViewController::searchBarCancelButtonClicked(ui::SearchBar&)
{
    _isSearch = false;
    _isSearchCancelButtonClicked = true;
    reloadViewData();
}

bool GroupMemberEditViewController::searchBarShouldEndEditing(ui::SearchBar&)
{
    if (_isSearchCancelButtonClicked) {
        _isSearchCancelButtonClicked = false;
        return true;
    }
    _isSearch = _searchDC && _searchDC->isActive();
    if (_isSearch)
        reloadSearchData();
    else
        reloadViewData();
    return true;
}

} // namespace tessaro
