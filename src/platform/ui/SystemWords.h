#pragma once
// The words the system itself shows on its own controls (bar buttons, the back button, the
// search field's Cancel, a row's Delete, the keyboard's keys), in the device's language.
// The application's own texts come from its strings table instead; these never do, as the
// handset's controls read the same in every application.

#include <string>

namespace ui {

enum class SystemWord {
    Done,
    Cancel,
    Edit,
    Save,
    Undo,
    Redo,
    Back,
    Delete,
    Search,
    // The keyboard's keys.
    Space,
    Return,
    Next,
    Go,
    Send,
    Join,
    Route,
    EmergencyCall,
};

// English unless the device's language is Japanese.
std::string systemWord(SystemWord word);

} // namespace ui
