#pragma once
// An RGBA colour with components from 0 to 1, as the handset toolkit gives them.

#include <string>

namespace ui {

struct Color {
    double red { 0 };
    double green { 0 };
    double blue { 0 };
    double alpha { 1 };

    bool operator==(const Color&) const = default;

    static Color rgb(double red, double green, double blue, double alpha = 1.0);
    // Components from 0 to 255, the way designers write them.
    static Color rgb255(int red, int green, int blue, double alpha = 1.0);
    static Color colorWithWhite(double white, double alpha = 1.0);

    // The toolkit's named colours.
    static Color blackColor() { return { 0, 0, 0, 1 }; }
    static Color whiteColor() { return { 1, 1, 1, 1 }; }
    static Color clearColor() { return { 0, 0, 0, 0 }; }
    static Color redColor() { return { 1, 0, 0, 1 }; }
    static Color orangeColor() { return { 1, 0.5, 0, 1 }; }
    static Color blueColor() { return { 0, 0, 1, 1 }; }
    static Color grayColor() { return { 0.5, 0.5, 0.5, 1 }; }
    static Color lightGrayColor() { return { 2.0 / 3, 2.0 / 3, 2.0 / 3, 1 }; }
    static Color darkGrayColor() { return { 1.0 / 3, 1.0 / 3, 1.0 / 3, 1 }; }
    // The blue of links, tinted buttons and bar items.
    static Color systemBlueColor() { return { 0, 122.0 / 255, 1, 1 }; }
    // The background of grouped tables.
    static Color groupTableViewBackgroundColor() { return { 239.0 / 255, 239.0 / 255, 244.0 / 255, 1 }; }

    Color withAlpha(double newAlpha) const { return { red, green, blue, newAlpha }; }
    bool isClear() const { return alpha <= 0; }
    // "#rrggbbaa", for dumps and logs.
    std::string hex() const;
};

} // namespace ui
