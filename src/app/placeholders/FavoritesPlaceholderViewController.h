#pragma once
// Stands in the favorites tab for the favourites screen until that screen lands; an empty titled
// page that reloads nothing.

#include "app/CommonViewController.h"

namespace tessaro {

class FavoritesPlaceholderViewController : public CommonViewController {
public:
    FavoritesPlaceholderViewController();

    void loadView() override;
};

} // namespace tessaro
