#pragma once
// The page the placeholder screens show until their real screens land: white, titled like
// the tab, and marked with an identifier naming the screen it stands for, so that scripts
// driving the application can tell where they are.

#include "platform/ui/View.h"

#include <memory>
#include <string>

namespace tessaro {

class PlaceholderPage {
public:
    PlaceholderPage() = delete;

    static std::shared_ptr<ui::View> make(const ui::Rect& frame, const std::string& identifier);
};

} // namespace tessaro
