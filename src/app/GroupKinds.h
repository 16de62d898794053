#pragma once
// How the group screens tell the kinds of catalogue entries apart. A GroupObject is a
// pseudo-group when its identifier reads as the integer -1 or -2 or is the text "-100" or
// "-101"; otherwise a local group when its groupType is 1, else an address-book group. Only
// real groups (local and address-book) can have members edited, be renamed, recoloured,
// reordered, deleted, or receive moved persons.

#include "store/GroupObject.h"

#include <string_view>

namespace tessaro {

class GroupKinds {
public:
    GroupKinds() = delete;

    // The pseudo-identifiers: all contacts, contacts in no group, contacts without a phone
    // number, contacts without a mail address.
    static constexpr std::string_view kAllContactsGroupID = "-1";
    static constexpr std::string_view kNoGroupGroupID = "-2";
    static constexpr std::string_view kNoNumberGroupID = "-100";
    static constexpr std::string_view kNoEmailGroupID = "-101";

    static constexpr int kLocalGroupType = 1;

    // The integer a group identifier starts with, read exactly as the database reads it
    // (DecimalText::intValue), so the screens and the stored rows agree on which group it is.
    static int intValue(std::string_view text);

    static bool isPseudoGroup(const GroupObject& group);
    static bool isLocalGroup(const GroupObject& group);
    static bool isAddressBookGroup(const GroupObject& group);
    // A group whose members, name, colour and place the user may change.
    static bool isRealGroup(const GroupObject& group) { return !isPseudoGroup(group); }

    // A fresh entry for a pseudo-group, with every other field at its default.
    static GroupObject pseudoGroup(std::string_view groupID);
};

} // namespace tessaro
