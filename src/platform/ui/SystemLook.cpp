#include "platform/ui/SystemLook.h"

#include "platform/foundation/Device.h"
#include "platform/ui/Painter.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

// Half a point: one device pixel on the handset's double-density screen.
constexpr double bandHeight = 0.5;

} // namespace

SystemLook systemLook()
{
    return foundation::Device::current().systemMajorVersion() >= 7 ? SystemLook::Flat : SystemLook::Glossy;
}

Color mixColors(const Color& from, const Color& to, double amount)
{
    double t = std::clamp(amount, 0.0, 1.0);
    auto mix = [t](double a, double b) { return a + (b - a) * t; };
    return { mix(from.red, to.red), mix(from.green, to.green), mix(from.blue, to.blue), mix(from.alpha, to.alpha) };
}

void fillVerticalGradient(Painter& painter, const Rect& rect, const Color& top, const Color& bottom, double cornerRadius)
{
    if (rect.isEmpty())
        return;
    painter.save();
    if (cornerRadius > 0)
        painter.clipToRect(rect, cornerRadius);
    int bands = std::max(1, int(std::ceil(rect.height() / bandHeight)));
    double step = rect.height() / bands;
    for (int i = 0; i < bands; ++i) {
        double t = bands == 1 ? 0 : double(i) / (bands - 1);
        // A sliver of overlap, so that no seam shows between bands when scaled.
        painter.fillRect({ rect.x(), rect.y() + i * step, rect.width(), step + 0.05 }, mixColors(top, bottom, t));
    }
    painter.restore();
}

void paintGlossyBar(Painter& painter, const Rect& rect, const Color& base)
{
    Color top = mixColors(base, Color::whiteColor(), 0.45);
    fillVerticalGradient(painter, rect, top, base);
    painter.drawLine({ rect.minX(), rect.minY() + 0.25 }, { rect.maxX(), rect.minY() + 0.25 },
                     Color::whiteColor().withAlpha(0.45), 0.5);
    painter.drawLine({ rect.minX(), rect.maxY() - 0.5 }, { rect.maxX(), rect.maxY() - 0.5 },
                     mixColors(base, Color::blackColor(), 0.55), 1);
}

void paintGlossyBezel(Painter& painter, const Rect& rect, const Color& base, double cornerRadius, bool pressed)
{
    Color face = pressed ? mixColors(base, Color::blackColor(), 0.25) : base;
    fillVerticalGradient(painter, rect, mixColors(face, Color::whiteColor(), 0.3), mixColors(face, Color::blackColor(), 0.1),
                         cornerRadius);
    painter.strokeRect(rect, mixColors(base, Color::blackColor(), 0.45).withAlpha(0.9), 1, cornerRadius);
}

void paintGlossyBackBezel(Painter& painter, const Rect& rect, const Color& base, double pointWidth, bool pressed)
{
    Color face = pressed ? mixColors(base, Color::blackColor(), 0.25) : base;
    Color top = mixColors(face, Color::whiteColor(), 0.3);
    Color bottom = mixColors(face, Color::blackColor(), 0.1);
    Color edge = mixColors(base, Color::blackColor(), 0.45).withAlpha(0.9);
    constexpr double radius = 5;
    // The body with its rounded right end...
    Rect body { rect.x() + pointWidth, rect.y(), rect.width() - pointWidth, rect.height() };
    painter.save();
    painter.clipToRect({ body.x(), body.y(), body.width(), body.height() }, radius);
    fillVerticalGradient(painter, { body.x() - radius, body.y(), body.width() + radius, body.height() }, top, bottom);
    painter.restore();
    // ...and the point, band by band, narrowing towards the middle of its height.
    int bands = std::max(1, int(std::ceil(rect.height() / bandHeight)));
    double step = rect.height() / bands;
    double half = rect.height() / 2;
    for (int i = 0; i < bands; ++i) {
        double y = rect.y() + i * step;
        double fromMiddle = std::abs(y + step / 2 - rect.midY());
        double left = rect.x() + pointWidth * fromMiddle / half;
        painter.fillRect({ left, y, body.x() - left + 0.5, step + 0.05 }, mixColors(top, bottom, double(i) / bands));
    }
    painter.save();
    painter.clipToRect({ body.x(), rect.y() - 1, body.width() + 1, rect.height() + 2 });
    painter.strokeRect(body, edge, 1, radius);
    painter.restore();
    painter.drawLine({ body.x(), rect.minY() + 0.5 }, { rect.x(), rect.midY() }, edge, 1);
    painter.drawLine({ rect.x(), rect.midY() }, { body.x(), rect.maxY() - 0.5 }, edge, 1);
}

Color glossyBarColor()
{
    return Color::rgb255(109, 132, 162);
}

} // namespace ui
