#include "screens/groups/GroupRowPieces.h"

#include "addressbook/AddressBookGroup.h"
#include "app/GroupKinds.h"
#include "app/Utility.h"
#include "platform/ui/Label.h"
#include "store/DataManager.h"

namespace tessaro {

ui::Color GroupRowPieces::nameColor(const GroupObject& group)
{
    return Utility::getGroupColorwithIndex(group.colorIndex).value_or(ui::Color::blackColor());
}

int GroupRowPieces::memberCount(const GroupObject& group)
{
    int identifier = GroupKinds::intValue(group.groupID);
    if (GroupKinds::isLocalGroup(group))
        return static_cast<int>(DataManager::sharedDataBase().selectLocalGroupMemberWithID(identifier).size());
    auto addressBookGroup = AddressBookGroup::groupWithRecordID(identifier);
    return addressBookGroup ? static_cast<int>(addressBookGroup->members().size()) : 0;
}

std::shared_ptr<ui::Label> GroupRowPieces::nameLabel(const ui::Rect& frame, const GroupObject& group, double fontSize)
{
    auto label = std::make_shared<ui::Label>(frame);
    label->setFont(ui::Font::boldSystemFontOfSize(fontSize));
    label->setBackgroundColor(ui::Color::clearColor());
    label->setText(Utility::sharedUtility().getGroupName(group));
    label->setTextColor(nameColor(group));
    return label;
}

std::shared_ptr<ui::Label> GroupRowPieces::countBadge(const ui::Rect& frame, int count)
{
    auto badge = std::make_shared<ui::Label>(frame);
    badge->setFont(ui::Font::systemFontOfSize(14));
    badge->setTextColor(ui::Color::whiteColor());
    badge->setTextAlignment(ui::TextAlignment::Center);
    badge->setAdjustsFontSizeToFitWidth(true);
    badge->setBackgroundColor(ui::Color::lightGrayColor());
    badge->setText(std::to_string(count));
    return badge;
}

std::shared_ptr<ui::Label> GroupRowPieces::localTag(double x)
{
    auto tag = std::make_shared<ui::Label>(ui::Rect { x, 1, 100, 8 });
    tag->setFont(ui::Font::systemFontOfSize(8));
    tag->setTextColor(ui::Color::redColor());
    tag->setBackgroundColor(ui::Color::clearColor());
    tag->setText("  Local");
    return tag;
}

} // namespace tessaro
