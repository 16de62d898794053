#pragma once
// Which screen the application shows at each place: the program is the one part that knows
// every layer, so it alone chooses the screens and hands them down as makers. The root, the
// group list and the group's persons only ever call the makers they are given.

#include "app/RootScreens.h"
#include "screens/groups/GroupScreens.h"

namespace tessaro::composition {

// The root's tab screens, overlays and banners.
RootScreens rootScreens();
// The screens the groups tab opens beyond its list and a group's persons.
GroupScreens groupScreens();

} // namespace tessaro::composition
