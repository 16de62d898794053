#pragma once
// The on-screen keyboard's place. Typing happens on the computer's own keyboard (through
// the native editor over the focused field, so input methods work), but the screens lay
// themselves out above a 216-point keyboard, so the display shows one there: key caps for
// the look, and a key that puts the keyboard down (the focused field resigns).
//
// Drawn through the UI layer's Painter in window coordinates.

#include "platform/ui/Painter.h"

namespace tessaro {

class KeyboardPanel {
public:
    static void draw(ui::Painter& painter, const ui::Rect& frame);
    // The key that hides the keyboard, bottom right of the panel.
    static ui::Rect hideKeyRect(const ui::Rect& frame);
};

} // namespace tessaro
