#pragma once
// The root screen of the groups tab: one list of every group the user works with, all
// contacts and contacts in no group at the top, the address-book groups and the
// application's own local groups in their shared order, and contacts without a phone number
// or mail address at the bottom. Each row shows the group's name in its colour, a badge
// with the number of persons in it, counted live, and a menu button (text message, mail,
// member editing). Touching a row opens the group's persons behind the busy overlay; the
// bar opens group editing and the new-person form.
//
// Everything shown is read again from the group catalogue, the database and the address
// book whenever the list reloads; the screen keeps nothing else.
//
// Ownership: the screen owns its table, busy overlay, the member editing screen while it is
// open and the group chooser shown after a new person. The menu sheet, the new-person form
// and group editing are owned by their presentations; the screen is their delegate and
// clears that link if it goes first.

#include "app/CommonViewController.h"
#include "platform/services/NewPersonViewController.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "screens/groups/GroupPresentation.h"
#include "screens/groups/GroupScreens.h"
#include "store/GroupObject.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class BarButtonItem;
class NavigationController;
class TableView;
} // namespace ui

namespace tessaro {

class WaitView;

class GroupViewController : public CommonViewController,
                            public ui::TableViewDataSource,
                            public ui::TableViewDelegate,
                            public ui::ActionSheetDelegate,
                            public GroupEditViewControllerDelegate,
                            public GroupSelectViewControllerDelegate,
                            public GroupMemberEditViewControllerDelegate,
                            public services::NewPersonViewControllerDelegate {
public:
    static constexpr double kRowHeight = 42;
    // Where the group chooser lies over the screen after a new person was made.
    static constexpr double kGroupSelectTop = GroupPresentation::kGroupSelectTop;

    static std::shared_ptr<GroupViewController> create(GroupScreens screens);
    // Use create(); public for std::make_shared. Builds the list and the bar at once.
    explicit GroupViewController(GroupScreens screens);
    ~GroupViewController() override;

    void loadView() override;
    void viewDidLoad() override;

    // Rebuilds the rows from a fresh catalogue, plus the two pseudo-groups at the bottom.
    void initData();
    void reloadViewData() override;
    // The number of persons in no real group.
    int getNoGroupContactsCount() const;

    // The bar: group editing and a new person.
    void editGroup();
    void addContat();
    // A row's menu button; its tag is the row.
    void editGroupContacts(ui::BarButtonItem& sender);
    // Pushes the persons of the group and takes the busy overlay away.
    void loadGroupContact(const GroupObject& group);
    void showSendGroupMailView();
    void showSendGroupSmsView();
    void showMemberEditView();

    // What the screens this one opens report back.
    void groupEditDone(CommonViewController& controller) override;
    void groupSelectedDone(CommonViewController& chooser) override;
    void groupSelectedCancel(CommonViewController& chooser) override;
    void groupMemberEditDone(CommonViewController& controller) override;
    void didCompleteWithNewPerson(services::NewPersonViewController& controller, const contactstore::PersonRef& person) override;

    // The table.
    int numberOfRowsInSection(ui::TableView& tableView, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    double heightForRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    // The row menu's answer.
    void clickedButtonAtIndex(ui::ActionSheet& actionSheet, int buttonIndex) override;

    // What the screen holds, for the shell and tests.
    const std::vector<GroupObject>& arrGroups() const { return _arrGroups; }
    const std::optional<GroupObject>& sendGroupObj() const { return _sendGroupObj; }
    ui::TableView* myTableView() const { return _myTableView.get(); }
    WaitView* waitView() const { return _waitView.get(); }
    CommonViewController* memberEditViewController() const { return _memberEditViewController.get(); }
    ui::NavigationController* groupSelectNav() const { return _groupSelectNav.get(); }

    // The texts and colour a row shows for a group.
    static std::string rowName(const GroupObject& group);
    int rowBadgeNumber(const GroupObject& group) const;
    static ui::Color rowNameColor(const GroupObject& group);

private:
    void addBarButton();
    // The rows again from a fresh catalogue; what is open stays as it is.
    void reloadRows();
    void buildRow(ui::TableViewCell& cell, const GroupObject& group, int row);
    void pushGroupScreen(const GroupScreens::Screen& screen);
    void removeGroupSelectNav();

    GroupScreens _screens;
    std::vector<GroupObject> _arrGroups;
    // A copy rather than a pointer into the list: the list may be rebuilt while the menu shows.
    std::optional<GroupObject> _sendGroupObj;
    std::shared_ptr<ui::TableView> _myTableView;
    std::shared_ptr<WaitView> _waitView;
    std::shared_ptr<CommonViewController> _memberEditViewController;
    std::shared_ptr<ui::NavigationController> _groupSelectNav;
    std::weak_ptr<ui::ActionSheet> _menuSheet;
    std::weak_ptr<services::NewPersonViewController> _newPersonForm;
};

} // namespace tessaro
