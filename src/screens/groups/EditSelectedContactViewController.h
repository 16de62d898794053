#pragma once
// The bulk edit of a group's persons: every person of the group in alphabetical sections
// with a tick to set by touch (or all at once), and four actions on the ticked persons:
// one mail, one text message, moving them to another group, and deleting them from the
// address book. A three-way filter above the list shows everyone, the unticked or the
// ticked persons. The group persons screen opens it modally and closes it on Done.
//
// A person is ticked when a person with the same record identifier is, whatever object
// stands for it. The ticked persons keep the order in which they were ticked (the order the
// actions take them in); a set of their identifiers beside the list answers "is it
// ticked?" without a scan, so that ticking all of 50,000 persons stays quick.
//
// Ownership: the screen owns its table, bars and buttons, and the group chooser while it is
// open (through _groupSelectNav and the presentation). The delegate, the group persons
// screen, is a plain pointer: it owns this screen and outlives it.

#include "platform/contactstore/Constants.h"
#include "platform/ui/AlertView.h"
#include "screens/groups/EditSelectedContactViewControllerDelegate.h"
#include "screens/groups/GroupScreens.h"
#include "screens/groups/PersonSectionsViewController.h"
#include "store/GroupObject.h"

#include <memory>
#include <unordered_set>
#include <vector>

namespace ui {
class BarButtonItem;
class NavigationController;
class SegmentedControl;
class Toolbar;
} // namespace ui

namespace tessaro {

class EditSelectedContactViewController : public PersonSectionsViewController,
                                          public GroupSelectViewControllerDelegate,
                                          public ui::AlertViewDelegate {
public:
    static constexpr double kRowHeight = 48;
    static constexpr double kHeaderHeight = 24;
    static constexpr double kBarHeight = 40;
    // How long a person whose tick changed stays in a filtered list before it leaves.
    static constexpr double kFilterRefreshDelay = 0.1;
    enum Filter { kFilterAll = 0, kFilterUnchecked = 1, kFilterChecked = 2 };
    static constexpr int kDeleteAlertTag = 0;

    // Reads the group's persons at once; the screens it opens come from `screens`.
    EditSelectedContactViewController(EditSelectedContactViewControllerDelegate* delegate, GroupObject groupObj, GroupScreens screens);
    ~EditSelectedContactViewController() override;

    EditSelectedContactViewControllerDelegate* delegate() const { return _delegate; }
    void setDelegate(EditSelectedContactViewControllerDelegate* delegate) { _delegate = delegate; }
    const GroupObject& groupObj() const { return _groupObj; }

    void loadView() override;
    void viewDidLoad() override;

    void initData() override;
    // Unticks everyone, reads the persons again and closes a group chooser left open.
    void reloadViewData() override;
    void setButtonItemState();

    // The bars' buttons.
    void editDone();
    void checkAll();
    void changeSelectedContactGroup();
    void sendMailToSelectedContact();
    void sendSMSToSelectedContact();
    void deleteSelectedContact();
    // Deletes the ticked persons in the order they were ticked, stopping at the first the
    // address book refuses; then reads the list again.
    void deleteTickedPersons();

    // The ticks.
    bool isContactAdded(const Contact& contact) const;
    void addSelectedContact(const Contact& contact);
    void removeSelectedContact(const Contact& contact);
    const std::vector<Contact>& arrSelectedContact() const { return _arrSelectedContact; }
    int contactCount() const { return _contactCount; }

    // What the screen shows, for the shell and tests.
    const std::vector<std::vector<Contact>>& sections() const { return _arrSection; }
    ui::TableView* tableView() const { return _myTableView.get(); }
    ui::SegmentedControl* segmentedControl() const { return _segmentedControl.get(); }
    ui::BarButtonItem* checkAllButton() const { return _btnItemCheckAll.get(); }
    ui::BarButtonItem* changeGroupButton() const { return _btnItemChangeGroup.get(); }
    ui::BarButtonItem* mailButton() const { return _btnItemMail.get(); }
    ui::BarButtonItem* smsButton() const { return _btnItemSms.get(); }
    ui::BarButtonItem* deleteButton() const { return _btnItemDelete.get(); }
    // The buttons of the bottom bar, left to right.
    std::vector<std::shared_ptr<ui::BarButtonItem>> bottomBarItems() const;
    ui::NavigationController* groupSelectNav() const { return _groupSelectNav.get(); }

    // The group chooser and the deletion alert.
    void groupSelectedDone(CommonViewController& chooser) override;
    void groupSelectedCancel(CommonViewController& chooser) override;
    void clickedButtonAtIndex(ui::AlertView& alertView, int buttonIndex) override;

    // The table.
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    bool canEditRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return false; }
    int sectionForSectionIndexTitle(ui::TableView&, const std::string& title, int index) override;
    double heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    double heightForHeaderInSection(ui::TableView&, int section) override;
    void didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;

private:
    bool hasChangeGroupButton() const;
    bool rowIsVisible(const Contact& contact) const;
    int filterIndex() const;
    void addBarButton();
    void addBottomBarButton();
    void reloadTableData();
    void removeGroupSelectNav();
    void clearSelection();

    EditSelectedContactViewControllerDelegate* _delegate { nullptr };
    GroupObject _groupObj;
    GroupScreens m_screens;
    std::shared_ptr<ui::Toolbar> m_filterBar;
    std::shared_ptr<ui::SegmentedControl> _segmentedControl;
    std::shared_ptr<ui::Toolbar> m_bottomBar;
    int _contactCount { 0 };
    std::vector<Contact> _arrSelectedContact;
    std::unordered_set<contactstore::RecordID> m_selectedRecordIDs;
    std::shared_ptr<ui::NavigationController> _groupSelectNav;
    std::shared_ptr<ui::BarButtonItem> _btnItemCheckAll;
    std::shared_ptr<ui::BarButtonItem> _btnItemChangeGroup;
    std::shared_ptr<ui::BarButtonItem> _btnItemMail;
    std::shared_ptr<ui::BarButtonItem> _btnItemSms;
    std::shared_ptr<ui::BarButtonItem> _btnItemDelete;
    std::weak_ptr<ui::AlertView> m_deleteAlert;
};

} // namespace tessaro
