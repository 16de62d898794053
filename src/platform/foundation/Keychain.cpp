#include "platform/foundation/Keychain.h"

#include "platform/foundation/DataLocations.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace foundation {

namespace {

// Items are small: an identifier, a token. Anything longer is not one of ours.
constexpr std::size_t maximumItemSize = 64 * 1024;

// One file per item; characters a file name cannot hold become "_".
std::filesystem::path itemPath(std::string_view service, std::string_view account)
{
    std::string name;
    for (std::string_view part : { service, std::string_view("#"), account }) {
        for (char c : part) {
            bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.'
                || c == '-' || c == '_' || c == '#';
            name += plain ? c : '_';
        }
    }
    return DataLocations::keychainDirectory() / (name + ".item");
}

bool ensurePrivateFolder()
{
    auto folder = DataLocations::keychainDirectory();
    if (!DataLocations::ensureDirectory(folder))
        return false;
    return ::chmod(folder.c_str(), 0700) == 0;
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace

std::optional<std::string> Keychain::genericPassword(std::string_view service, std::string_view account)
{
    int fd = ::open(itemPath(service, account).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return std::nullopt;
    std::string value;
    char buffer[4096];
    for (;;) {
        ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0 || value.size() + static_cast<std::size_t>(got) > maximumItemSize) {
            if (got != 0)
                value.clear();
            break;
        }
        value.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    if (value.empty())
        return std::nullopt;
    return value;
}

bool Keychain::addGenericPassword(std::string_view service, std::string_view account, std::string_view value)
{
    if (!ensurePrivateFolder())
        return false;
    auto target = itemPath(service, account);
    std::string temporary = (target.parent_path() / ".new-XXXXXX").string();
    int fd = ::mkstemp(temporary.data()); // mkstemp makes the file 0600
    if (fd < 0)
        return false;
    bool written = ::fchmod(fd, 0600) == 0 && writeAll(fd, value) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    // link() refuses to replace an item that exists, unlike rename(): the first writer wins.
    bool linked = written && ::link(temporary.c_str(), target.c_str()) == 0;
    ::unlink(temporary.c_str());
    if (linked) {
        int folder = ::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folder >= 0) {
            ::fsync(folder);
            ::close(folder);
        }
    }
    return linked;
}

bool Keychain::deleteGenericPassword(std::string_view service, std::string_view account)
{
    return ::unlink(itemPath(service, account).c_str()) == 0;
}

} // namespace foundation
