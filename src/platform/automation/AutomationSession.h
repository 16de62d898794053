#pragma once
// The `tessaro --automation` mode: starts the program's screens without a display, then
// answers one JSON command per line of the input with one JSON line on the output until
// "quit" or the end of the input. The log goes to the "log" command, not to the terminal.

#include <functional>
#include <iosfwd>
#include <memory>

namespace ui {
class Window;
}

namespace tessaro {

// What the program hands the session once it has started: its key window, and what it
// does on a return to the foreground (empty when nothing).
struct AutomationTarget {
    std::shared_ptr<ui::Window> window;
    std::function<void()> enterForeground;
};

struct AutomationOptions {
    // The wall clock instead of the manual one, whose time moves only with "advance".
    bool realClock { false };
};

using AutomationLaunch = std::function<AutomationTarget()>;

// Runs the session; the exit status of the program (0 after "quit" or the end of input).
int runAutomationSession(std::istream& input, std::ostream& output, const AutomationOptions& options,
                         const AutomationLaunch& launch);

} // namespace tessaro
