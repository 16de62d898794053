#pragma once
// Drives the application the way a person would, one JSON command at a time, and answers
// each with one JSON object: what is on the screen, taps, rows, typing, alert buttons,
// time, and what the application handed to the rest of the device. `tessaro --automation`
// reads the commands from standard input; integration tests of screens use the same
// driver in-process (Driver driver(window); driver.run(R"({"cmd":"dump"})")).
//
// Every answer has "ok". A command that cannot be carried out (no such text, no alert
// shown, a row outside the table, bad JSON) answers "ok": false with an "error" saying
// why, and nothing else happens. The protocol is described in the README.
//
// After every command the main run loop takes one turn, so work the command posted has
// run; time only moves on with "advance" (on the manual clock) or by itself (on the real
// one).
//
// Ownership: the driver keeps the window it was given (or follows the application's key
// window) and owns its log capture. Main thread only.

#include <nlohmann/json.hpp>

#include "platform/foundation/Log.h"

#include <functional>
#include <memory>
#include <string>

namespace ui {
class TableView;
class View;
class Window;
struct Point;
struct Rect;
} // namespace ui

namespace tessaro {

class Driver {
public:
    // Drives whatever window is the application's key window at each command.
    Driver();
    explicit Driver(std::shared_ptr<ui::Window> window);
    // The window must outlive the driver.
    explicit Driver(ui::Window& window);
    ~Driver();
    Driver(const Driver&) = delete;
    Driver& operator=(const Driver&) = delete;

    // One command line in, one answer line out (without a line break).
    std::string run(const std::string& line);
    // Answers keep their fields in a readable order (type and frame before children).
    nlohmann::ordered_json execute(const nlohmann::ordered_json& command);

    // "quit" was received.
    bool quitRequested() const { return m_quit; }
    // What "foreground" does: the application's return to the foreground.
    void setForegroundHandler(std::function<void()> handler) { m_foregroundHandler = std::move(handler); }

private:
    using json = nlohmann::ordered_json;

    ui::Window* window() const;
    void settle();

    json dump(const json& command);
    json tap(const json& command);
    json tapRow(const json& command);
    json typeText(const json& command);
    json button(const json& command);
    json swipeDelete(const json& command);
    json moveRow(const json& command);
    json sectionIndex(const json& command);
    json advance(const json& command);
    json foreground(const json& command);
    json openedURLs(const json& command);
    json pasteboard(const json& command);
    json log(const json& command);
    json quit(const json& command);

    json describe(ui::View& view, const ui::Rect& clip) const;
    ui::TableView* topmostTable() const;
    bool tapView(ui::View& view, json& answer, std::string& error);

    std::shared_ptr<ui::Window> m_ownedWindow;
    ui::Window* m_window { nullptr };
    foundation::LogCapture m_log;
    bool m_quit { false };
    std::function<void()> m_foregroundHandler;
};

} // namespace tessaro
