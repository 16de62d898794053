#pragma once
// The chooser that puts persons into a group: a no-group row and every real group in the
// catalogue's order, with a tick at the chosen one. Done stores the choice, Cancel leaves
// everything as it was.
//   - One person (no list given): Done adds the person to the chosen group and takes it
//     out of nothing.
//   - Several persons (a list given, from the bulk edit): Done moves them from the group
//     they came from to the chosen one; the no-group row takes them out of their group.
// It is either presented modally by its caller, who dismisses it, or laid over the screen
// (isAutoRemove), in which case it slides itself out and takes its view off the screen.
//
// Ownership: the caller owns the chooser through its navigation controller and is the
// non-owning delegate. The chooser keeps its own copies of the groups and persons.

#include "addressbook/Contact.h"
#include "app/CommonViewController.h"
#include "platform/contactstore/Constants.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "screens/groups/GroupSelectViewControllerDelegate.h"
#include "store/GroupObject.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class TableView;
}

namespace tessaro {

class GroupSelectViewController : public CommonViewController,
                                  public ui::TableViewDataSource,
                                  public ui::TableViewDelegate {
public:
    static constexpr double kRowHeight = 42;
    // How long the laid-over chooser takes to slide out of sight.
    static constexpr double kSlideOutDuration = 0.4;

    // contactID: the one person's record identifier (one-person mode), -1 with a list;
    // groupObj: the group the persons come from, which also starts ticked (none: no group);
    // arrChangeGroupContacts: the persons to move (several-person mode), none otherwise.
    GroupSelectViewController(GroupSelectViewControllerDelegate* delegate, contactstore::RecordID contactID,
                              std::optional<GroupObject> groupObj, bool isAutoRemove,
                              std::optional<std::vector<Contact>> arrChangeGroupContacts);
    ~GroupSelectViewController() override;

    GroupSelectViewControllerDelegate* delegate() const { return _delegate; }
    void setDelegate(GroupSelectViewControllerDelegate* delegate) { _delegate = delegate; }
    bool isAutoRemove() const { return _isAutoRemove; }
    void setIsAutoRemove(bool isAutoRemove) { _isAutoRemove = isAutoRemove; }

    void viewDidLoad() override;

    void initData();
    // Stores the choice and closes; stays open (having said why) when the choice cannot be
    // stored.
    void done();
    void cancel();
    // Takes the chooser's view (with its navigation bar) off the screen.
    void removeSelf();

    // The group that carries the tick; none for the no-group row.
    const std::optional<GroupObject>& selectedGroup() const { return _selectGroupObj; }
    const std::vector<GroupObject>& groups() const { return _arrGroups; }
    ui::TableView* tableView() const { return _myTableView.get(); }

    // Table.
    int numberOfRowsInSection(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;
    bool canEditRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return false; }
    double heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return kRowHeight; }
    void didSelectRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override;

private:
    bool rowIsTicked(int row) const;
    // A chosen group that persons can be put into: not the no-group row, not a pseudo-group.
    bool chosenGroupCounts() const;
    bool doneSeveral(std::string& failure);
    bool doneOne(std::string& failure);
    void closing();

    GroupSelectViewControllerDelegate* _delegate { nullptr };
    contactstore::RecordID _contactID { -1 };
    std::optional<GroupObject> _selectGroupObj;
    std::optional<GroupObject> _oldGroupObj;
    bool _isAutoRemove { false };
    std::optional<std::vector<Contact>> _arrChangeGroupContacts;
    std::vector<GroupObject> _arrGroups;
    std::shared_ptr<ui::TableView> _myTableView;
};

} // namespace tessaro
