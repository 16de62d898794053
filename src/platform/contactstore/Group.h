#pragma once
// A group of the address book: a name and an ordered list of member persons of the same
// source. Membership changes, like every change, stay pending until the address book saves.

#include "platform/contactstore/Record.h"

#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace contactstore {

class Group final : public Record {
public:
    // A new group outside any address book, in the given source (the book's local source
    // when none). AddressBook::addRecord puts it in.
    static GroupRef create();
    static GroupRef createInSource(const SourceRef& source);

    Group();

    RecordType recordType() const override { return kGroupType; }
    PropertyType typeOfProperty(PropertyID property) const override;
    std::optional<std::string> copyCompositeName() const override;

    SourceRef copySource() const { return m_source; }

    // Members in the order they joined.
    std::vector<PersonRef> copyArrayOfAllMembers() const;
    // Members sorted by the address book's collation of the current language: by first
    // name then last name (ByFirstName), or the other way round; phonetic names stand in
    // for the names they spell.
    std::vector<PersonRef> copyArrayOfAllMembersWithSortOrdering(SortOrdering ordering) const;
    bool hasMember(const Person& person) const;
    std::size_t memberCount() const { return m_members.size(); }

    // Adds a person of the same source. The person must be in the group's address book (a
    // person of another handle is matched by identifier). Adding a member again succeeds
    // and changes nothing. False with an error otherwise.
    [[nodiscard]] bool addMember(const PersonRef& person, Error* error = nullptr);
    // False with NotAMember when the person is not in the group.
    [[nodiscard]] bool removeMember(const PersonRef& person, Error* error = nullptr);

    // For a new group found or made by name (an import's categories): when it is saved and
    // its account already holds a group of that name (another program may have just made
    // it), the members join that group instead of a second group of the same name.
    void setJoinsStoredGroupOfSameName(bool joins) { m_joinsNamesake = joins; }

private:
    friend class AddressBook;
    friend class AddressBookDatabase;

    // The group's own-book counterpart of a person, or null.
    PersonRef resolve(const PersonRef& person) const;
    void dropMember(const Person* person);
    // Drops every member among the persons, in one pass over the members.
    void dropMembers(const std::unordered_set<const Person*>& persons);
    // Records that a member left: undoes an unsaved joining, else remembers the removal.
    void noteLeft(const PersonRef& member);

    SourceRef m_source;
    std::vector<PersonRef> m_members;
    // Membership changes since the handle loaded or last saved. A save applies just these
    // to the stored members, so that members another handle added or removed meanwhile
    // stay as that handle left them.
    std::vector<PersonRef> m_joined;
    std::vector<RecordID> m_left;
    bool m_joinsNamesake { false };
};

} // namespace contactstore
