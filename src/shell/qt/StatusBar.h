#pragma once
// The handset's status bar in the top 20 points: carrier, time and battery. From system 7
// on it is see-through with dark text over the application's own top (the screens leave
// those 20 points for it); before, an opaque black strip with light text, and the window
// puts the application below it.
//
// Drawn through the UI layer's Painter, so the window and screenshots show the same bar.

#include "platform/ui/Painter.h"

#include <string>

namespace tessaro {

class StatusBar {
public:
    enum class Look { Overlay, OpaqueBlack };

    // The look of the simulated system version (foundation::Device).
    static Look currentLook();
    // The wall-clock time as the device's language writes it in the bar ("9:41 AM", "9:41").
    static std::string currentTimeText();

    static void draw(ui::Painter& painter, double width, Look look, const std::string& timeText);

    static constexpr double height = 20;
};

} // namespace tessaro
