#pragma once
// Adds the persons and groups of vCard files to an address book, all of them in one save or
// none. Files are read first; lines a file's cards cannot use are skipped with a warning, and
// when any file cannot be read at all (not vCard, no card in it, cannot be decoded, too
// large) nothing at all is added and every fault is reported as "file:line: message". Groups
// come from group cards (their members named by card identifier) and from the persons'
// categories; a group whose name the book already has in its default account is reused.
//
// Holds a shared reference to the book for its own lifetime. The import saves the book, so
// changes the caller left pending in the same handle are saved with it.

#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/vcard/Card.h"
#include "platform/contactstore/vcard/CardReader.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace contactstore::vcard {

struct ImportResult {
    std::size_t personsAdded { 0 };
    std::size_t groupsCreated { 0 };
    // Groups that existed already and gained members.
    std::size_t groupsExtended { 0 };
    // "file:line: message" for each fault; any fault means nothing was added.
    std::vector<std::string> errors;
    // "file:line: message" for each value left out or card skipped.
    std::vector<std::string> warnings;

    bool ok() const { return errors.empty(); }
};

class BookImporter {
public:
    explicit BookImporter(AddressBookRef book, CardReader::Limits limits = {});

    // The book to commit into, when it was not known at construction: the files can be read
    // before the book is opened, so an import that cannot succeed creates no book.
    void setBook(AddressBookRef book) { m_book = std::move(book); }
    const CardReader::Limits& limits() const { return m_reader.limits(); }

    // Reads a file now; its faults are kept for commit to report.
    void addFile(const std::filesystem::path& file);
    // Reads text that stands for a file of the given name (used in messages).
    void addText(std::string_view text, std::string fileName);

    // Whether a file read so far had a fault (commit will add nothing).
    bool hasReadErrors() const { return !m_errors.empty(); }

    // Puts everything read into the book and saves it. Nothing is added when a file had a
    // fault, a card was refused, or the save failed; the book is then as it was.
    [[nodiscard]] ImportResult commit();

    // A file to import piece by piece: a path, or text already read (standard input).
    struct Input {
        std::string name;
        std::filesystem::path file;
        std::optional<std::string> text;
    };
    // Imports the inputs straight into the store of the folder, card by card in one
    // transaction, so that neither the files nor their persons are ever held whole in
    // memory; all or nothing, with the same faults, warnings and counts as commit(). Every
    // input is first checked to be there and to hold a card, and the store is neither
    // created nor opened when one does not.
    [[nodiscard]] static ImportResult importIntoStore(const std::filesystem::path& directory, const std::vector<Input>& inputs,
                                                      CardReader::Limits limits = {});

private:
    struct FileCards {
        std::string fileName;
        std::vector<Card> cards;
    };

    std::string where(const std::string& fileName, int line) const;

    AddressBookRef m_book;
    CardReader m_reader;
    std::vector<FileCards> m_files;
    std::vector<std::string> m_errors;
    std::vector<std::string> m_warnings;
};

} // namespace contactstore::vcard
