#pragma once
// Where the root screen puts its parts. Every screen is laid out for a width of 320 points;
// heights add the extra height of a 4-inch display (Utility::iPhone4to5SubSize) and, from
// system 7 on, the status-bar offset (Utility::getStatusBarHeight), because from 7 on the
// application's view reaches up under the status bar.

#include "platform/ui/Geometry.h"

namespace tessaro {

class RootGeometry {
public:
    RootGeometry() = delete;

    static constexpr double kBannerHeight = 50;

    static ui::Rect windowFrame();
    static ui::Rect rootViewFrame();
    static ui::Rect busyOverlayFrame();
    static ui::Rect bannerSlotFrame();
    // Where the tab controller's view is first put in the root view. The root view then
    // grows to fill the window, as the platform makes every window's root do, and the tab
    // view with it, so that it rests at tabControllerFrame.
    static ui::Rect tabControllerInitialFrame();
    // Where the tab controller's view rests, below the banner slot down to the bottom of the
    // screen; screens put it back here after a modal sheet over the tabs has closed.
    static ui::Rect tabControllerFrame();
    // The keypad is as tall as the window; hidden it lies just below the screen.
    static ui::Rect keypadHiddenFrame();
    // The top of the contact detail when it starts to slide in, and when it has slid out.
    static double detailStartY();
    static double overlayHiddenY();
    // Every banner inside the slot.
    static ui::Rect bannerFrame() { return { 0, 0, 320, kBannerHeight }; }
};

} // namespace tessaro
