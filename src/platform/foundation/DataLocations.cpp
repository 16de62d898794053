#include "platform/foundation/DataLocations.h"

#include <cstdlib>
#include <mutex>
#include <optional>
#include <system_error>

namespace foundation {

namespace {

std::mutex g_mutex;
std::optional<std::filesystem::path> g_profile;

std::filesystem::path defaultProfile()
{
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return std::filesystem::path(xdg) / "tessaro";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".local" / "share" / "tessaro";
    return std::filesystem::current_path() / "tessaro-profile";
}

} // namespace

std::filesystem::path DataLocations::profileDirectory()
{
    std::lock_guard lock(g_mutex);
    if (!g_profile)
        g_profile = defaultProfile();
    return *g_profile;
}

void DataLocations::setProfileDirectory(const std::filesystem::path& directory)
{
    std::lock_guard lock(g_mutex);
    g_profile = directory;
}

std::filesystem::path DataLocations::documentsDirectory()
{
    return profileDirectory() / "Documents";
}

std::filesystem::path DataLocations::addressBookDirectory()
{
    return profileDirectory() / "AddressBook";
}

std::filesystem::path DataLocations::keychainDirectory()
{
    return profileDirectory() / "Keychain";
}

std::filesystem::path DataLocations::logFile()
{
    return profileDirectory() / "tessaro.log";
}

bool DataLocations::ensureDirectory(const std::filesystem::path& directory)
{
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    return std::filesystem::is_directory(directory, error);
}

} // namespace foundation
