#pragma once
// The menu of one group, shown from a group row's menu button in the group list and from
// the group contacts' bar: one text message to the group, one mail to the group, and member
// editing. A device that cannot send text messages (an iPod touch) offers no text message,
// and a pseudo-group (or an address-book group the application may not read) offers no
// member editing, so the same button index means different things on different devices;
// the answer to a touch is therefore decided here, in one place, from the same facts the
// buttons were made from.

#include "store/GroupObject.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {
class ActionSheet;
class ActionSheetDelegate;
} // namespace ui

namespace tessaro {

class GroupMenu {
public:
    GroupMenu() = delete;

    enum class Action { None, SendGroupSMS, SendGroupMail, EditMembers };

    // The sheet's tag: 1 for a pseudo-group, 2 for a real group. An address-book group that
    // cannot be read while access to the contacts is refused gets a pseudo-group's menu.
    static constexpr int kPseudoGroupSheetTag = 1;
    static constexpr int kRealGroupSheetTag = 2;

    // The strings-table keys of the buttons before the cancel button, in button order.
    static std::vector<std::string> buttonTitleKeys(const GroupObject& group);
    static int sheetTag(const GroupObject& group);
    // What the touched button (the platform's button index) asks for.
    static Action actionForButtonIndex(const GroupObject& group, int buttonIndex);

    // Opens what the touched button asks for on the screen that showed the menu.
    template <class Screen>
    static void perform(const GroupObject& group, int buttonIndex, Screen& screen)
    {
        switch (actionForButtonIndex(group, buttonIndex)) {
        case Action::SendGroupSMS:
            screen.showSendGroupSmsView();
            break;
        case Action::SendGroupMail:
            screen.showSendGroupMailView();
            break;
        case Action::EditMembers:
            screen.showMemberEditView();
            break;
        case Action::None:
            break;
        }
    }

    // The sheet for the group, titled with its display name, cancel last; shown over the
    // key window. The delegate hears the touch.
    static std::shared_ptr<ui::ActionSheet> show(const GroupObject& group, ui::ActionSheetDelegate* delegate);
};

} // namespace tessaro
