#pragma once
// The screens the groups tab opens that are built apart from the group list and the group
// contacts: group editing, member editing, the group chooser, the bulk edit of selected
// persons, and one mail or one text message to a group. The group list and the group
// contacts make them only through these functions, so each screen plugs in where the
// program chooses its screens, and tests hand screens of their own.
//
// A maker that is not set means the screen is not available: the entry that would open
// it does nothing. A maker may also hand back null, with the same effect.
//
// Ownership: the makers hand the new screen to the caller, which owns it; the delegates
// passed in are plain references to the opener, which outlives what it opens.

#include "addressbook/Contact.h"
#include "app/CommonViewController.h"
#include "platform/contactstore/Constants.h"
#include "screens/groups/EditSelectedContactViewControllerDelegate.h"
#include "screens/groups/GroupEditViewControllerDelegate.h"
#include "screens/groups/GroupMemberEditViewControllerDelegate.h"
#include "screens/groups/GroupSelectViewControllerDelegate.h"
#include "store/GroupObject.h"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace tessaro {

struct GroupScreens {
    using Screen = std::shared_ptr<CommonViewController>;

    // Group editing: every real group in its order, for renaming, recolouring, reordering,
    // deleting and adding groups.
    std::function<Screen(GroupEditViewControllerDelegate& delegate)> makeGroupEditViewController;
    // Member editing of one real group.
    std::function<Screen(GroupMemberEditViewControllerDelegate& delegate, const GroupObject& group)> makeGroupMemberEditViewController;
    // The group chooser for one person: `group` is the group ticked at the start (none: no
    // group); with isAutoRemove the chooser lies over the screen and takes itself off it,
    // otherwise it is presented and its opener dismisses it. `changeGroupContacts` is the
    // list of several persons to move (none: the one person).
    std::function<Screen(GroupSelectViewControllerDelegate& delegate, contactstore::RecordID contactID,
                         const std::optional<GroupObject>& group, bool isAutoRemove,
                         const std::optional<std::vector<Contact>>& changeGroupContacts)>
        makeGroupSelectViewController;
    // The bulk edit of selected persons of a group.
    std::function<Screen(EditSelectedContactViewControllerDelegate& delegate, const GroupObject& group)> makeEditSelectedContactViewController;
    // One mail, or one text message, to the persons of a group (none: all of the group's).
    std::function<Screen(const GroupObject& group, const std::optional<std::vector<Contact>>& contacts)> makeGroupSendMailViewController;
    std::function<Screen(const GroupObject& group, const std::optional<std::vector<Contact>>& contacts)> makeGroupSendSMSViewController;
};

} // namespace tessaro
