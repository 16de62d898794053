#pragma once
// One entry of the group catalogue as a plain value: an address-book group whose colour and
// place are kept in the database, a group kept only by the application (groupType 1), or one
// of the pseudo-groups that are never stored ("-1", "-2", "-100", "-101").

#include <string>

namespace tessaro {

struct GroupObject {
    // The address-book group's record identifier, the local group's row identifier, or a
    // pseudo-identifier, as decimal text.
    std::string groupID {};
    // Position in the group list; address-book and local groups share one order.
    int sortIndex { 0 };
    // Index into the colour palette; -1 means the group has no colour.
    int colorIndex { -1 };
    // Kept with every row for older files; nothing in the application sets them.
    float colorR { 0.0f };
    float colorG { 0.0f };
    float colorB { 0.0f };
    bool isOpen { false };
    // 0 for address-book groups and pseudo-groups, 1 for local groups.
    int groupType { 0 };
    // The name of a local group; empty for every other kind, whose names live elsewhere.
    std::string localGroupName {};

    bool operator==(const GroupObject&) const = default;
};

} // namespace tessaro
