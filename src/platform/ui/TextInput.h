#pragma once
// The editing side of a text field or text view: what the display's native editor and the
// automation driver talk to when the focus is on it.

#include <string>

namespace ui {

class TextInput {
public:
    virtual ~TextInput() = default;

    virtual std::string text() const = 0;
    // Replaces the whole text as typed by the user (so change events fire). The editor of
    // the display calls this on every edit.
    virtual void replaceTextFromInput(const std::string& text) = 0;
    // Typed text at the end of the current text; a line break "\n" is the return key.
    virtual void insertText(const std::string& text) = 0;
    // Removes the last character (a whole UTF-8 sequence).
    virtual void deleteBackward() = 0;
    virtual bool isSecureTextEntry() const { return false; }
    virtual bool isMultiline() const { return false; }
};

} // namespace ui
