#pragma once
// Writes a whole address book as vCard: every person in the book's order, then every group
// as a group card naming its members; each person also lists its groups as categories, for
// readers that know no group cards. The file appears complete or not at all: it is written
// beside its final name and renamed into place.

#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/vcard/Card.h"
#include "platform/contactstore/vcard/CardWriter.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace contactstore::vcard {

struct ExportResult {
    std::size_t persons { 0 };
    std::size_t groups { 0 };
    // Empty on success; otherwise why the file could not be written.
    std::string error;

    bool ok() const { return error.empty(); }
};

class BookExporter {
public:
    // Persons then groups, as cards with identifiers that stay the same from one export
    // of the same book to the next.
    static std::vector<Card> cards(const AddressBook& book);

    [[nodiscard]] static ExportResult exportToFile(const AddressBook& book, const std::filesystem::path& file,
        CardWriter::Version version = CardWriter::Version::V3);

    // A card identifier ("urn:uuid:...") for a record of a book, stable across exports.
    static std::string uidFor(const AddressBook& book, const Record& record);
};

} // namespace contactstore::vcard
