#pragma once
// A key of a hardware keyboard (the computer's, in the window) pressed while no text field
// has the focus: screens with keys of their own, such as a dial pad, take it as a touch on
// their key. A press is either typed text or one of the keys that type nothing.
//
// Ownership: the window keeps each handler as a plain pointer beside a weak link to the
// view it belongs to, and uses the handler only while that view exists (see Window).

#include <string>

namespace ui {

struct KeyPress {
    enum class Kind { Text, Backspace, Return, Escape };

    Kind kind { Kind::Text };
    // What the key types (UTF-8), for Kind::Text; empty otherwise.
    std::string text;

    static KeyPress typed(std::string text) { return { Kind::Text, std::move(text) }; }
    static KeyPress key(Kind kind) { return { kind, {} }; }
};

class KeyPressHandler {
public:
    virtual ~KeyPressHandler() = default;
    // True when the press was used; an unused press goes on to the next handler.
    virtual bool keyPressed(const KeyPress& press) = 0;
};

} // namespace ui
