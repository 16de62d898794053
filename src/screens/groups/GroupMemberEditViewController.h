#pragma once
// Member editing of one real group: every person of the address book in alphabetical
// sections, a tick at each member, and a touch that adds or removes the person at once (in
// the address book for an address-book group, in the application's database for a local
// group). A three-way filter below the list shows everyone, the members or the others; the
// search field above narrows the list by name or number. Exchange persons cannot join or
// leave address-book groups: the screen refuses with a message.
//
// Ownership: the screen owns its table, search bar, search display controller (which owns
// the results table), filter bar and the lists it shows; the opener owns the screen through
// the navigation controller it presents and is the non-owning delegate.

#include "platform/ui/SearchDisplayController.h"
#include "screens/groups/GroupMemberEditViewControllerDelegate.h"
#include "screens/groups/PersonSectionsViewController.h"
#include "store/GroupObject.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {
class SegmentedControl;
class Toolbar;
}

namespace tessaro {

class GroupMemberEditViewController : public PersonSectionsViewController, public ui::SearchDisplayControllerDelegate {
public:
    static constexpr double kRowHeight = 48;
    // How long a person whose tick changed stays in a filtered list before it leaves.
    static constexpr double kFilterRefreshDelay = 0.1;
    enum Filter { kFilterAll = 0, kFilterMembers = 1, kFilterNonMembers = 2 };

    GroupMemberEditViewController(GroupMemberEditViewControllerDelegate* delegate, GroupObject groupObj);
    ~GroupMemberEditViewController() override;

    GroupMemberEditViewControllerDelegate* delegate() const { return _delegate; }
    void setDelegate(GroupMemberEditViewControllerDelegate* delegate) { _delegate = delegate; }
    const GroupObject& groupObj() const { return _groupObj; }

    void loadView() override;
    void viewDidLoad() override;

    void initData() override;
    void addBarButton();
    void editDone();
    bool isContactInGroup(const Contact& contact) const;
    void reloadTableData();
    void segmentActionEventAll();

    // What the lists show, for the screens' own checks.
    const std::vector<std::vector<Contact>>& sections() const { return _arrSection; }
    const std::vector<Contact>& groupContacts() const { return _arrGroupContacts; }
    ui::TableView* tableView() const { return _myTableView.get(); }
    ui::SegmentedControl* segmentedControl() const { return _segmentedControl.get(); }
    bool isSearching() const { return _isSearch; }

    // Both tables: the list and the search results.
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    bool canEditRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return false; }
    double heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    void didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;

private:
    bool isPseudoGroup() const;
    // Adds the person to the address-book group or takes it out, and saves. False (with the
    // platform's description) when the address book refused; membership is then unchanged.
    bool toggleAddressBookMembership(const Contact& contact, bool isMember, std::string& failure);
    void toggleLocalMembership(const Contact& contact, bool isMember);
    void readGroupContacts();
    void buildFilterBar();

    GroupMemberEditViewControllerDelegate* _delegate { nullptr };
    GroupObject _groupObj;
    std::vector<Contact> _arrGroupContacts;
    std::shared_ptr<ui::Toolbar> _filterBar;
    std::shared_ptr<ui::SegmentedControl> _segmentedControl;
};

} // namespace tessaro
