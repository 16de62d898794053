#include "platform/foundation/Log.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <utility>

namespace foundation {

namespace {

struct LogState {
    std::mutex mutex;
    bool toStandardError { true };
    std::size_t nextToken { 1 };
    std::map<std::size_t, LogListener> listeners;
};

LogState& state()
{
    static LogState instance;
    return instance;
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
    // Listeners run outside the lock so that one may log or unregister itself.
    for (auto& listener : listeners)
        listener(line);
}

void setLogToStandardError(bool enabled)
{
    std::lock_guard lock(state().mutex);
    state().toStandardError = enabled;
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
