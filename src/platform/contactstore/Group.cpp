#include "platform/contactstore/Group.h"

#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/NameFormat.h"
#include "platform/contactstore/Person.h"
#include "platform/contactstore/Source.h"

#include <algorithm>

namespace contactstore {

Group::Group() = default;

GroupRef Group::create()
{
    return std::make_shared<Group>();
}

GroupRef Group::createInSource(const SourceRef& source)
{
    auto group = create();
    group->m_source = source;
    if (source)
        group->m_book = source->addressBook();
    return group;
}

PropertyType Group::typeOfProperty(PropertyID property) const
{
    return property == kGroupNameProperty ? PropertyType::String : PropertyType::Invalid;
}

std::optional<std::string> Group::copyCompositeName() const
{
    return copyString(kGroupNameProperty);
}

std::vector<PersonRef> Group::copyArrayOfAllMembers() const
{
    return m_members;
}

std::vector<PersonRef> Group::copyArrayOfAllMembersWithSortOrdering(SortOrdering ordering) const
{
    return NameFormat::sortedPeople(m_members, ordering);
}

bool Group::hasMember(const Person& person) const
{
    return std::any_of(m_members.begin(), m_members.end(), [&person](const PersonRef& member) {
        return member.get() == &person
            || (person.recordID() != kRecordInvalidID && member->recordID() == person.recordID());
    });
}

PersonRef Group::resolve(const PersonRef& person) const
{
    auto book = m_book.lock();
    if (!person || !book)
        return nullptr;
    if (person->addressBook() == book && book->belongsHere(*person))
        return person;
    if (person->recordID() != kRecordInvalidID)
        return book->personWithRecordID(person->recordID());
    return nullptr;
}

namespace {

bool sameSource(const SourceRef& first, const SourceRef& second)
{
    if (first == second)
        return true;
    return first && second && first->recordID() != kRecordInvalidID && first->recordID() == second->recordID();
}

} // namespace

bool Group::addMember(const PersonRef& person, Error* error)
{
    auto book = m_book.lock();
    if (!book || (!book->belongsHere(*this) && !(m_source && book->belongsHere(*m_source)))) {
        reportError(error, ErrorCode::NotInAddressBook, "The group is not in an address book.");
        return false;
    }
    PersonRef member = resolve(person);
    if (!member) {
        reportError(error, ErrorCode::NotInAddressBook, "The person is not in the group's address book.");
        return false;
    }
    SourceRef groupSource = m_source ? m_source : book->copyDefaultSource();
    if (!sameSource(member->copySource(), groupSource)) {
        reportError(error, ErrorCode::DifferentSource, "The person belongs to another account than the group.");
        return false;
    }
    if (hasMember(*member))
        return true;
    m_left.erase(std::remove(m_left.begin(), m_left.end(), member->recordID()), m_left.end());
    m_joined.push_back(member);
    m_members.push_back(std::move(member));
    markChanged();
    return true;
}

void Group::noteLeft(const PersonRef& member)
{
    auto joined = std::find(m_joined.begin(), m_joined.end(), member);
    if (joined != m_joined.end())
        m_joined.erase(joined);
    else if (member->recordID() != kRecordInvalidID)
        m_left.push_back(member->recordID());
}

bool Group::removeMember(const PersonRef& person, Error* error)
{
    PersonRef member = resolve(person);
    auto found = member ? std::find(m_members.begin(), m_members.end(), member) : m_members.end();
    if (found == m_members.end()) {
        reportError(error, ErrorCode::NotAMember, "The person is not a member of the group.");
        return false;
    }
    noteLeft(*found);
    m_members.erase(found);
    markChanged();
    return true;
}

void Group::dropMember(const Person* person)
{
    auto found = std::find_if(m_members.begin(), m_members.end(), [person](const PersonRef& member) { return member.get() == person; });
    if (found != m_members.end()) {
        noteLeft(*found);
        m_members.erase(found);
        markChanged();
    }
}

void Group::dropMembers(const std::unordered_set<const Person*>& persons)
{
    auto leaving = std::stable_partition(m_members.begin(), m_members.end(), [&persons](const PersonRef& member) { return !persons.count(member.get()); });
    if (leaving == m_members.end())
        return;
    for (auto member = leaving; member != m_members.end(); ++member)
        noteLeft(*member);
    m_members.erase(leaving, m_members.end());
    markChanged();
}

} // namespace contactstore
