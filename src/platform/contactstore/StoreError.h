#pragma once
// What went wrong in an address-book call. Calls that can fail return false (or nothing) and,
// when the caller passes one, fill an Error; they never throw.

#include <string>
#include <utility>

namespace contactstore {

enum class ErrorCode {
    None = 0,
    AccessDenied,          // the user refused the application access to the address book
    NotInAddressBook,      // the record is not (or no longer) in this address book
    WrongRecordType,       // e.g. a group where a person is needed
    UnknownProperty,       // the property does not exist on this kind of record
    WrongValueType,        // the value does not have the property's type
    ReadOnlyProperty,      // the store keeps this property itself
    DifferentSource,       // a person and a group of different accounts
    NotAMember,            // the person is not in the group
    StorageFailed,         // the file could not be opened, read or written
    OutOfIdentifiers,      // every record identifier has been handed out
    Damaged,               // the file is damaged or another program's; it is left untouched
    ValueTooLong,          // a text longer than a record may hold
};

struct Error {
    ErrorCode code { ErrorCode::None };
    // One sentence for people, shown in alerts and written to the log.
    std::string description;

    const std::string& localizedDescription() const { return description; }
    explicit operator bool() const { return code != ErrorCode::None; }
};

// Fills the caller's error when one was passed; for the store's own calls.
inline void reportError(Error* out, ErrorCode code, std::string description)
{
    if (out) {
        out->code = code;
        out->description = std::move(description);
    }
}

} // namespace contactstore
