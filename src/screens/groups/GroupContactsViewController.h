#pragma once
// The persons of one group (an address-book group, a local group, or one of the four
// pseudo-groups) in the alphabetical sections of the device's language, with the section
// index at the right edge, headed by the search symbol, and a search field above the list.
// Touching a person shows the person's detail (through the app-wide notification). The bar
// opens the bulk edit of selected persons, the new-person form and, before system 7, the
// group's menu; in the list of persons in no group each row has a button that puts the
// person into a group.
//
// The sections are read again from the address book and the database at creation, on every
// reload and on every keystroke of a search; the group itself is kept as it was given.
// While a search runs the sections hold the matches (one section, or none), and both the
// list and the search results answer from them.
//
// Ownership: the screen owns its table, search bar and search controller, and the bulk
// edit, member editing and group chooser while they are open. The screen that opened it (the
// group list, told to reload when the persons change) is a plain pointer: it is the root of
// this screen's navigation stack and outlives it. The menu sheet and the new-person form are owned by their presentations;
// the screen clears their link to it if it goes first.

#include "platform/services/NewPersonViewController.h"
#include "platform/ui/ActionSheet.h"
#include "screens/groups/GroupPresentation.h"
#include "screens/groups/GroupScreens.h"
#include "screens/groups/PersonSectionsViewController.h"
#include "store/GroupObject.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class BarButtonItem;
class NavigationController;
} // namespace ui

namespace tessaro {

class MyToolBar;

class GroupContactsViewController : public PersonSectionsViewController,
                                    public ui::ActionSheetDelegate,
                                    public EditSelectedContactViewControllerDelegate,
                                    public GroupMemberEditViewControllerDelegate,
                                    public GroupSelectViewControllerDelegate,
                                    public services::NewPersonViewControllerDelegate {
public:
    static constexpr double kRowHeight = 48;
    // Where the group chooser lies over the screen after a new person was made.
    static constexpr double kGroupSelectTop = GroupPresentation::kGroupSelectTop;

    static std::shared_ptr<GroupContactsViewController> create(CommonViewController& controller, GroupObject groupObj,
                                                               GroupScreens screens);
    // Use create(); public for std::make_shared. Builds the sections and the bar at once.
    GroupContactsViewController(CommonViewController& controller, GroupObject groupObj, GroupScreens screens);
    ~GroupContactsViewController() override;

    void loadView() override;
    void viewDidLoad() override;

    // Rebuilds the sections: the group's persons, then either the search matches as one
    // section or every non-empty alphabetical section.
    void initData() override;
    // Also reloads the bulk edit and member editing while they are open.
    void reloadViewData() override;

    // The bar and the rows' buttons.
    void editSelectedContact();
    void addContat();
    void editGroupContacts();
    void setGroup(ui::BarButtonItem& sender);
    void showSendGroupMailView();
    void showSendGroupSmsView();
    void showMemberEditView();

    // What the screens this one opens report back.
    void editSelectedContactDone(CommonViewController& controller) override;
    void groupMemberEditDone(CommonViewController& controller) override;
    void groupSelectedDone(CommonViewController& chooser) override;
    void groupSelectedCancel(CommonViewController& chooser) override;
    void didCompleteWithNewPerson(services::NewPersonViewController& controller, const contactstore::PersonRef& person) override;

    // Both tables: the list and the search results.
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    double heightForRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;


    // The group menu's answer.
    void clickedButtonAtIndex(ui::ActionSheet& actionSheet, int buttonIndex) override;

    // What the screen holds, for the shell and tests.
    const GroupObject& groupObj() const { return _groupObj; }
    const std::vector<std::vector<Contact>>& arrSection() const { return _arrSection; }
    const std::vector<std::string>& arrSectionTitle() const { return _arrSectionTitle; }
    bool isSearch() const { return _isSearch; }
    ui::TableView* myTableView() const { return _myTableView.get(); }
    MyToolBar* barToolbar() const { return _barToolbar.get(); }
    CommonViewController* editSelectedContactViewController() const { return _editSelectedContactViewController.get(); }
    CommonViewController* memberEditViewController() const { return _memberEditViewController.get(); }
    ui::NavigationController* groupSelectNav() const { return _groupSelectNav.get(); }

private:
    bool isNoGroupList() const;
    void addBarButton();
    void buildRow(ui::TableViewCell& cell, const Contact& person, const ui::IndexPath& indexPath);
    void reloadAfterModalScreen(CommonViewController& controller, std::shared_ptr<CommonViewController>& held);
    void removeGroupSelectNav();

    CommonViewController* _controller { nullptr };
    GroupObject _groupObj;
    GroupScreens _screens;
    std::shared_ptr<ui::NavigationController> _groupSelectNav;
    // Whether the chooser in _groupSelectNav was presented (the caller dismisses it) rather
    // than laid over the screen (it takes itself away).
    bool _groupSelectPresented { false };
    std::shared_ptr<CommonViewController> _editSelectedContactViewController;
    std::shared_ptr<CommonViewController> _memberEditViewController;
    std::shared_ptr<MyToolBar> _barToolbar;
    std::weak_ptr<ui::ActionSheet> _menuSheet;
    std::weak_ptr<services::NewPersonViewController> _newPersonForm;
};

} // namespace tessaro
