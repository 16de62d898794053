#pragma once
// What a view draws with. Each view draws itself in its own coordinates (its bounds); the
// view tree moves the origin and clips before asking it. The Qt display implements this on
// a real surface; tests record the calls.
//
// State (origin, clip, opacity) is kept on a stack: save() pushes, restore() pops.

#include "platform/ui/Geometry.h"
#include "platform/ui/Image.h"
#include "platform/ui/TextStyle.h"

#include <string>

namespace ui {

class Painter {
public:
    virtual ~Painter() = default;

    virtual void save() = 0;
    virtual void restore() = 0;
    virtual void translate(double dx, double dy) = 0;
    // Narrows the clip to the rectangle, with rounded corners when the radius is above 0.
    virtual void clipToRect(const Rect& rect, double cornerRadius = 0) = 0;
    // Multiplies the opacity of everything drawn until the matching restore().
    virtual void multiplyOpacity(double factor) = 0;

    virtual void fillRect(const Rect& rect, const Color& color, double cornerRadius = 0) = 0;
    // The line lies inside the rectangle, as a view's border does.
    virtual void strokeRect(const Rect& rect, const Color& color, double lineWidth, double cornerRadius = 0) = 0;
    virtual void fillEllipse(const Rect& rect, const Color& color) = 0;
    virtual void drawLine(const Point& from, const Point& to, const Color& color, double lineWidth) = 0;
    // Sets the text inside the rectangle by the style: breaking lines, truncating with an
    // ellipsis and shrinking to fit are the painter's to do.
    virtual void drawText(const std::string& text, const Rect& rect, const TextStyle& style) = 0;
    virtual void drawImage(const Image& image, const Rect& rect, ContentMode mode) = 0;
    // Lays out and draws an HTML page from the top of the rectangle, as a simple rich-text
    // engine does (paragraphs, tables, colours, fonts, links; nothing is fetched, no script
    // runs). A painter without such an engine draws nothing and answers false, and the
    // caller shows the page's plain text instead.
    virtual bool drawHTML(const std::string& html, const Rect& rect)
    {
        (void)html;
        (void)rect;
        return false;
    }
    // Draws the image's shape in one colour (template pictures such as tab icons, which the
    // bar colours by state). A painter that cannot tint draws the picture as it is.
    virtual void drawTintedImage(const Image& image, const Rect& rect, ContentMode mode, const Color& tint)
    {
        (void)tint;
        drawImage(image, rect, mode);
    }
};

} // namespace ui
