#include "platform/contactstore/vcard/VcardCommands.h"

#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/vcard/BookExporter.h"
#include "platform/contactstore/vcard/BookImporter.h"
#include "platform/contactstore/vcard/CardWriter.h"
#include "platform/foundation/DataLocations.h"

#include <filesystem>
#include <optional>
#include <system_error>

namespace contactstore::vcard {

namespace {

// A file of 50,000 cards can warn about thousands of values; the first ones tell the story.
constexpr std::size_t kShownWarnings = 20;

void printImportFaults(const ImportResult& result, std::FILE* err)
{
    for (std::size_t i = 0; i < result.warnings.size() && i < kShownWarnings; ++i)
        std::fprintf(err, "warning: %s\n", result.warnings[i].c_str());
    if (result.warnings.size() > kShownWarnings)
        std::fprintf(err, "warning: ... and %zu more\n", result.warnings.size() - kShownWarnings);
    for (const std::string& error : result.errors)
        std::fprintf(err, "error: %s\n", error.c_str());
}

// Standard input as one text; none when it holds more than a vCard file may.
std::optional<std::string> readAll(std::FILE* in, std::size_t limit)
{
    std::string text;
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, in)) > 0) {
        text.append(buffer, got);
        if (text.size() > limit)
            return std::nullopt;
    }
    return text;
}

} // namespace

int VcardCommands::runImport(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err, std::FILE* in)
{
    if (arguments.empty()) {
        std::fprintf(err, "usage: tessaro import FILE...\n");
        return 2;
    }
    // Every file is looked at before the address book is opened: an import that cannot
    // succeed (a missing file, a file with no card) leaves a new profile without an address
    // book. The cards then go into the store one by one, in one transaction.
    std::vector<BookImporter::Input> inputs;
    for (const std::string& file : arguments) {
        if (file != "-") {
            inputs.push_back({ file, file, std::nullopt });
        } else if (auto text = readAll(in, CardReader::Limits {}.maxInputBytes)) {
            inputs.push_back({ "standard input", {}, std::move(*text) });
        } else {
            std::fprintf(err, "error: standard input: is larger than a vCard file may be\n");
            std::fprintf(err, "nothing was imported\n");
            return 1;
        }
    }
    const ImportResult result = BookImporter::importIntoStore(foundation::DataLocations::addressBookDirectory(), inputs);
    printImportFaults(result, err);
    if (!result.ok()) {
        std::fprintf(err, "nothing was imported\n");
        return 1;
    }
    std::fprintf(out, "imported %zu persons and %zu new groups", result.personsAdded, result.groupsCreated);
    if (result.groupsExtended > 0)
        std::fprintf(out, " (and added members to %zu groups already there)", result.groupsExtended);
    std::fprintf(out, "\n");
    return 0;
}

int VcardCommands::runExport(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err)
{
    std::string file;
    CardWriter::Version version = CardWriter::Version::V3;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (arguments[i] == "--vcard-version" && i + 1 < arguments.size()) {
            const std::string& wanted = arguments[++i];
            if (wanted == "3.0" || wanted == "3") {
                version = CardWriter::Version::V3;
            } else if (wanted == "4.0" || wanted == "4") {
                version = CardWriter::Version::V4;
            } else {
                std::fprintf(err, "error: vCard version %s cannot be written; 3.0 or 4.0\n", wanted.c_str());
                return 2;
            }
        } else if (file.empty()) {
            file = arguments[i];
        } else {
            file.clear();
            break;
        }
    }
    if (file.empty()) {
        std::fprintf(err, "usage: tessaro export FILE [--vcard-version 3.0|4.0]\n");
        return 2;
    }
    // A profile without an address book (a --profile forgotten or mistyped) would otherwise
    // get an empty one made, and the named file, perhaps a good export, replaced by nothing.
    const std::filesystem::path directory = foundation::DataLocations::addressBookDirectory();
    const auto storeFile = directory / AddressBook::kDatabaseFileName;
    if (std::error_code ignored; !std::filesystem::exists(storeFile, ignored)) {
        std::fprintf(err, "error: there is no address book at %s; nothing was exported\n", storeFile.c_str());
        return 1;
    }
    // Written straight from the store's file, one card at a time: a book of any size is
    // written in the memory of a few cards.
    if (file == "-") {
        bool written = true;
        const ExportResult result = BookExporter::exportStore(directory, [&](std::string_view text, std::string& error) {
            written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
            if (!written)
                error = "the cards could not be written to standard output";
            return written;
        }, version);
        if (result.ok() && std::fflush(out) != 0) {
            std::fprintf(err, "error: the cards could not be written to standard output\n");
            return 1;
        }
        if (!result.ok()) {
            std::fprintf(err, "error: %s\n", result.error.c_str());
            return 1;
        }
        return 0;
    }
    const ExportResult result = BookExporter::exportStoreToFile(directory, file, version);
    if (!result.ok()) {
        std::fprintf(err, "error: %s\n", result.error.c_str());
        return 1;
    }
    std::fprintf(out, "exported %zu persons and %zu groups to %s\n", result.persons, result.groups, file.c_str());
    return 0;
}

} // namespace contactstore::vcard
