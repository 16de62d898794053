#pragma once
// Stands in the memos tab for the memo list screen until that screen lands; an empty titled
// page that reloads nothing.

#include "app/CommonViewController.h"

namespace tessaro {

class MemosPlaceholderViewController : public CommonViewController {
public:
    MemosPlaceholderViewController();

    void loadView() override;
};

} // namespace tessaro
