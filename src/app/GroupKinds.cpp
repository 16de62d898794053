#include "app/GroupKinds.h"

#include "store/DecimalText.h"

namespace tessaro {

int GroupKinds::intValue(std::string_view text)
{
    return DecimalText::intValue(text);
}

bool GroupKinds::isPseudoGroup(const GroupObject& group)
{
    int number = intValue(group.groupID);
    return number == -1 || number == -2 || group.groupID == kNoNumberGroupID || group.groupID == kNoEmailGroupID;
}

bool GroupKinds::isLocalGroup(const GroupObject& group)
{
    return !isPseudoGroup(group) && group.groupType == kLocalGroupType;
}

bool GroupKinds::isAddressBookGroup(const GroupObject& group)
{
    return !isPseudoGroup(group) && group.groupType != kLocalGroupType;
}

GroupObject GroupKinds::pseudoGroup(std::string_view groupID)
{
    GroupObject group;
    group.groupID = std::string(groupID);
    return group;
}

} // namespace tessaro
