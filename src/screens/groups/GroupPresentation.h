#pragma once
// How the groups tab's screens (and the keypad, which makes persons too) show what they
// open. A sheet (group editing, member editing, the bulk edit, the new-person form) comes in
// a navigation controller with an opaque bar, presented from the key window's root so that
// it covers the tabs and the banner. The group
// chooser that follows a new person is laid over the key window below the status bar and
// the screen's own bar, and takes itself away when the user is done.
//
// Ownership: what is presented is owned by its presentation; the chooser laid over the
// window is handed to the caller, which removes it when it goes first.

#include "platform/contactstore/Forward.h"
#include "platform/services/NewPersonViewController.h"

#include <memory>

namespace ui {
class NavigationController;
class ViewController;
} // namespace ui

namespace tessaro {

class GroupPresentation {
public:
    GroupPresentation() = delete;

    // Where the group chooser lies over the window after a new person was made.
    static constexpr double kGroupSelectTop = 69;

    static std::shared_ptr<ui::NavigationController> wrapInOpaqueNavigation(std::shared_ptr<ui::ViewController> screen);
    // The root of the key window, if there is one.
    static ui::ViewController* keyWindowRoot();
    // Presents the screen from the key window's root, as it is; nothing without a root.
    static void presentFromKeyWindowRoot(const std::shared_ptr<ui::ViewController>& screen);
    // The form for a new person in the shared address book, wrapped and presented from the
    // key window's root with the delegate set; nothing (an empty link) without a root. The
    // form starts from the prepared person when one is given (a number typed on the keypad).
    static std::weak_ptr<services::NewPersonViewController> presentNewPersonForm(services::NewPersonViewControllerDelegate& delegate,
                                                                                 contactstore::PersonRef prepared = nullptr);
    // The chooser, wrapped and laid over the key window at kGroupSelectTop.
    static std::shared_ptr<ui::NavigationController> layChooserOverKeyWindow(std::shared_ptr<ui::ViewController> chooser);
};

} // namespace tessaro
