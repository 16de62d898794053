#pragma once
// What the root asks of the keypad it slides over the tabs: start afresh each time it is
// shown or the application returns (clearAll), and rebuild its list when every screen is
// reloaded (reloadData). The keypad asks the root to slide it away again
// (TessaroViewController::removeKeyboard) when it is done.
//
// Ownership: the root makes the keypad on first use and keeps it for its whole life.

#include "app/CommonViewController.h"

namespace tessaro {

class KeypadScreen : public CommonViewController {
public:
    // Empties the typed number and shows the recent calls.
    virtual void clearAll() = 0;
    // Rebuilds the list shown.
    virtual void reloadData() = 0;
};

} // namespace tessaro
