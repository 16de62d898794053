#pragma once
// Paints what the handset's screen shows: the window's view tree, the keyboard while a
// text field has the focus, and the status bar over everything. The window and the
// screenshots both paint through here.
//
// The window is borrowed for the duration of each call.

#include "platform/ui/Window.h"
#include "shell/qt/KeyboardPanel.h"
#include "shell/qt/StatusBar.h"

#include <QImage>

#include <filesystem>
#include <string>

class QPainter;

namespace tessaro {

class ScreenRenderer {
public:
    // The screen in points, with the painter's transform already mapping points to pixels.
    // The time text is the status bar's clock; the keyboard shows the page and shift given.
    static void paint(QPainter& painter, ui::Window& window, const std::string& timeText,
                      const KeyboardPanel::State& keyboard = {});

    // The screen at `scale` pixels per point (2 gives the handset's own pixels).
    static QImage renderImage(ui::Window& window, double scale, const std::string& timeText);

    // Writes the screen as a PNG, creating the folder when needed. False, with the reason
    // in `error`, when the file cannot be written.
    [[nodiscard]] static bool writePng(ui::Window& window, const std::filesystem::path& file, double scale,
                                       std::string& error);
};

} // namespace tessaro
