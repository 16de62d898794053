#pragma once
// The persons the group screens show for a catalogue entry, read live from the address book
// and the database on every call: all persons, the persons in no group, the persons without
// a phone number or mail address, a local group's members (those that still exist) or an
// address-book group's members. Nothing is kept between calls; every list is new and
// belongs to the caller.
//
// "In no group" means in none of the real groups of a fresh catalogue, local or address-book.
// The answer is what taking each member of each group out of a copy of all persons leaves,
// found by one pass over the persons against the set of everyone grouped, so that 50,000
// persons in 500 groups take milliseconds.

#include "addressbook/Contact.h"
#include "store/GroupObject.h"

#include <cstddef>
#include <vector>

namespace tessaro {

class GroupPersons {
public:
    GroupPersons() = delete;

    // The persons of the entry, in the order the group screens read them (the address
    // book's order, the local member rows' order, or the address-book group's sorted order).
    static std::vector<Contact> personsOfGroup(const GroupObject& group);

    // Every person in no real group, in the address book's order.
    static std::vector<Contact> noGroupContacts();
    static std::size_t noGroupContactsCount();

    // How many persons a real group holds right now: its local member rows whose persons
    // still exist, or the address-book group's members (0 when the group is gone).
    static std::size_t memberCount(const GroupObject& group);
};

} // namespace tessaro
