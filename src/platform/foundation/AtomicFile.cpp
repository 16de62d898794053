#include "platform/foundation/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

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
    AtomicFile whole(file);
    return whole.open(error) && whole.append(bytes, error) && whole.commit(error);
}

AtomicFile::AtomicFile(std::filesystem::path file)
    : m_file(std::move(file))
{
}

AtomicFile::~AtomicFile()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    if (m_named)
        ::unlink(m_partial.c_str());
}

bool AtomicFile::giveUp(int reason, std::string* error)
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
    m_descriptor = -1;
    if (m_named)
        ::unlink(m_partial.c_str());
    m_named = false;
    return fail(error, because(m_file, reason));
}

bool AtomicFile::open(std::string* error)
{
    if (!followLinks(m_file, m_target, error))
        return false;

    struct stat existing { };
    m_exists = ::stat(m_target.c_str(), &existing) == 0;
    if (m_exists && S_ISDIR(existing.st_mode))
        return fail(error, because(m_file, EISDIR));
    if (m_exists && S_ISSOCK(existing.st_mode))
        return fail(error, "cannot write " + m_file.string() + ": it is a socket");
    if (m_exists && !S_ISREG(existing.st_mode)) {
        // A pipe, a terminal or a device is what the user asked to write to; it cannot be
        // replaced, only written.
        m_descriptor = ::open(m_target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
        if (m_descriptor < 0)
            return fail(error, because(m_file, errno));
        m_direct = true;
        return true;
    }
    if (m_exists) {
        m_mode = existing.st_mode & 07777;
        m_owner = existing.st_uid;
        m_ownerGroup = existing.st_gid;
    }

    m_folder = m_target.parent_path().empty() ? std::filesystem::path(".") : m_target.parent_path();
    static std::atomic<unsigned> s_counter { 0 };
    std::string partialName = "." + m_target.filename().string() + ".partial-" + std::to_string(::getpid()) + "-"
        + std::to_string(s_counter++);
    m_partial = m_folder / partialName;

    // An unnamed file leaves nothing behind when the program is killed while writing.
    m_descriptor = ::open(m_folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (m_descriptor < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
        m_descriptor = ::open(m_partial.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        m_named = m_descriptor >= 0;
    }
    if (m_descriptor < 0)
        return fail(error, because(m_file, errno));
    return true;
}

bool AtomicFile::append(std::string_view bytes, std::string* error)
{
    if (m_descriptor < 0)
        return fail(error, because(m_file, EBADF));
    int code = 0;
    return writeAll(m_descriptor, bytes, code) || giveUp(code, error);
}

bool AtomicFile::commit(std::string* error)
{
    if (m_descriptor < 0)
        return fail(error, because(m_file, EBADF));
    int code = 0;
    if (m_direct) {
        int descriptor = std::exchange(m_descriptor, -1);
        return ::close(descriptor) == 0 || fail(error, because(m_file, errno));
    }
    // Contacts are private: a new file is its owner's alone, a replaced one keeps what its
    // owner chose.
    if (::fchmod(m_descriptor, m_mode) != 0)
        return giveUp(errno, error);
    if (m_exists && (m_owner != ::geteuid() || m_ownerGroup != ::getegid()))
        (void)::fchown(m_descriptor, m_owner, m_ownerGroup);
    if (::fsync(m_descriptor) != 0)
        return giveUp(errno, error);
    if (!m_named) {
        std::string self = "/proc/self/fd/" + std::to_string(m_descriptor);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, m_partial.c_str(), AT_SYMLINK_FOLLOW) != 0)
            return giveUp(errno, error);
        m_named = true;
    }
    int descriptor = std::exchange(m_descriptor, -1);
    if (::close(descriptor) != 0)
        return giveUp(errno, error);
    if (::rename(m_partial.c_str(), m_target.c_str()) != 0) {
        code = errno;
        return giveUp(code, error);
    }
    m_named = false;
    // The new name itself reaches the disk with the folder.
    int folderDescriptor = ::open(m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderDescriptor >= 0) {
        (void)::fsync(folderDescriptor);
        ::close(folderDescriptor);
    }
    return true;
}

} // namespace foundation
