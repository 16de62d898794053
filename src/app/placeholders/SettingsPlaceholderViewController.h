#pragma once
// Stands in the settings tab for the settings screen until that screen lands; an empty titled
// page that reloads nothing.

#include "app/CommonViewController.h"

namespace tessaro {

class SettingsPlaceholderViewController : public CommonViewController {
public:
    SettingsPlaceholderViewController();

    void loadView() override;
};

} // namespace tessaro
