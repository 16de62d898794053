#pragma once
// The base of the application's screens. Screens build their lists when they are made and
// rebuild them when told to reload (reloadViewData); the root calls it on the favourites and
// groups stacks after the application comes back to the foreground and after a contact was
// shown, so that changes made elsewhere appear.
//
// Ownership as for every controller: the screen owns its view and the controllers it makes.

#include "platform/foundation/RunLoop.h"
#include "platform/ui/ViewController.h"

namespace tessaro {

class CommonViewController : public ui::ViewController {
public:
    // Re-reads the screen's data; nothing here. Screens that show data changed elsewhere
    // override it.
    virtual void reloadViewData() { }

    // Puts the tab controller's view back below the banner slot, where a modal sheet over
    // the tabs may have left it elsewhere. resetTabBarFrameLater does so 0.1 seconds later,
    // once the sheet has gone; the call is dropped if this screen goes first.
    void resetTabBarFrame();
    void resetTabBarFrameLater();

    static constexpr double kTabBarResetDelay = 0.1;
};

} // namespace tessaro
