#include "shell/qt/ScreenRenderer.h"

#include "shell/qt/KeyboardPanel.h"
#include "shell/qt/QtPainter.h"

#include <QPainter>
#include <QString>

#include <cmath>
#include <system_error>

namespace tessaro {

void ScreenRenderer::paint(QPainter& painter, ui::Window& window, const std::string& timeText,
                           const KeyboardPanel::State& keyboardState)
{
    ui::Rect screen = window.bounds();
    QtPainter canvas(painter);
    // Whatever the tree leaves uncovered is black, as on the handset.
    canvas.fillRect(screen, ui::Color::blackColor());
    window.renderWindow(canvas);
    if (auto keyboard = window.keyboardFrame())
        KeyboardPanel::draw(canvas, *keyboard, KeyboardPanel::focusedTraits(window), keyboardState);
    StatusBar::draw(canvas, screen.width(), StatusBar::currentLook(), timeText);
}

QImage ScreenRenderer::renderImage(ui::Window& window, double scale, const std::string& timeText)
{
    ui::Rect screen = window.bounds();
    QImage image(int(std::lround(screen.width() * scale)), int(std::lround(screen.height() * scale)),
                 QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.scale(scale, scale);
    paint(painter, window, timeText);
    painter.end();
    return image.convertToFormat(QImage::Format_RGB32);
}

bool ScreenRenderer::writePng(ui::Window& window, const std::filesystem::path& file, double scale, std::string& error)
{
    std::error_code ec;
    if (file.has_parent_path() && !std::filesystem::exists(file.parent_path(), ec)) {
        std::filesystem::create_directories(file.parent_path(), ec);
        if (ec) {
            error = "cannot create the folder " + file.parent_path().string() + ": " + ec.message();
            return false;
        }
    }
    QImage image = renderImage(window, scale, StatusBar::currentTimeText());
    if (!image.save(QString::fromStdString(file.string()), "PNG")) {
        error = "cannot write " + file.string();
        return false;
    }
    return true;
}

} // namespace tessaro
