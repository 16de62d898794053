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
#include <functional>
#include <string>
#include <string_view>
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

    // The stored book of a folder, read straight from its file and written one card at a
    // time, so that a book of any size is written in the memory of a few cards: the same
    // cards as exportToFile of a handle on it. `write` takes each piece of text in turn and
    // answers false when it could not take it (the export then stops with its `error`).
    [[nodiscard]] static ExportResult exportStore(const std::filesystem::path& directory,
        const std::function<bool(std::string_view text, std::string& error)>& write,
        CardWriter::Version version = CardWriter::Version::V3);
    // exportStore into a file that appears complete or not at all.
    [[nodiscard]] static ExportResult exportStoreToFile(const std::filesystem::path& directory,
        const std::filesystem::path& file, CardWriter::Version version = CardWriter::Version::V3);

    // A card identifier ("urn:uuid:...") for a record of a book, stable across exports.
    static std::string uidFor(const AddressBook& book, const Record& record);
    static std::string uidFor(const std::filesystem::path& databasePath, RecordType type, RecordID recordID);
};

} // namespace contactstore::vcard
