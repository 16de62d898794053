// How the application is put together.
//
// Wiring a new screen in:
//   1. Add its folder's layer in CMakeLists.txt (most screens simply live in src/screens,
//      which is already one) and let tessaro_composition link it, if it is new.
//   2. Include its header below and set its maker, replacing the placeholder's line (and the
//      placeholder's include). A maker receives what the screen may ask of its opener as a
//      small host or delegate interface, never the concrete controller.
//   3. A screen that opens further screens gets their makers the same way: give it a struct
//      of makers (as GroupScreens is) filled here, so it never names the screens it opens.
// A maker left empty is a screen that is not there yet: the place that opens it does nothing.

#include "main/Composition.h"

#include "ads/BannerChain.h"
#include "screens/contacts/ContactDetailViewController.h"
#include "screens/favorites/FavoriteViewController.h"
#include "screens/groups/EditSelectedContactViewController.h"
#include "screens/groups/GroupEditViewController.h"
#include "screens/groups/GroupMemberEditViewController.h"
#include "screens/groups/GroupSelectViewController.h"
#include "screens/groups/GroupViewController.h"
#include "screens/memos/MemoViewController.h"
#include "screens/messaging/GroupSendMailViewController.h"
#include "screens/messaging/GroupSendSMSViewController.h"
#include "screens/messaging/KeyBoardViewController.h"
#include "screens/settings/SettingsViewController.h"

#include <memory>

namespace tessaro::composition {

RootScreens rootScreens()
{
    RootScreens screens;
    screens.makeFavoriteViewController = [] { return std::make_shared<FavoriteViewController>(); };
    screens.makeGroupViewController = [] { return GroupViewController::create(groupScreens()); };
    screens.makeMemoViewController = [] { return std::make_shared<MemoViewController>(); };
    screens.makeSettingsViewController = [] { return std::make_shared<SettingsViewController>(); };
    screens.makeKeyBoardViewController = [](KeypadHost& host) {
        auto makeChooser = [groups = groupScreens()](GroupSelectViewControllerDelegate& delegate, contactstore::RecordID contactID) {
            return groups.makeGroupSelectViewController(delegate, contactID, std::nullopt, true, std::nullopt);
        };
        return std::make_shared<KeyBoardViewController>(host, std::move(makeChooser));
    };
    screens.makeContactDetailViewController = [](const Contact& contact) {
        return ContactDetailViewController::create(contact);
    };
    screens.makeBannerNetworks = [] { return std::make_unique<BannerChain>(); };
    return screens;
}

GroupScreens groupScreens()
{
    using Screen = GroupScreens::Screen;
    GroupScreens screens;
    screens.makeGroupEditViewController = [](GroupEditViewControllerDelegate& delegate) -> Screen {
        return std::make_shared<GroupEditViewController>(&delegate);
    };
    screens.makeGroupMemberEditViewController = [](GroupMemberEditViewControllerDelegate& delegate,
                                                   const GroupObject& group) -> Screen {
        return std::make_shared<GroupMemberEditViewController>(&delegate, group);
    };
    screens.makeGroupSelectViewController = [](GroupSelectViewControllerDelegate& delegate, contactstore::RecordID contactID,
                                               const std::optional<GroupObject>& group, bool isAutoRemove,
                                               const std::optional<std::vector<Contact>>& changeGroupContacts) -> Screen {
        return std::make_shared<GroupSelectViewController>(&delegate, contactID, group, isAutoRemove, changeGroupContacts);
    };
    screens.makeEditSelectedContactViewController = [](EditSelectedContactViewControllerDelegate& delegate,
                                                       const GroupObject& group) -> Screen {
        return std::make_shared<EditSelectedContactViewController>(&delegate, group, groupScreens());
    };
    screens.makeGroupSendMailViewController = [](const GroupObject& group, const std::optional<std::vector<Contact>>& contacts) -> Screen {
        return std::make_shared<GroupSendMailViewController>(group, contacts);
    };
    screens.makeGroupSendSMSViewController = [](const GroupObject& group, const std::optional<std::vector<Contact>>& contacts) -> Screen {
        return std::make_shared<GroupSendSMSViewController>(group, contacts);
    };
    return screens;
}

} // namespace tessaro::composition
