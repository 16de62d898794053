#pragma once
// A toolbar that draws nothing of its own: not opaque, clear, and an empty draw. Only its
// bar buttons show, so it can sit on any background (a detail header, the memo keyboard bar).
//
// Ownership as for every toolbar: it shares its items and owns the buttons made for them.

#include "platform/ui/Toolbar.h"

namespace tessaro {

class MyToolBar : public ui::Toolbar {
public:
    explicit MyToolBar(const ui::Rect& frame);

    void draw(ui::Painter& painter) override;
};

} // namespace tessaro
