#pragma once
// A source: one account that holds persons and groups (the device itself, an Exchange
// server, a CardDAV server, ...). Its type decides which operations the application offers.

#include "platform/contactstore/Record.h"

#include <optional>
#include <string>

namespace contactstore {

class Source final : public Record {
public:
    // A new account outside any address book; AddressBook::addRecord puts it in.
    static SourceRef create(SourceType type, std::optional<std::string> name = std::nullopt);

    Source();

    RecordType recordType() const override { return kSourceType; }
    PropertyType typeOfProperty(PropertyID property) const override;
    std::optional<std::string> copyCompositeName() const override;

    SourceType sourceType() const;
};

} // namespace contactstore
