#include "app/placeholders/MemosPlaceholderViewController.h"

#include "app/placeholders/PlaceholderPage.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/ui/Screen.h"

namespace tessaro {

MemosPlaceholderViewController::MemosPlaceholderViewController()
{
    setTitle(foundation::localized("MemoTabBarTitle"));
}

void MemosPlaceholderViewController::loadView()
{
    setView(PlaceholderPage::make(ui::Screen::mainScreen().applicationFrame(), "placeholder.memos"));
}

} // namespace tessaro
