#pragma once
// The on-screen keyboard. Typing happens mostly on the computer's own keyboard (through the
// native editor over the focused field, so input methods work), but the screens lay
// themselves out above a 216-point keyboard, so the display shows the handset's keyboard
// there, in the device's language and for the field's kind: letters (QWERTY, with the
// Japanese keyboard's own words on its space and return keys), numbers and symbols, or the
// number pad. Its keys act when touched, as on a touch screen; one extra key puts the
// keyboard down (the focused field resigns), as the computer's Escape does.
//
// Drawn through the UI layer's Painter in window coordinates. Which page shows and whether
// shift is on is the touch router's to keep (State).

#include "platform/ui/Painter.h"
#include "platform/ui/TextInputTraits.h"

#include <string>
#include <vector>

namespace ui {
class Window;
}

namespace tessaro {

class KeyboardPanel {
public:
    enum class Page { Letters, Symbols };
    struct State {
        Page page { Page::Letters };
        bool shifted { false };
    };

    struct Key {
        enum class Kind { Character, Shift, Backspace, PageSwitch, Space, Return, Hide };
        Kind kind { Kind::Character };
        // What the key shows, and for a character key what it types (UTF-8).
        std::string label;
        ui::Rect frame;
    };

    // The keys for a field of these traits, in the device's language, laid over `frame`.
    static std::vector<Key> keys(const ui::Rect& frame, const ui::TextInputTraits& traits, const State& state);
    // The traits of the window's focused field (defaults when it has none of its own).
    static ui::TextInputTraits focusedTraits(ui::Window& window);
    // The key under the point, or null.
    static const Key* keyAt(const std::vector<Key>& keys, const ui::Point& point);

    static void draw(ui::Painter& painter, const ui::Rect& frame, const ui::TextInputTraits& traits, const State& state);
};

} // namespace tessaro
