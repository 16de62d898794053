#pragma once
// What the root asks of the keypad it slides over the tabs: start afresh each time it is
// shown or the application returns (clearAll), and rebuild its list when every screen is
// reloaded (reloadData). The keypad asks its host, the root, to slide it away again
// (removeKeyboard) when it is done.
//
// Ownership: the root makes the keypad on first use and keeps it for its whole life; the
// keypad keeps its host as a plain reference (the host owns it).

#include "app/CommonViewController.h"

namespace tessaro {

// What the keypad may ask of the screen that shows it.
class KeypadHost {
public:
    virtual ~KeypadHost() = default;
    // Slides the keypad away, back to the tab that was shown before it.
    virtual void removeKeyboard() = 0;
};

class KeypadScreen : public CommonViewController {
public:
    // Empties the typed number and shows the recent calls.
    virtual void clearAll() = 0;
    // Rebuilds the list shown.
    virtual void reloadData() = 0;
};

} // namespace tessaro
