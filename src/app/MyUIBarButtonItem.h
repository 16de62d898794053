#pragma once
// A bar button that remembers the table row it was made for, so that a button put into a
// table cell can tell its action which row it belongs to.
//
// Ownership as for every bar button item: shared between the screen and the bar or cell
// that shows it.

#include "platform/ui/BarButtonItem.h"
#include "platform/ui/IndexPath.h"

namespace tessaro {

class MyUIBarButtonItem : public ui::BarButtonItem {
public:
    using ui::BarButtonItem::BarButtonItem;

    const ui::IndexPath& indexPath() const { return _indexPath; }
    void setIndexPath(const ui::IndexPath& indexPath) { _indexPath = indexPath; }

private:
    ui::IndexPath _indexPath;
};

} // namespace tessaro
