#include "screens/groups/GroupMenu.h"

#include "app/Utility.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/ui/ActionSheet.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"

namespace tessaro {

namespace {

// A pseudo-group has no members of its own to edit, and an address-book group the
// application may not read has none it could show or change.
bool offersMemberEditing(const GroupObject& group)
{
    return Utility::sharedUtility().canChangeGroup(group);
}

} // namespace

std::vector<std::string> GroupMenu::buttonTitleKeys(const GroupObject& group)
{
    std::vector<std::string> keys;
    if (!Utility::isiTouch())
        keys.push_back("SendGroupSMSTitle");
    keys.push_back("SendGroupMailTitle");
    if (offersMemberEditing(group))
        keys.push_back("GroupMembersEditTitle");
    return keys;
}

int GroupMenu::sheetTag(const GroupObject& group)
{
    return offersMemberEditing(group) ? kRealGroupSheetTag : kPseudoGroupSheetTag;
}

GroupMenu::Action GroupMenu::actionForButtonIndex(const GroupObject& group, int buttonIndex)
{
    // Member editing sits where a pseudo-group's menu has its cancel button, so the group is
    // asked again rather than trusting the index.
    Action memberEditing = offersMemberEditing(group) ? Action::EditMembers : Action::None;
    if (Utility::isiTouch()) {
        switch (buttonIndex) {
        case 0: return Action::SendGroupMail;
        case 1: return memberEditing;
        default: return Action::None;
        }
    }
    switch (buttonIndex) {
    case 0: return Action::SendGroupSMS;
    case 1: return Action::SendGroupMail;
    case 2: return memberEditing;
    default: return Action::None;
    }
}

std::shared_ptr<ui::ActionSheet> GroupMenu::show(const GroupObject& group, ui::ActionSheetDelegate* delegate)
{
    std::vector<std::string> titles;
    for (const auto& key : buttonTitleKeys(group))
        titles.push_back(foundation::localized(key));
    auto sheet = std::make_shared<ui::ActionSheet>(Utility::sharedUtility().getGroupName(group), delegate,
                                                   foundation::localized("CancelButtonTitle"), std::string(), titles);
    sheet->setTag(sheetTag(group));
    sheet->setAccessibilityIdentifier("groups.menu");
    // A menu needs a screen to appear on; without a key window nothing is shown.
    if (auto* window = ui::Application::shared().keyWindow())
        sheet->showInView(*window);
    return sheet;
}

} // namespace tessaro
