#include "platform/ui/TableViewDelegate.h"

#include "platform/ui/SystemWords.h"
#include "platform/ui/TableView.h"

namespace ui {

double TableViewDelegate::heightForRowAtIndexPath(TableView& tableView, const IndexPath&)
{
    return tableView.rowHeight();
}

std::string TableViewDelegate::titleForDeleteConfirmationButtonForRowAtIndexPath(TableView&, const IndexPath&)
{
    return systemWord(SystemWord::Delete);
}

} // namespace ui
