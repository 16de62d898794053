#pragma once
// Points, sizes, rectangles and edge insets in points (a 320-point-wide screen), with
// the origin at the top left and y growing downwards.

#include <algorithm>

namespace ui {

struct Point {
    double x { 0 };
    double y { 0 };

    bool operator==(const Point&) const = default;
    Point operator+(const Point& other) const { return { x + other.x, y + other.y }; }
    Point operator-(const Point& other) const { return { x - other.x, y - other.y }; }
};

struct Size {
    double width { 0 };
    double height { 0 };

    bool operator==(const Size&) const = default;
    bool isEmpty() const { return width <= 0 || height <= 0; }
};

struct EdgeInsets {
    double top { 0 };
    double left { 0 };
    double bottom { 0 };
    double right { 0 };

    bool operator==(const EdgeInsets&) const = default;
};

struct Rect {
    Point origin;
    Size size;

    Rect() = default;
    Rect(Point o, Size s)
        : origin(o)
        , size(s)
    {
    }
    Rect(double x, double y, double width, double height)
        : origin { x, y }
        , size { width, height }
    {
    }

    bool operator==(const Rect&) const = default;

    double x() const { return origin.x; }
    double y() const { return origin.y; }
    double width() const { return size.width; }
    double height() const { return size.height; }
    double minX() const { return origin.x; }
    double minY() const { return origin.y; }
    double maxX() const { return origin.x + size.width; }
    double maxY() const { return origin.y + size.height; }
    double midX() const { return origin.x + size.width / 2; }
    double midY() const { return origin.y + size.height / 2; }
    Point center() const { return { midX(), midY() }; }
    bool isEmpty() const { return size.isEmpty(); }

    // Half-open: the right and bottom edges belong to the neighbour.
    bool contains(const Point& p) const
    {
        return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
    }
    bool intersects(const Rect& other) const
    {
        return !isEmpty() && !other.isEmpty() && minX() < other.maxX() && other.minX() < maxX()
            && minY() < other.maxY() && other.minY() < maxY();
    }
    // The common part; an empty rectangle at the origin when there is none.
    Rect intersection(const Rect& other) const
    {
        if (!intersects(other))
            return {};
        double left = std::max(minX(), other.minX());
        double top = std::max(minY(), other.minY());
        return { left, top, std::min(maxX(), other.maxX()) - left, std::min(maxY(), other.maxY()) - top };
    }
    Rect offsetBy(double dx, double dy) const { return { x() + dx, y() + dy, width(), height() }; }
    Rect insetBy(double dx, double dy) const { return { x() + dx, y() + dy, width() - 2 * dx, height() - 2 * dy }; }
    Rect inset(const EdgeInsets& insets) const
    {
        return { x() + insets.left, y() + insets.top, width() - insets.left - insets.right,
                 height() - insets.top - insets.bottom };
    }
};

} // namespace ui
