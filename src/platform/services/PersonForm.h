#pragma once
// The editable lines of a person, as the platform's new-person form and the person view's
// edit mode show them: the name fields (the phonetic ones too), phone numbers and mail
// addresses each with a label, and the organisation. Editing an existing person also offers
// a delete button on every line of its numbers, addresses, web addresses, dates,
// instant-message accounts and related names.
//
// What is typed stays in the form until writeInto puts it into a person, so a refused save
// loses nothing. Lines keep the identifier of the entry they were read from: a number that
// was changed is still the same entry afterwards, and the entries not shown here (a postal
// address's parts, a date) are left exactly as they were unless their line was deleted.
//
// Ownership: the screen that shows the form owns it and hands it the scroll view to fill
// (shared); the form owns the rows it lays into it. The label sheet is owned by its
// presentation and loses its link to the form when the form goes first.

#include "platform/contactstore/Constants.h"
#include "platform/contactstore/Forward.h"
#include "platform/contactstore/MultiValue.h"
#include "platform/ui/ActionSheet.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace ui {
class Button;
class ScrollView;
class TextField;
class View;
} // namespace ui

namespace services {

class PersonForm : private ui::ActionSheetDelegate {
public:
    // The multi-valued properties the form edits line by line.
    enum class EntryKind { Phone, Email };
    // Whether lines carry a delete button (an existing person) or not (a new one).
    enum class LineDeletion { Off, On };

    // `identifierPrefix` names the fields for automation ("newperson" gives
    // "newperson.firstName", "newperson.phone.0").
    PersonForm(std::string identifierPrefix, LineDeletion deletion);
    ~PersonForm() override;
    PersonForm(const PersonForm&) = delete;
    PersonForm& operator=(const PersonForm&) = delete;

    // Told after every change typed, chosen or deleted (for a Done button).
    void setChangeHandler(std::function<void()> handler) { m_changed = std::move(handler); }

    // Takes the person's values as the form's starting point, forgetting what was typed.
    void readPerson(const contactstore::Person& person);
    // Lays every row into the scroll view (again), from the values typed so far.
    void layoutIn(std::shared_ptr<ui::ScrollView> scrollView);

    // Whether any name, organisation, number or address holds more than blanks.
    bool hasAnyValue() const;
    // Writes what the form holds into the person: blank fields remove their value, blank
    // and deleted lines their entry. False with the address book's error when it refuses a
    // value; the person may then hold part of the form, so a caller that keeps the person
    // puts its earlier values back.
    [[nodiscard]] bool writeInto(contactstore::Person& person, contactstore::Error& error) const;
    // The properties writeInto may change, for a caller that keeps their earlier values.
    static std::vector<contactstore::PropertyID> writtenProperties();

    ui::TextField* fieldForProperty(contactstore::PropertyID property) const;
    ui::TextField* entryField(EntryKind kind, std::size_t index) const;
    std::size_t entryCount(EntryKind kind) const { return entries(kind).size(); }
    std::string entryLabel(EntryKind kind, std::size_t index) const;
    void addEntry(EntryKind kind);
    void chooseLabel(EntryKind kind, std::size_t index);
    // Deletes a number or mail address line; nothing for an index outside.
    void deleteEntry(EntryKind kind, std::size_t index);
    // The other lines an existing person has (web addresses, postal addresses, dates,
    // instant messages, related names), in the order shown, and deleting one of them.
    struct OtherLine {
        contactstore::PropertyID property { contactstore::kInvalidPropertyID };
        contactstore::MultiValueIdentifier identifier { contactstore::kMultiValueInvalidIdentifier };
        std::string label;
        std::string text;
    };
    const std::vector<OtherLine>& otherLines() const { return m_otherLines; }
    void deleteOtherLine(std::size_t index);

    static std::vector<contactstore::PropertyID> singleValueProperties();
    static std::vector<std::string> labelChoices(EntryKind kind);
    static contactstore::PropertyID propertyOf(EntryKind kind);
    // The multi-values shown as other lines, in their order.
    static const std::vector<contactstore::PropertyID>& otherLineProperties();

private:
    struct Entry {
        std::string label;
        std::string value;
        // The entry of the person this line shows; invalid for a line added here.
        contactstore::MultiValueIdentifier identifier { contactstore::kMultiValueInvalidIdentifier };
    };
    struct EntryViews {
        std::shared_ptr<ui::Button> labelButton;
        std::shared_ptr<ui::TextField> field;
    };

    std::vector<Entry>& entries(EntryKind kind) { return kind == EntryKind::Phone ? m_phones : m_emails; }
    const std::vector<Entry>& entries(EntryKind kind) const { return kind == EntryKind::Phone ? m_phones : m_emails; }
    std::vector<EntryViews>& entryViews(EntryKind kind) { return kind == EntryKind::Phone ? m_phoneViews : m_emailViews; }

    void relayout();
    std::shared_ptr<ui::View> addRowBackground(double y, double height);
    double addSectionCaption(double y, const std::string& caption);
    double addSingleValueRow(double y, contactstore::PropertyID property);
    double addEntryRow(double y, EntryKind kind, std::size_t index);
    double addAddEntryRow(double y, EntryKind kind);
    double addOtherLineRow(double y, std::size_t index);
    void addDeleteButton(double y, double rowHeight, const std::string& identifier, std::function<void()> action);
    void fieldEditingBegan(ui::TextField& field);
    void fieldEditingEnded();
    void changed();
    [[nodiscard]] bool writeEntries(contactstore::Person& person, EntryKind kind, contactstore::Error& error) const;
    [[nodiscard]] bool writeOtherLines(contactstore::Person& person, contactstore::Error& error) const;

    void clickedButtonAtIndex(ui::ActionSheet& sheet, int buttonIndex) override;

    std::string m_prefix;
    LineDeletion m_deletion { LineDeletion::Off };
    std::function<void()> m_changed;

    std::map<contactstore::PropertyID, std::string> m_singleValues;
    std::vector<Entry> m_phones;
    std::vector<Entry> m_emails;
    std::vector<OtherLine> m_otherLines;
    // Entries of the person whose lines were deleted, by property.
    std::map<contactstore::PropertyID, std::set<contactstore::MultiValueIdentifier>> m_deleted;

    std::shared_ptr<ui::ScrollView> m_scrollView;
    std::map<contactstore::PropertyID, std::shared_ptr<ui::TextField>> m_singleValueFields;
    std::vector<EntryViews> m_phoneViews;
    std::vector<EntryViews> m_emailViews;
    // The entry whose label is being chosen, while the label sheet shows.
    EntryKind m_labelKind { EntryKind::Phone };
    std::size_t m_labelIndex { 0 };
    std::weak_ptr<ui::ActionSheet> m_labelSheet;
};

} // namespace services
