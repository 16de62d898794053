#pragma once
// A piece of read-only text. It takes no touches (they go to what lies beneath), as on
// the handset.

#include "platform/ui/TextStyle.h"
#include "platform/ui/View.h"

namespace ui {

class Label : public View {
public:
    Label();
    explicit Label(const Rect& frame);

    std::string typeName() const override { return "Label"; }
    std::string displayText() const override { return m_text; }

    const std::string& text() const { return m_text; }
    void setText(std::string text);
    const Font& font() const { return m_style.font; }
    void setFont(const Font& font);
    const Color& textColor() const { return m_style.color; }
    void setTextColor(const Color& color);
    std::optional<Color> highlightedTextColor() const { return m_highlightedTextColor; }
    void setHighlightedTextColor(std::optional<Color> color);
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted);
    TextAlignment textAlignment() const { return m_style.alignment; }
    void setTextAlignment(TextAlignment alignment);
    LineBreakMode lineBreakMode() const { return m_style.lineBreakMode; }
    void setLineBreakMode(LineBreakMode mode);
    int numberOfLines() const { return m_style.numberOfLines; }
    void setNumberOfLines(int lines);
    // Shrinks one-line text that does not fit, down to the minimum scale (0.5 by default).
    bool adjustsFontSizeToFitWidth() const { return m_adjustsFontSizeToFitWidth; }
    void setAdjustsFontSizeToFitWidth(bool adjusts);
    double minimumScaleFactor() const { return m_minimumScaleFactor; }
    void setMinimumScaleFactor(double factor);
    // The smallest font size when shrinking, the older way of saying the same.
    void setMinimumFontSize(double size);

    // The style the painter sets the text with, all settings included.
    TextStyle textStyle() const;

    Size sizeThatFits(const Size& size) const override;
    void draw(Painter& painter) override;

private:
    std::string m_text;
    TextStyle m_style;
    std::optional<Color> m_highlightedTextColor;
    bool m_highlighted { false };
    bool m_adjustsFontSizeToFitWidth { false };
    double m_minimumScaleFactor { 0 };
};

} // namespace ui
