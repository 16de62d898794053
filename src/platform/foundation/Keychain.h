#pragma once
// The handset's keychain, as far as the application uses it: generic-password items, each
// found by its service and account, kept in the profile's Keychain/ folder. The folder is
// the owner's alone (0700) and every item a file only the owner can read (0600). An item is
// written to a private temporary file first and then linked into place, so a reader never
// sees half an item, and of two writers racing for the same item the first one wins and
// the second is told so.
//
// Main thread or not: every call touches only the file system and may run on any thread.

#include <optional>
#include <string>
#include <string_view>

namespace foundation {

class Keychain {
public:
    Keychain() = delete;

    // The item's value, or empty when there is none or it cannot be read.
    static std::optional<std::string> genericPassword(std::string_view service, std::string_view account);
    // Adds the item. False when the item exists already (the stored value stays) or the
    // folder or file cannot be written.
    [[nodiscard]] static bool addGenericPassword(std::string_view service, std::string_view account,
                                                 std::string_view value);
    // Deletes the item; false when there was none.
    static bool deleteGenericPassword(std::string_view service, std::string_view account);
};

} // namespace foundation
