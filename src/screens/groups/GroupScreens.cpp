#include "screens/groups/GroupScreens.h"

#include "screens/groups/GroupEditViewController.h"
#include "screens/groups/GroupMemberEditViewController.h"
#include "screens/groups/GroupSelectViewController.h"

namespace tessaro {

// Each screen plugs in here when it lands; until then its entry opens nothing.
GroupScreens GroupScreens::standard()
{
    GroupScreens screens;
    screens.makeGroupEditViewController = [](GroupEditViewControllerDelegate& delegate) -> Screen {
        return std::make_shared<GroupEditViewController>(&delegate);
    };
    screens.makeGroupMemberEditViewController = [](GroupMemberEditViewControllerDelegate& delegate, const GroupObject& group) -> Screen {
        return std::make_shared<GroupMemberEditViewController>(&delegate, group);
    };
    screens.makeGroupSelectViewController = [](GroupSelectViewControllerDelegate& delegate, contactstore::RecordID contactID,
                                               const std::optional<GroupObject>& group, bool isAutoRemove,
                                               const std::optional<std::vector<Contact>>& changeGroupContacts) -> Screen {
        return std::make_shared<GroupSelectViewController>(&delegate, contactID, group, isAutoRemove, changeGroupContacts);
    };
    return screens;
}

} // namespace tessaro
