#pragma once
// The platform log: plain diagnostic lines without levels. Lines go to standard error, to
// the log file when one is set (the program keeps its own in the profile, so the terminal
// stays quiet), and to every registered listener (tests and the automation driver read them
// back).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace foundation {

// Writes one line. Safe from any thread.
void log(std::string_view line);

// Turns the copy on standard error off or on (on by default); listeners still hear every line.
void setLogToStandardError(bool enabled);

// A file grown past this size when it is opened is moved aside (to NAME.1, replacing the
// one before), so a log kept across many starts stays small.
inline constexpr std::uintmax_t kLogFileSizeLimit = 1024 * 1024;

// Appends every line from now on to the file, each after the local time it was written,
// creating the file (owner-only) and its folder when missing. An empty path closes the file.
// False, with the reason, when the file cannot be opened: lines then go on as before.
[[nodiscard]] bool setLogFile(const std::filesystem::path& file, std::string& error);

using LogListener = std::function<void(std::string_view line)>;

// Registers a listener and returns its token for removeLogListener.
std::size_t addLogListener(LogListener listener);
void removeLogListener(std::size_t token);

// Collects the lines logged during its lifetime.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::vector<std::string> lines() const;
    // Hands back the lines collected since the last call and forgets them.
    std::vector<std::string> takeLines();
    bool contains(std::string_view line) const;
    // True when some line starts with the prefix.
    bool containsPrefix(std::string_view prefix) const;
    void clear();

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_lines;
    std::size_t m_token { 0 };
};

} // namespace foundation
