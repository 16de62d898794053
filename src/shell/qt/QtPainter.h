#pragma once
// The UI layer's Painter on a QPainter: what every view draws with on the screen and in
// screenshots. One unit is one point of the handset; the QPainter's transform maps points
// to device pixels (two per point on a handset-like screenshot, whatever the monitor needs
// in the window), so everything is drawn at the surface's full sharpness.
//
// Ownership: the QPainter is borrowed and must outlive this object; images are decoded
// through the shared DecodedImages cache.

#include "platform/ui/Painter.h"

#include <optional>

class QPainter;

namespace tessaro {

class QtPainter final : public ui::Painter {
public:
    explicit QtPainter(QPainter& painter);

    void save() override;
    void restore() override;
    void translate(double dx, double dy) override;
    void clipToRect(const ui::Rect& rect, double cornerRadius = 0) override;
    void multiplyOpacity(double factor) override;

    void fillRect(const ui::Rect& rect, const ui::Color& color, double cornerRadius = 0) override;
    void strokeRect(const ui::Rect& rect, const ui::Color& color, double lineWidth, double cornerRadius = 0) override;
    void fillEllipse(const ui::Rect& rect, const ui::Color& color) override;
    void drawLine(const ui::Point& from, const ui::Point& to, const ui::Color& color, double lineWidth) override;
    void drawText(const std::string& text, const ui::Rect& rect, const ui::TextStyle& style) override;
    bool drawHTML(const std::string& html, const ui::Rect& rect) override;
    void drawImage(const ui::Image& image, const ui::Rect& rect, ui::ContentMode mode) override;
    void drawTintedImage(const ui::Image& image, const ui::Rect& rect, ui::ContentMode mode, const ui::Color& tint) override;

    // Where an image of the size lands in the rectangle by the content mode.
    static ui::Rect imageRect(const ui::Size& imageSize, const ui::Rect& rect, ui::ContentMode mode);

private:
    void drawDecodedImage(const ui::Image& image, const ui::Rect& rect, ui::ContentMode mode,
                          const std::optional<ui::Color>& tint);

    QPainter& m_painter;
};

} // namespace tessaro
