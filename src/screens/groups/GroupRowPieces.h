#pragma once
// The pieces that the group editor and the group chooser draw on each group row: the
// group's name colour, its live member count, the count badge and the small red "Local"
// tag. Both lists show the same group the same way, so the rules live here once.

#include "store/GroupObject.h"

#include "platform/ui/Color.h"
#include "platform/ui/Geometry.h"

#include <memory>
#include <string>

namespace ui {
class Label;
}

namespace tessaro {

class GroupRowPieces {
public:
    GroupRowPieces() = delete;

    // The palette colour of the group, or black for a group without a colour.
    static ui::Color nameColor(const GroupObject& group);
    // How many persons the group holds right now: the local member rows whose persons still
    // exist, or the address-book group's members (0 when the address book no longer has it).
    static int memberCount(const GroupObject& group);
    // The group's name in bold, in the group's colour.
    static std::shared_ptr<ui::Label> nameLabel(const ui::Rect& frame, const GroupObject& group, double fontSize);
    // White count on light grey, shrinking to fit.
    static std::shared_ptr<ui::Label> countBadge(const ui::Rect& frame, int count);
    // The tag that tells a group kept by the application from an address-book group.
    static std::shared_ptr<ui::Label> localTag(double x);
};

} // namespace tessaro
