#include "platform/foundation/Log.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <map>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace foundation {

namespace {

struct LogState {
    std::mutex mutex;
    bool toStandardError { true };
    // Written under its own lock, so that lines from two threads never interleave and a slow
    // disk holds up only the writers, never the listeners.
    std::mutex fileMutex;
    std::FILE* file { nullptr };
    std::size_t nextToken { 1 };
    std::map<std::size_t, LogListener> listeners;
};

LogState& state()
{
    static LogState instance;
    return instance;
}

// "2026-12-07 14:40:01.123  ": the local time to the millisecond, then two blanks.
std::string timePrefix()
{
    auto now = std::chrono::system_clock::now();
    std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local {};
    localtime_r(&seconds, &local);
    char text[32];
    std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    std::snprintf(text + length, sizeof text - length, ".%03d  ", static_cast<int>(millis));
    return text;
}

void writeToFile(LogState& s, std::string_view line)
{
    std::lock_guard lock(s.fileMutex);
    if (!s.file)
        return;
    std::string entry = timePrefix();
    entry.append(line);
    entry.push_back('\n');
    std::fwrite(entry.data(), 1, entry.size(), s.file);
    // A line stays in the file even when the program ends abruptly right after it.
    std::fflush(s.file);
}

} // namespace

void log(std::string_view line)
{
    auto& s = state();
    std::vector<LogListener> listeners;
    bool toStandardError = false;
    {
        std::lock_guard lock(s.mutex);
        toStandardError = s.toStandardError;
        for (auto& [token, listener] : s.listeners)
            listeners.push_back(listener);
    }
    if (toStandardError) {
        std::fwrite(line.data(), 1, line.size(), stderr);
        std::fputc('\n', stderr);
    }
    writeToFile(s, line);
    // Listeners run outside the lock so that one may log or unregister itself.
    for (auto& listener : listeners)
        listener(line);
}

void setLogToStandardError(bool enabled)
{
    std::lock_guard lock(state().mutex);
    state().toStandardError = enabled;
}

bool setLogFile(const std::filesystem::path& file, std::string& error)
{
    auto& s = state();
    std::lock_guard lock(s.fileMutex);
    if (s.file) {
        std::fclose(s.file);
        s.file = nullptr;
    }
    if (file.empty())
        return true;
    std::error_code ignored;
    if (file.has_parent_path())
        std::filesystem::create_directories(file.parent_path(), ignored);
    std::error_code sizeError;
    auto size = std::filesystem::file_size(file, sizeError);
    if (!sizeError && size > kLogFileSizeLimit) {
        auto older = file;
        older += ".1";
        std::filesystem::rename(file, older, ignored);
    }
    // Diagnostics name persons and groups: the file is the owner's alone.
    int descriptor = ::open(file.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (descriptor < 0 || !(s.file = ::fdopen(descriptor, "a"))) {
        error = "cannot write the log " + file.string() + ": " + std::strerror(errno);
        if (descriptor >= 0)
            ::close(descriptor);
        return false;
    }
    return true;
}

std::size_t addLogListener(LogListener listener)
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    auto token = s.nextToken++;
    s.listeners.emplace(token, std::move(listener));
    return token;
}

void removeLogListener(std::size_t token)
{
    auto& s = state();
    std::lock_guard lock(s.mutex);
    s.listeners.erase(token);
}

LogCapture::LogCapture()
{
    m_token = addLogListener([this](std::string_view line) {
        std::lock_guard lock(m_mutex);
        m_lines.emplace_back(line);
    });
}

LogCapture::~LogCapture()
{
    removeLogListener(m_token);
}

std::vector<std::string> LogCapture::lines() const
{
    std::lock_guard lock(m_mutex);
    return m_lines;
}

std::vector<std::string> LogCapture::takeLines()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_lines, {});
}

bool LogCapture::contains(std::string_view line) const
{
    std::lock_guard lock(m_mutex);
    return std::find(m_lines.begin(), m_lines.end(), line) != m_lines.end();
}

bool LogCapture::containsPrefix(std::string_view prefix) const
{
    std::lock_guard lock(m_mutex);
    return std::any_of(m_lines.begin(), m_lines.end(),
                       [&](const std::string& l) { return l.starts_with(prefix); });
}

void LogCapture::clear()
{
    std::lock_guard lock(m_mutex);
    m_lines.clear();
}

} // namespace foundation
