#pragma once
// The device's main screen, in points, as the launch options describe it (foundation::Device).

#include "platform/ui/Geometry.h"

namespace ui {

class Screen {
public:
    static const Screen& mainScreen();

    // The whole screen: 320 × 568 on a 4-inch device, 320 × 480 on a 3.5-inch one.
    Rect bounds() const;
    // The part of the screen an application owns: the whole screen from system 7 on (the
    // status bar lies over the content), below the status bar before.
    Rect applicationFrame() const;
    double scale() const;
    // The size in pixels of the current display mode (640 × 1136 on a 4-inch device).
    Size currentModePixelSize() const;

    static constexpr double statusBarHeight = 20;
};

} // namespace ui
