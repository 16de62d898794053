#pragma once
// What one handle sees: its records and the removals it has not saved yet. Persons and
// groups are kept in identifier order; additions not yet saved (no identifier) sit at the
// end, and saving gives them identifiers above every earlier one, so the order holds.
// Persons read from the file live in one contiguous block that their references share.

#include "platform/contactstore/Constants.h"
#include "platform/contactstore/Forward.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace contactstore {

struct AddressBookContents {
    std::vector<PersonRef> people;
    std::vector<GroupRef> groups;
    std::vector<SourceRef> sources;
    // Saved records taken out through this handle, to be deleted from the file.
    std::vector<RecordID> removedPeople;
    std::vector<RecordID> removedGroups;
};

// Identifiers compared as unsigned numbers: the unsaved (kRecordInvalidID, -1) then sort after
// every saved one, just as they sit in the lists.
inline std::uint32_t recordOrder(RecordID recordID)
{
    return static_cast<std::uint32_t>(recordID);
}

// Where a record with the identifier is, or would go, in an identifier-ordered list.
template <typename Ref>
typename std::vector<Ref>::const_iterator recordPosition(const std::vector<Ref>& records, RecordID recordID)
{
    return std::lower_bound(records.begin(), records.end(), recordOrder(recordID), [](const Ref& record, std::uint32_t wanted) {
        return recordOrder(record->recordID()) < wanted;
    });
}

// The saved record with the identifier in an identifier-ordered list, or null.
template <typename Ref>
Ref findRecord(const std::vector<Ref>& records, RecordID recordID)
{
    if (recordID == kRecordInvalidID)
        return nullptr;
    auto found = recordPosition(records, recordID);
    return found != records.end() && (*found)->recordID() == recordID ? *found : nullptr;
}

} // namespace contactstore
