#pragma once
// The device's general pasteboard: the text the user copied last. The display mirrors
// what is put here onto the desktop's clipboard through the change handler; tests and the
// automation driver read it back. Main thread only.

#include <functional>
#include <optional>
#include <string>

namespace ui {

class Pasteboard {
public:
    static Pasteboard& generalPasteboard();

    // Empty when nothing has been put here; an empty text is a text.
    const std::optional<std::string>& string() const { return m_string; }
    void setString(std::string text);
    bool containsStrings() const { return m_string.has_value(); }
    // Goes up with every change, so a reader can tell whether anything new arrived.
    int changeCount() const { return m_changeCount; }

    // Told of every new text (the display copies it to the desktop).
    void setChangeHandler(std::function<void(const std::string&)> handler) { m_changeHandler = std::move(handler); }

    // Empties the pasteboard and forgets the handler (tests use it between cases).
    void reset();

private:
    std::optional<std::string> m_string;
    int m_changeCount { 0 };
    std::function<void(const std::string&)> m_changeHandler;
};

} // namespace ui
