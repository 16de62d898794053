#include "platform/ui/Color.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace ui {

namespace {

double clampUnit(double value)
{
    if (!(value >= 0))
        return 0;
    return std::min(value, 1.0);
}

} // namespace

Color Color::rgb(double red, double green, double blue, double alpha)
{
    return { clampUnit(red), clampUnit(green), clampUnit(blue), clampUnit(alpha) };
}

Color Color::rgb255(int red, int green, int blue, double alpha)
{
    return rgb(red / 255.0, green / 255.0, blue / 255.0, alpha);
}

Color Color::colorWithWhite(double white, double alpha)
{
    return rgb(white, white, white, alpha);
}

std::string Color::hex() const
{
    auto byte = [](double unit) { return static_cast<int>(std::lround(clampUnit(unit) * 255)); };
    char text[10];
    std::snprintf(text, sizeof text, "#%02x%02x%02x%02x", byte(red), byte(green), byte(blue), byte(alpha));
    return text;
}

} // namespace ui
