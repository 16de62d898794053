#pragma once
// One group of the address book as the screens handle it: its name, its members (as
// Contacts), membership changes, a new group in a suitable account, and deletion. A
// copyable value wrapping a shared group record; changes stay pending until the address
// book is saved (removeSelfFromAddressBook and AddressBookQueries::addGroup save by
// themselves, the membership screens save after changing members).
//
// The shared handle is replaced whenever the application returns to the foreground, while
// screens may still hold groups read through the old one; a saved group therefore reads and
// writes its counterpart in the handle in force, so that the next save of the shared handle
// carries the change.

#include "addressbook/Contact.h"
#include "platform/contactstore/Constants.h"
#include "platform/contactstore/Forward.h"
#include "platform/contactstore/StoreError.h"

#include <optional>
#include <string>
#include <vector>

namespace tessaro {

class AddressBookGroup {
public:
    static std::optional<AddressBookGroup> groupWithRecord(contactstore::GroupRef record);
    // The group with the identifier in the shared address book; none when there is none.
    static std::optional<AddressBookGroup> groupWithRecordID(contactstore::RecordID recordID);
    // A new group, not yet in the address book, in the first account that can hold groups
    // (local, MobileMe, CardDAV or LDAP; never Exchange); none when no account can.
    static std::optional<AddressBookGroup> group();

    const contactstore::GroupRef& record() const { return m_record; }
    contactstore::RecordID recordID() const;
    contactstore::RecordType recordType() const;
    bool isPerson() const { return recordType() == contactstore::kPersonType; }

    // The group's name; the empty text when it has none.
    std::string name() const;
    // Logs "Error: <description>" and keeps the old name when the address book refuses.
    void setName(const std::optional<std::string>& name);
    std::optional<std::string> getRecordString(contactstore::PropertyID property) const;

    std::vector<Contact> members() const;
    // 0 sorts by first name, 1 by last name.
    std::vector<Contact> membersWithSorting(int ordering) const;
    [[nodiscard]] bool addMember(const Contact& contact, contactstore::Error* error = nullptr);
    [[nodiscard]] bool removeMember(const Contact& contact, contactstore::Error* error = nullptr);

    // Removes the group from the shared address book and, only if that worked, saves.
    [[nodiscard]] bool removeSelfFromAddressBook(contactstore::Error* error = nullptr);

private:
    explicit AddressBookGroup(contactstore::GroupRef record);
    // The group as the shared handle sees it; the wrapped record when that handle does not
    // hold it (a new group, or one deleted since).
    contactstore::GroupRef live() const;

    contactstore::GroupRef m_record;
};

} // namespace tessaro
