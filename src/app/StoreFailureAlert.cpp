#include "app/StoreFailureAlert.h"

#include "platform/foundation/LocalizedStrings.h"
#include "platform/ui/AlertView.h"

#include <memory>

namespace tessaro {

void StoreFailureAlert::show()
{
    // The application tells every refused write at once, with the database's own reason;
    // a second alert saying the same in general terms would only stand in the way.
    if (dynamic_cast<ui::AlertView*>(ui::ButtonPanel::topmostVisible()))
        return;
    std::make_shared<ui::AlertView>(std::string(), foundation::localized("StoreFailedMessage"), nullptr, "OK")->show();
}

} // namespace tessaro
