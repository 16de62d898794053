#include "screens/groups/GroupScreens.h"

#include "screens/groups/EditSelectedContactViewController.h"
#include "screens/groups/GroupEditViewController.h"
#include "screens/groups/GroupMemberEditViewController.h"
#include "screens/groups/GroupSelectViewController.h"
#include "screens/messaging/GroupSendMailViewController.h"
#include "screens/messaging/GroupSendSMSViewController.h"

namespace tessaro {

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
    screens.makeEditSelectedContactViewController = [](EditSelectedContactViewControllerDelegate& delegate, const GroupObject& group) -> Screen {
        return std::make_shared<EditSelectedContactViewController>(&delegate, group, GroupScreens::standard());
    };
    screens.makeGroupSendMailViewController = [](const GroupObject& group, const std::optional<std::vector<Contact>>& contacts) -> Screen {
        return std::make_shared<GroupSendMailViewController>(group, contacts);
    };
    screens.makeGroupSendSMSViewController = [](const GroupObject& group, const std::optional<std::vector<Contact>>& contacts) -> Screen {
        return std::make_shared<GroupSendSMSViewController>(group, contacts);
    };
    return screens;
}

} // namespace tessaro
