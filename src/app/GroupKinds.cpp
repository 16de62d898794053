#include "app/GroupKinds.h"

#include <climits>
#include <cstdint>

namespace tessaro {

int GroupKinds::intValue(std::string_view text)
{
    std::size_t position = 0;
    while (position < text.size() && (text[position] == ' ' || text[position] == '\t' || text[position] == '\n'))
        ++position;
    bool negative = false;
    if (position < text.size() && (text[position] == '+' || text[position] == '-')) {
        negative = text[position] == '-';
        ++position;
    }
    std::int64_t value = 0;
    while (position < text.size() && text[position] >= '0' && text[position] <= '9') {
        value = value * 10 + (text[position] - '0');
        if (value > std::int64_t(INT_MAX) + 1)
            value = std::int64_t(INT_MAX) + 1;
        ++position;
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<int>(value);
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
