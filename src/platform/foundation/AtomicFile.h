#pragma once
// Writing a whole file so that whoever reads it sees the old contents or the new, never half:
// the bytes go to an unnamed file beside the target, which takes the target's place only once
// everything reached the disk. What the user put at the path is respected: a symbolic link
// stays a link (its target is replaced), the target's permissions and owner are kept (a new
// file is readable by its owner only, since address books are private), and a pipe or a
// device (a terminal, /dev/full) is written to directly. A folder or a socket is refused.
// Every failure names its reason and leaves nothing behind.

#include <filesystem>
#include <string>
#include <string_view>

namespace foundation {

class AtomicFile {
public:
    // False with the reason ("No space left on device") when the bytes did not all arrive.
    [[nodiscard]] static bool write(const std::filesystem::path& file, std::string_view bytes, std::string* error = nullptr);

    // The same piece by piece, for files too big to hold in memory at once: open, append
    // each piece, commit. Nothing shows at the path until commit succeeds; a file let go
    // without a commit leaves nothing behind (a pipe or device keeps what it was given).
    explicit AtomicFile(std::filesystem::path file);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    [[nodiscard]] bool open(std::string* error = nullptr);
    [[nodiscard]] bool append(std::string_view bytes, std::string* error = nullptr);
    [[nodiscard]] bool commit(std::string* error = nullptr);

private:
    bool giveUp(int reason, std::string* error);

    std::filesystem::path m_file;
    std::filesystem::path m_target;
    std::filesystem::path m_folder;
    std::filesystem::path m_partial;
    bool m_exists { false };
    bool m_direct { false };
    bool m_named { false };
    unsigned m_mode { 0600 };
    unsigned m_owner { 0 };
    unsigned m_ownerGroup { 0 };
    int m_descriptor { -1 };
};

} // namespace foundation
