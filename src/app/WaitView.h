#pragma once
// The busy overlay: the whole frame dimmed, a dark rounded square in the middle and a large
// white indicator spinning at its centre. Shown by adding it to a view, hidden by removing
// it; it holds no state beyond the indicator, which spins from creation on. As a plain
// view it swallows the touches that land on it, so nothing beneath reacts while busy.
//
// Ownership: the overlay owns its square and its indicator (subviews).

#include "platform/ui/View.h"

#include <memory>

namespace ui {
class ActivityIndicatorView;
}

namespace tessaro {

class WaitView : public ui::View {
public:
    explicit WaitView(const ui::Rect& frame);

    std::string typeName() const override { return "WaitView"; }

    ui::ActivityIndicatorView& waitIcon() { return *_waitIcon; }

private:
    std::shared_ptr<ui::View> _square;
    std::shared_ptr<ui::ActivityIndicatorView> _waitIcon;
};

} // namespace tessaro
