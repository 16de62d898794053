#include "screens/messaging/RecipientListViewController.h"

#include "platform/foundation/RunLoop.h"
#include "platform/ui/SegmentedControl.h"
#include "platform/ui/TableView.h"
#include "platform/ui/Toolbar.h"
#include "screens/groups/GroupPersons.h"
#include "screens/groups/PersonSectionsViewController.h"

namespace tessaro {

RecipientListViewController::RecipientListViewController(GroupObject groupObj, std::optional<std::vector<Contact>> arrContacts,
                                                         std::string name)
    : _groupObj(std::move(groupObj))
    , _arrContacts(std::move(arrContacts))
    , m_name(std::move(name))
{
}

RecipientListViewController::~RecipientListViewController()
{
    if (_myTableView) {
        _myTableView->setDataSource(nullptr);
        _myTableView->setDelegate(nullptr);
    }
}

std::vector<Contact> RecipientListViewController::personsToList(const GroupObject& group,
                                                                const std::optional<std::vector<Contact>>& contacts)
{
    return contacts ? *contacts : GroupPersons::personsOfGroup(group);
}

std::string RecipientListViewController::displayName(const Contact& person)
{
    return PersonSectionsViewController::personRowName(person);
}

void RecipientListViewController::loadView()
{
    CommonViewController::loadView();
    view()->setBackgroundColor(ui::Color::whiteColor());
}

void RecipientListViewController::viewDidLoad()
{
    initData();
    auto& page = *view();
    double width = page.bounds().width();

    m_filterBar = std::make_shared<ui::Toolbar>(ui::Rect { 0, 0, width, kFilterBarHeight });
    m_filterBar->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth);
    _segmentedControl = std::make_shared<ui::SegmentedControl>(filterTitles());
    _segmentedControl->setFrame({ 10, 5, width - 20, 30 });
    _segmentedControl->setSegmentedControlStyle(ui::SegmentedControlStyle::Bar);
    _segmentedControl->setSelectedSegmentIndex(0);
    _segmentedControl->setAccessibilityIdentifier(m_name + ".filter");
    _segmentedControl->addAction(ui::ControlEvent::ValueChanged, [this](ui::Control&) { segmentActionEventAll(); });
    m_filterBar->addSubview(_segmentedControl);
    page.addSubview(m_filterBar);

    // The list takes the rest of the page, whichever stack the screen was pushed onto.
    double height = std::max(0.0, page.bounds().height() - kFilterBarHeight);
    _myTableView = std::make_shared<ui::TableView>(ui::Rect { 0, kFilterBarHeight, width, height }, ui::TableViewStyle::Plain);
    _myTableView->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    _myTableView->setBackgroundColor(ui::Color::whiteColor());
    _myTableView->setAccessibilityIdentifier(m_name + ".list");
    _myTableView->setDataSource(this);
    _myTableView->setDelegate(this);
    page.addSubview(_myTableView);
}

void RecipientListViewController::reloadTableData()
{
    if (_myTableView)
        _myTableView->reloadData();
}

void RecipientListViewController::segmentActionEventAll()
{
    m_filterIndex = _segmentedControl ? _segmentedControl->selectedSegmentIndex() : 0;
    reloadTableData();
}

void RecipientListViewController::reloadLaterIfFiltered()
{
    if (filterIndex() == 0)
        return;
    std::weak_ptr<ui::ViewController> weak = weak_from_this();
    foundation::RunLoop::main().performAfterDelay(kFilterRefreshDelay, weak, [weak] {
        if (auto self = std::static_pointer_cast<RecipientListViewController>(weak.lock()))
            self->reloadTableData();
    });
}

void RecipientListViewController::composerFinished(ui::ViewController& composer)
{
    composer.dismissViewControllerAnimated(true);
    resetTabBarFrameLater();
}

std::string RecipientListViewController::titleForHeaderInSection(ui::TableView&, int section)
{
    if (section < 0 || section >= static_cast<int>(m_sectionNames.size()))
        return {};
    return m_sectionNames[static_cast<std::size_t>(section)];
}

double RecipientListViewController::heightForHeaderInSection(ui::TableView& tableView, int section)
{
    int rows = numberOfRowsInSection(tableView, section);
    for (int row = 0; row < rows; ++row) {
        if (rowPasses(section, row))
            return kHeaderHeight;
    }
    return 0;
}

double RecipientListViewController::heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath)
{
    return rowPasses(indexPath.section, indexPath.row) ? rowHeight() : 0;
}

} // namespace tessaro
