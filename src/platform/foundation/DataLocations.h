#pragma once
// Where the program keeps its files: one profile folder, by default
// $XDG_DATA_HOME/tessaro (~/.local/share/tessaro), or the folder given with --profile.

#include <filesystem>

namespace foundation {

class DataLocations {
public:
    // The profile folder in force; the default until setProfileDirectory is called.
    static std::filesystem::path profileDirectory();
    static void setProfileDirectory(const std::filesystem::path& directory);

    // Documents/ — the application's database lives here.
    static std::filesystem::path documentsDirectory();
    // AddressBook/ — the device's contact store.
    static std::filesystem::path addressBookDirectory();
    // Keychain/ — secrets kept with owner-only permissions.
    static std::filesystem::path keychainDirectory();
    // tessaro.log — the running application's diagnostic lines.
    static std::filesystem::path logFile();

    // Creates the folder (and its parents) when missing; false when it cannot be made.
    [[nodiscard]] static bool ensureDirectory(const std::filesystem::path& directory);
};

} // namespace foundation
