#pragma once
// The group editor: every real group (address-book groups and the application's own local
// groups) in the stored order, always in editing mode. The user deletes a group, drags
// groups into a new order, opens one for a new name and colour, or adds a new group, which
// goes into the address book or stays local depending on the device's accounts. Every change
// is stored at once; Done only tells the opener that the user has finished.
//
// Ownership: the screen owns its table and the catalogue it shows; the opener (the group
// list) owns the screen through the navigation controller it presents, and is the
// non-owning delegate. The form for a name and colour is owned by its presentation.

#include "app/CommonViewController.h"
#include "platform/contactstore/StoreError.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "screens/groups/GroupEditViewControllerDelegate.h"
#include "store/GroupObject.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {
class TableView;
}

namespace tessaro {

class GroupEditViewController : public CommonViewController,
                                public ui::TableViewDataSource,
                                public ui::TableViewDelegate,
                                public ui::ActionSheetDelegate {
public:
    static constexpr double kRowHeight = 42;
    // The catalogue starts with the two pseudo-groups "all contacts" and "in no group",
    // which the editor never shows: row r is catalogue entry r + kFirstGroupIndex.
    static constexpr int kFirstGroupIndex = 2;

    explicit GroupEditViewController(GroupEditViewControllerDelegate* delegate);
    ~GroupEditViewController() override;

    GroupEditViewControllerDelegate* delegate() const { return _delegate; }
    void setDelegate(GroupEditViewControllerDelegate* delegate) { _delegate = delegate; }

    void loadView() override;
    void viewDidLoad() override;

    void getGroups();
    void done();
    // Opens the form for the group at this catalogue index.
    void editGroupName(int catalogueIndex);
    // Stores a new name and colour for the group at the catalogue index.
    void editGroupDone(const std::string& name, int colorIndex, int editIndex);
    void addGroup();
    void showAddGroupView();
    // Stores a new group of the kind chosen by addGroup. False when nothing was stored (the
    // user has been told why).
    bool addNewGroupDone(const std::string& name, int colorIndex);

    // The catalogue as shown (entries 0 and 1 are the pseudo-groups).
    const std::vector<GroupObject>& groups() const { return _arrGroups; }
    ui::TableView* tableView() const { return _myTableView.get(); }
    // True when the next new group goes into the address book.
    bool isAddingAddressBookGroup() const { return _isAddLocalGroup; }

    // Table.
    int numberOfRowsInSection(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    bool canEditRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    bool canMoveRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    void commitEditingStyle(ui::TableView&, ui::TableViewCellEditingStyle, const ui::IndexPath&) override;
    void moveRowAtIndexPath(ui::TableView&, const ui::IndexPath& from, const ui::IndexPath& to) override;
    double heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return kRowHeight; }
    double heightForHeaderInSection(ui::TableView&, int) override { return 0; }
    void didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;

    // The sheet that asks where a new group is kept.
    void clickedButtonAtIndex(ui::ActionSheet&, int buttonIndex) override;

private:
    bool isGroupRow(int row) const;
    // Whether the group at the catalogue index can be renamed, recoloured or deleted now.
    bool canChangeGroupAt(int catalogueIndex) const;
    // Whether a new order can be stored: it rewrites the place of every group, which an
    // address-book group the application may not read must keep.
    bool canStoreOrder() const;
    // Tells the user that address-book groups wait for access to the contacts.
    void showNoAccessNote();
    // Writes the place of every catalogue entry (its index) back where it is stored.
    // False when the file refused the new order; nothing of it is then stored.
    bool storeOrder();
    bool storeNewAddressBookGroup(const std::string& name, int colorIndex);
    void deleteGroupAtRow(ui::TableView& tableView, int row);
    static void showMessage(const std::string& message);
    void presentForm(std::shared_ptr<ui::ViewController> form);

    GroupEditViewControllerDelegate* _delegate { nullptr };
    std::vector<GroupObject> _arrGroups;
    std::shared_ptr<ui::TableView> _myTableView;
    // What the next addition creates. The name is historical and reads backwards: true makes
    // an address-book group, false a group kept only by the application.
    bool _isAddLocalGroup { false };
};

} // namespace tessaro
