#pragma once
// The base of the two screens that address one message to many persons at once (one mail,
// one text message): every address or number of a set of persons as a row, one section per
// person headed by the person's name, and a filter in a 40-point bar above the list that
// hides the rows it does not pass (height 0). A section whose rows are all hidden loses its
// header too. What a row holds, what passes the filter and what is sent belong to the screen
// built on this.
//
// The persons are the caller's list when it gives one (the bulk edit's ticked persons), or
// else the group's persons read live when the view loads. The rows are built once then, and
// every choice made on them lives only as long as the screen.
//
// Ownership: the screen owns its table, the filter bar and its control, and the composer it
// presents (through the presentation). Delayed reloads hold the screen weakly.

#include "addressbook/Contact.h"
#include "app/CommonViewController.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "store/GroupObject.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class SegmentedControl;
class TableView;
class Toolbar;
} // namespace ui

namespace tessaro {

class RecipientListViewController : public CommonViewController,
                                    public ui::TableViewDataSource,
                                    public ui::TableViewDelegate {
public:
    static constexpr double kFilterBarHeight = 40;
    static constexpr double kHeaderHeight = 24;
    // How long a row whose choice changed stays in a filtered list before it leaves.
    static constexpr double kFilterRefreshDelay = 0.1;

    ~RecipientListViewController() override;

    // The persons whose rows the screen lists: the caller's list as given, else the group's.
    static std::vector<Contact> personsToList(const GroupObject& group, const std::optional<std::vector<Contact>>& contacts);

    void loadView() override;
    void viewDidLoad() override;

    // Builds the rows from the persons; runs once, when the view loads.
    virtual void initData() = 0;
    // The rows change only by the user's touches; there is nothing to read again.
    void reloadViewData() override { }
    void reloadTableData();
    void segmentActionEventAll();

    const GroupObject& groupObj() const { return _groupObj; }
    ui::TableView* myTableView() const { return _myTableView.get(); }
    ui::SegmentedControl* segmentedControl() const { return _segmentedControl.get(); }
    int filterIndex() const { return m_filterIndex; }

    // The table: one section per person, rows as the screen says, headers for sections
    // with a row in sight.
    std::string titleForHeaderInSection(ui::TableView&, int section) override;
    double heightForHeaderInSection(ui::TableView&, int section) override;
    double heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath) override;
    bool canEditRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return false; }

protected:
    // `name` starts the accessibility identifiers (name.list, name.filter).
    RecipientListViewController(GroupObject groupObj, std::optional<std::vector<Contact>> arrContacts, std::string name);

    // The persons' display name in a section header and on each row: the name, or the phone
    // numbers of a person without one.
    static std::string displayName(const Contact& person);

    virtual std::vector<std::string> filterTitles() const = 0;
    virtual double rowHeight() const = 0;
    // Whether the row exists and passes the current filter (filterIndex()).
    virtual bool rowPasses(int section, int row) const = 0;

    // One section of rows per person listed (rowsOf(person)); a person without rows gets
    // none. The section names are kept alongside.
    template <class Row, class RowsOf>
    void buildSections(std::vector<std::vector<Row>>& sections, RowsOf rowsOf)
    {
        auto persons = personsToList(_groupObj, _arrContacts);
        sections.clear();
        sections.reserve(persons.size());
        m_sectionNames.clear();
        m_sectionNames.reserve(persons.size());
        for (const auto& person : persons) {
            auto rows = rowsOf(person);
            if (rows.empty())
                continue;
            m_sectionNames.push_back(rows.front().name);
            sections.push_back(std::move(rows));
        }
    }

    // The row at (section, row) of rows kept per person; null outside them.
    template <class Row>
    static Row* rowIn(std::vector<std::vector<Row>>& sections, int section, int row)
    {
        if (section < 0 || section >= static_cast<int>(sections.size()))
            return nullptr;
        auto& rows = sections[static_cast<std::size_t>(section)];
        if (row < 0 || row >= static_cast<int>(rows.size()))
            return nullptr;
        return &rows[static_cast<std::size_t>(row)];
    }
    template <class Row>
    static const Row* rowIn(const std::vector<std::vector<Row>>& sections, int section, int row)
    {
        return rowIn(const_cast<std::vector<std::vector<Row>>&>(sections), section, row);
    }
    template <class Row>
    static int rowsIn(const std::vector<std::vector<Row>>& sections, int section)
    {
        if (section < 0 || section >= static_cast<int>(sections.size()))
            return 0;
        return static_cast<int>(sections[static_cast<std::size_t>(section)].size());
    }

    // Under a filter other than the first, a row whose choice changed leaves the list a
    // moment later, once the user has seen the change.
    void reloadLaterIfFiltered();
    // The composer finished: it goes, and the tab area is put back once it has.
    void composerFinished(ui::ViewController& composer);

    // The name each section's rows carry, kept side by side: a reload of the list asks for
    // every section's header, and tens of thousands of them are read fastest from one array.
    std::vector<std::string> m_sectionNames;
    GroupObject _groupObj;
    std::optional<std::vector<Contact>> _arrContacts;
    std::shared_ptr<ui::TableView> _myTableView;
    std::shared_ptr<ui::SegmentedControl> _segmentedControl;

private:
    std::string m_name;
    // The filter's selected segment, asked for every row of every reload.
    int m_filterIndex { 0 };
    std::shared_ptr<ui::Toolbar> m_filterBar;
};

} // namespace tessaro
