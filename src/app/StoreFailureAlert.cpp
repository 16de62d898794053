#include "app/StoreFailureAlert.h"

#include "platform/foundation/LocalizedStrings.h"
#include "platform/ui/AlertView.h"

#include <memory>

namespace tessaro {

void StoreFailureAlert::show()
{
    std::make_shared<ui::AlertView>(std::string(), foundation::localized("StoreFailedMessage"), nullptr, "OK")->show();
}

} // namespace tessaro
