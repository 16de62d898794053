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
};

} // namespace foundation
