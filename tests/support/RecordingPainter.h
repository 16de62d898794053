#pragma once
// A painter that keeps what it was asked to draw, in window coordinates, so tests can ask
// "which texts are on screen, and where" without a display.

#include "platform/ui/Painter.h"

#include <string>
#include <vector>

namespace testsupport {

class RecordingPainter final : public ui::Painter {
public:
    struct Text {
        std::string text;
        ui::Rect rect;
        ui::TextStyle style;
        double opacity { 1 };
    };
    struct Fill {
        ui::Rect rect;
        ui::Color color;
        double cornerRadius { 0 };
        double opacity { 1 };
    };
    struct Picture {
        std::string name;
        ui::Rect rect;
        ui::ContentMode mode { ui::ContentMode::ScaleToFill };
    };

    std::vector<Text> texts;
    std::vector<Fill> fills;
    std::vector<Picture> images;
    std::size_t strokes { 0 };
    std::size_t lines { 0 };

    // The texts drawn, in drawing order.
    std::vector<std::string> textStrings() const;
    // The first text equal to `text`, or null.
    const Text* findText(const std::string& text) const;

    void save() override;
    void restore() override;
    void translate(double dx, double dy) override;
    void clipToRect(const ui::Rect& rect, double cornerRadius) override;
    void multiplyOpacity(double factor) override;
    void fillRect(const ui::Rect& rect, const ui::Color& color, double cornerRadius) override;
    void strokeRect(const ui::Rect& rect, const ui::Color& color, double lineWidth, double cornerRadius) override;
    void fillEllipse(const ui::Rect& rect, const ui::Color& color) override;
    void drawLine(const ui::Point& from, const ui::Point& to, const ui::Color& color, double lineWidth) override;
    void drawText(const std::string& text, const ui::Rect& rect, const ui::TextStyle& style) override;
    void drawImage(const ui::Image& image, const ui::Rect& rect, ui::ContentMode mode) override;

    // True when every save() had its restore().
    bool balanced() const { return m_stack.empty(); }

private:
    struct State {
        ui::Point origin;
        double opacity { 1 };
    };
    ui::Rect absolute(const ui::Rect& rect) const { return rect.offsetBy(m_state.origin.x, m_state.origin.y); }

    State m_state;
    std::vector<State> m_stack;
};

} // namespace testsupport
