#pragma once
// One table of localized texts in the handset's format:
//
//     /* a comment */  // another comment
//     "Key" = "Value";
//
// with the escapes \" \\ \n \t \r \' \0 and \Uxxxx / \uxxxx (a UTF-16 unit; a surrogate
// pair makes one character). Keys may be bare words. A later entry for the same key
// replaces the earlier one. A text that breaks the format is reported by line; everything
// before the fault is kept, so one broken line does not blank the whole application.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {

class StringsTable {
public:
    StringsTable() = default;

    // Parses the text; problems go to errors (one line each, "line N: ...").
    static StringsTable parse(std::string_view text, std::vector<std::string>* errors = nullptr);
    // Reads and parses a file; a missing or unreadable file gives an empty table and an error.
    static StringsTable load(const std::filesystem::path& file, std::vector<std::string>* errors = nullptr);

    // The text of the key; empty when the key is missing.
    std::string lookup(std::string_view key) const;
    bool contains(std::string_view key) const;
    std::size_t size() const { return m_entries.size(); }
    const std::map<std::string, std::string, std::less<>>& entries() const { return m_entries; }

private:
    std::map<std::string, std::string, std::less<>> m_entries;
};

} // namespace foundation
