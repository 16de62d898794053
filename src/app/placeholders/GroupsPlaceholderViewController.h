#pragma once
// Stands in the groups tab for the group list screen until that screen lands; an empty titled
// page that reloads nothing.

#include "app/CommonViewController.h"

namespace tessaro {

class GroupsPlaceholderViewController : public CommonViewController {
public:
    GroupsPlaceholderViewController();

    void loadView() override;
};

} // namespace tessaro
