#pragma once
// One finger on the screen, as the window hands it to the view it landed on.

#include "platform/ui/Geometry.h"

namespace ui {

class View;

enum class TouchPhase { Began, Moved, Ended, Cancelled };

struct Touch {
    TouchPhase phase { TouchPhase::Began };
    // Where the finger is now and was at the previous event, in window coordinates.
    Point locationInWindow;
    Point previousLocationInWindow;
    // Where the touch began, in window coordinates.
    Point startLocationInWindow;
    // Run-loop time of this event and of the start of the touch.
    double timestamp { 0 };
    double startTimestamp { 0 };

    // The location in the coordinates of a view of the same window.
    Point locationIn(const View& view) const;
    Point previousLocationIn(const View& view) const;
};

} // namespace ui
