#pragma once
// The program's display: the one object main makes to show the application. It starts Qt
// (on the offscreen platform when there is no display to open a window on, or when only
// a screenshot is wanted), installs the Qt text measurer so that screens lay out with real
// font metrics, runs the platform's run loop on Qt's event loop with the real clock, and
// either shows the key window until the person closes it or writes a screenshot of it.
//
// Make it before the application builds any view (labels measure themselves when made).
// Only one exists at a time. Ownership: owns the QApplication, the bridge of the run loop
// and the window's widget; shares the ui::Window it is given.

#include "platform/ui/Window.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class QApplication;

namespace tessaro {

class RunLoopBridge;
class ScreenWidget;

class Display {
public:
    enum class Surface { Window, Offscreen };

    Display(const char* programName, Surface surface);
    ~Display();
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // Whether a window can be opened here: a Qt platform chosen in QT_QPA_PLATFORM, or an X
    // or Wayland display in the environment.
    static bool windowSystemAvailable();

    // The surface in force: a window asked for falls back to offscreen when the window
    // system cannot be reached.
    Surface surface() const { return m_surface; }

    // Runs when the window comes back from being minimised or hidden; the application sets
    // its delegate's will-enter-foreground here.
    void setWillEnterForegroundHandler(std::function<void()> handler);

    // Shows the window at a size that suits the monitor and runs until it is closed.
    // Returns the program's exit code.
    int run(std::shared_ptr<ui::Window> window);

    // Lets the run loop work on the real clock until the screen is at rest (what is due
    // within the next half second has run and nothing is moving; at most maxSeconds), then
    // writes the screen at the device's scale. False, with the reason, when the file cannot
    // be written.
    [[nodiscard]] bool settleAndWriteScreenshot(ui::Window& window, const std::filesystem::path& file,
                                                std::string& error, double maxSeconds = 3.0);

    // The zoom that shows a screen of `pointsHigh` comfortably on a monitor whose usable
    // height is `availablePixels`: steps of a quarter, at least a half, at most 2.
    static double zoomForMonitor(double pointsHigh, double availablePixels);

private:
    Surface m_surface { Surface::Window };
    int m_argc { 1 };
    char* m_argv[2] { nullptr, nullptr };
    std::string m_programName;
    std::unique_ptr<QApplication> m_application;
    std::unique_ptr<RunLoopBridge> m_bridge;
    std::unique_ptr<ScreenWidget> m_widget;
    std::function<void()> m_foregroundHandler;
};

} // namespace tessaro
