#include "platform/foundation/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace foundation {

namespace {

bool fail(std::string* error, std::string reason)
{
    if (error)
        *error = std::move(reason);
    return false;
}

std::string because(const std::filesystem::path& file, int code)
{
    return "cannot write " + file.string() + ": " + std::strerror(code);
}

// The file a path names once its symbolic links are followed; a link to a file that does not
// exist yet names that file.
bool followLinks(std::filesystem::path file, std::filesystem::path& resolved, std::string* error)
{
    for (int hop = 0; hop < 40; ++hop) {
        struct stat status { };
        if (::lstat(file.c_str(), &status) != 0) {
            if (errno != ENOENT)
                return fail(error, because(file, errno));
            resolved = file;
            return true;
        }
        if (!S_ISLNK(status.st_mode)) {
            resolved = file;
            return true;
        }
        std::error_code failure;
        std::filesystem::path target = std::filesystem::read_symlink(file, failure);
        if (failure)
            return fail(error, because(file, failure.value()));
        file = target.is_absolute() ? target : file.parent_path() / target;
    }
    return fail(error, because(file, ELOOP));
}

bool writeAll(int descriptor, std::string_view bytes, int& code)
{
    while (!bytes.empty()) {
        ssize_t written = ::write(descriptor, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            code = errno;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

} // namespace

bool AtomicFile::write(const std::filesystem::path& file, std::string_view bytes, std::string* error)
{
    std::filesystem::path target;
    if (!followLinks(file, target, error))
        return false;

    struct stat existing { };
    bool exists = ::stat(target.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode))
        return fail(error, because(file, EISDIR));
    if (exists && S_ISSOCK(existing.st_mode))
        return fail(error, "cannot write " + file.string() + ": it is a socket");
    int code = 0;
    if (exists && !S_ISREG(existing.st_mode)) {
        // A pipe, a terminal or a device is what the user asked to write to; it cannot be
        // replaced, only written.
        int descriptor = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (descriptor < 0)
            return fail(error, because(file, errno));
        bool written = writeAll(descriptor, bytes, code);
        if (::close(descriptor) != 0 && written) {
            written = false;
            code = errno;
        }
        return written || fail(error, because(file, code));
    }

    std::filesystem::path folder = target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
    static std::atomic<unsigned> s_counter { 0 };
    std::string partialName = "." + target.filename().string() + ".partial-" + std::to_string(::getpid()) + "-"
        + std::to_string(s_counter++);
    std::filesystem::path partial = folder / partialName;

    // An unnamed file leaves nothing behind when the program is killed while writing.
    bool named = false;
    int descriptor = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (descriptor < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        descriptor = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        named = descriptor >= 0;
    }
    if (descriptor < 0)
        return fail(error, because(file, errno));
    auto giveUp = [&](int reason) {
        ::close(descriptor);
        if (named)
            ::unlink(partial.c_str());
        return fail(error, because(file, reason));
    };

    if (!writeAll(descriptor, bytes, code))
        return giveUp(code);
    // Contacts are private: a new file is its owner's alone, a replaced one keeps what its
    // owner chose.
    if (::fchmod(descriptor, exists ? (existing.st_mode & 07777) : 0600) != 0)
        return giveUp(errno);
    if (exists && (existing.st_uid != ::geteuid() || existing.st_gid != ::getegid()))
        (void)::fchown(descriptor, existing.st_uid, existing.st_gid);
    if (::fsync(descriptor) != 0)
        return giveUp(errno);
    if (!named) {
        std::string self = "/proc/self/fd/" + std::to_string(descriptor);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, partial.c_str(), AT_SYMLINK_FOLLOW) != 0)
            return giveUp(errno);
        named = true;
    }
    if (::close(descriptor) != 0) {
        code = errno;
        ::unlink(partial.c_str());
        return fail(error, because(file, code));
    }
    if (::rename(partial.c_str(), target.c_str()) != 0) {
        code = errno;
        ::unlink(partial.c_str());
        return fail(error, because(file, code));
    }
    // The new name itself reaches the disk with the folder.
    int folderDescriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderDescriptor >= 0) {
        (void)::fsync(folderDescriptor);
        ::close(folderDescriptor);
    }
    return true;
}

} // namespace foundation
