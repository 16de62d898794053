#pragma once
// The platform's card of one person: the photo, the name with its reading, the
// organisation, job title and department, then every labelled phone number, mail address,
// web address, postal address, date, instant-message account and related name, and the
// note. A touch on a line first asks the delegate, which may handle the touch itself;
// otherwise the line's own action runs: a number is called ("tel:"), a mail address mailed
// ("mailto:"), a web address opened when it is http or https, a postal address searched on
// a map; other lines do nothing.
//
// With editing allowed, Edit in the navigation bar turns the card into the person form
// (names, numbers, mail addresses, organisation, and a delete button on every line). Done
// writes the form into the person and saves the person's address book; a save the address
// book refuses is shown in an alert, the person keeps its earlier values and the form stays
// with everything typed. Cancel leaves the person as it was.
//
// Ownership: whoever shows the card (as the root of a navigation controller) owns it; it
// shares the person and the address-book handle it is given and owns its views. The
// delegate is a plain pointer that its owner clears if it goes first.

#include "platform/contactstore/Constants.h"
#include "platform/contactstore/Forward.h"
#include "platform/contactstore/MultiValue.h"
#include "platform/services/PersonForm.h"
#include "platform/ui/TableViewDataSource.h"
#include "platform/ui/TableViewDelegate.h"
#include "platform/ui/ViewController.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui {
class BarButtonItem;
class ScrollView;
class TableView;
class View;
} // namespace ui

namespace services {

class PersonViewController;

class PersonViewControllerDelegate {
public:
    virtual ~PersonViewControllerDelegate() = default;
    // A touch on a line of the person: the property and, for a multi-value, the entry's
    // identifier (kMultiValueInvalidIdentifier for a single value). True lets the line's own
    // action run; false when the delegate took care of the touch.
    virtual bool shouldPerformDefaultActionForPerson(PersonViewController& controller, const contactstore::PersonRef& person,
                                                     contactstore::PropertyID property,
                                                     contactstore::MultiValueIdentifier identifier) = 0;
};

class PersonViewController : public ui::ViewController, private ui::TableViewDataSource, private ui::TableViewDelegate {
public:
    // One line of the card.
    struct Line {
        contactstore::PropertyID property { contactstore::kInvalidPropertyID };
        contactstore::MultiValueIdentifier identifier { contactstore::kMultiValueInvalidIdentifier };
        std::string label;
        std::string text;
    };

    PersonViewController();
    ~PersonViewController() override;

    const contactstore::PersonRef& displayedPerson() const { return m_person; }
    void setDisplayedPerson(contactstore::PersonRef person);
    // The handle an edit is saved through; without one, the address book the person was
    // read from.
    void setAddressBook(contactstore::AddressBookRef addressBook) { m_addressBook = std::move(addressBook); }

    bool allowsEditing() const { return m_allowsEditing; }
    void setAllowsEditing(bool allows);

    PersonViewControllerDelegate* personViewDelegate() const { return m_delegate; }
    void setPersonViewDelegate(PersonViewControllerDelegate* delegate) { m_delegate = delegate; }

    void loadView() override;
    void viewDidLoad() override;
    // Entering editing shows the form; leaving it saves, and stays in editing when the save
    // is refused.
    void setEditing(bool editing, bool animated) override;
    // Leaves editing without saving.
    void cancelEditing();

    // The card's lines by section, as shown.
    const std::vector<std::vector<Line>>& sections() const { return m_sections; }
    // What a touch on a line does: asks the delegate, then runs the line's own action.
    void selectLine(const Line& line);
    // The URL of a line's own action; none for lines without one.
    static std::optional<std::string> defaultActionURL(const contactstore::Person& person, contactstore::PropertyID property,
                                                       contactstore::MultiValueIdentifier identifier);

    ui::TableView* tableView() const { return m_tableView.get(); }
    // The form while editing, else null.
    PersonForm* editForm() const { return isEditing() ? m_form.get() : nullptr; }

private:
    void buildSections();
    const Line* lineAt(const ui::IndexPath& indexPath) const;
    std::shared_ptr<ui::View> makeHeaderView() const;
    void showCard();
    [[nodiscard]] bool saveEdit();
    void showSaveFailure(const contactstore::Error& error);
    void putBackBarItems();

    int numberOfSectionsInTableView(ui::TableView&) override;
    int numberOfRowsInSection(ui::TableView&, int section) override;
    std::shared_ptr<ui::TableViewCell> cellForRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    double heightForRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    void didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath) override;
    bool canEditRowAtIndexPath(ui::TableView&, const ui::IndexPath&) override { return false; }

    contactstore::PersonRef m_person;
    contactstore::AddressBookRef m_addressBook;
    PersonViewControllerDelegate* m_delegate { nullptr };
    bool m_allowsEditing { false };
    std::vector<std::vector<Line>> m_sections;

    std::shared_ptr<ui::TableView> m_tableView;
    std::shared_ptr<ui::ScrollView> m_formView;
    std::unique_ptr<PersonForm> m_form;
    // The left items the screen that shows the card put there, while Cancel stands in
    // their place during an edit.
    std::vector<std::shared_ptr<ui::BarButtonItem>> m_leftItemsBeforeEditing;
};

} // namespace services
