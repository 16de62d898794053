#include "platform/services/NewPersonViewController.h"

#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Localization.h"
#include "platform/contactstore/MultiValue.h"
#include "platform/contactstore/Person.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TextField.h"
#include "platform/ui/Window.h"

#include <algorithm>

namespace services {

using namespace contactstore;

namespace {

constexpr double kMargin = 10;
constexpr double kRowHeight = 44;
constexpr double kCaptionHeight = 30;
constexpr double kLabelButtonWidth = 90;
constexpr double kSectionGap = 16;

// The platform's screens borrow the application's strings table and fall back to English,
// as the handset's own screens always show some text.
std::string textOr(std::string_view key, const char* english)
{
    auto text = foundation::localized(key);
    return text.empty() ? std::string(english) : text;
}

std::string trimmed(const std::string& text)
{
    const char* blanks = " \t\r\n";
    auto first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    auto last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

// The automation name of a field: stable, and readable in scripts.
std::string fieldIdentifier(PropertyID property)
{
    switch (property) {
    case kPersonPrefixProperty: return "newperson.prefix";
    case kPersonFirstNameProperty: return "newperson.firstName";
    case kPersonMiddleNameProperty: return "newperson.middleName";
    case kPersonLastNameProperty: return "newperson.lastName";
    case kPersonSuffixProperty: return "newperson.suffix";
    case kPersonFirstNamePhoneticProperty: return "newperson.firstNamePhonetic";
    case kPersonLastNamePhoneticProperty: return "newperson.lastNamePhonetic";
    case kPersonNicknameProperty: return "newperson.nickname";
    case kPersonOrganizationProperty: return "newperson.organization";
    case kPersonJobTitleProperty: return "newperson.jobTitle";
    case kPersonDepartmentProperty: return "newperson.department";
    default: return "newperson.field" + std::to_string(property);
    }
}

const char* entryName(NewPersonViewController::EntryKind kind)
{
    return kind == NewPersonViewController::EntryKind::Phone ? "phone" : "email";
}

bool isOrganisationProperty(PropertyID property)
{
    return property == kPersonOrganizationProperty || property == kPersonJobTitleProperty || property == kPersonDepartmentProperty;
}

} // namespace

NewPersonViewController::NewPersonViewController()
    : m_person(Person::create())
{
    setTitle(textOr("NewPersonTitle", "New Contact"));
    readPerson();
}

NewPersonViewController::~NewPersonViewController()
{
    if (auto sheet = m_labelSheet.lock())
        sheet->setDelegate(nullptr);
}

void NewPersonViewController::setDisplayedPerson(PersonRef person)
{
    m_person = person ? std::move(person) : Person::create();
    readPerson();
    if (isViewLoaded()) {
        layoutForm();
        updateDoneButton();
    }
}

PropertyID NewPersonViewController::propertyOf(EntryKind kind)
{
    return kind == EntryKind::Phone ? kPersonPhoneProperty : kPersonEmailProperty;
}

std::vector<PropertyID> NewPersonViewController::singleValueProperties()
{
    std::vector<PropertyID> names;
    if (AddressBook::compositeNameFormat() == CompositeNameFormat::FirstNameFirst) {
        names = { kPersonPrefixProperty, kPersonFirstNameProperty, kPersonMiddleNameProperty, kPersonLastNameProperty,
                  kPersonSuffixProperty, kPersonFirstNamePhoneticProperty, kPersonLastNamePhoneticProperty };
    } else {
        names = { kPersonPrefixProperty, kPersonLastNameProperty, kPersonMiddleNameProperty, kPersonFirstNameProperty,
                  kPersonSuffixProperty, kPersonLastNamePhoneticProperty, kPersonFirstNamePhoneticProperty };
    }
    names.insert(names.end(), { kPersonNicknameProperty, kPersonOrganizationProperty, kPersonJobTitleProperty, kPersonDepartmentProperty });
    return names;
}

std::vector<std::string> NewPersonViewController::labelChoices(EntryKind kind)
{
    if (kind == EntryKind::Phone) {
        return { kPersonPhoneMobileLabel, kPersonPhoneIPhoneLabel, kHomeLabel, kWorkLabel, kPersonPhoneMainLabel,
                 kPersonPhoneHomeFAXLabel, kPersonPhoneWorkFAXLabel, kPersonPhonePagerLabel, kOtherLabel };
    }
    return { kHomeLabel, kWorkLabel, kPersonEmailICloudLabel, kOtherLabel };
}

void NewPersonViewController::readPerson()
{
    m_singleValues.clear();
    for (PropertyID property : singleValueProperties()) {
        if (const std::string* text = m_person->stringValue(property))
            m_singleValues[property] = *text;
    }
    for (EntryKind kind : { EntryKind::Phone, EntryKind::Email }) {
        auto& list = entries(kind);
        list.clear();
        if (const MultiValue* multi = m_person->multiValue(propertyOf(kind))) {
            for (const auto& entry : multi->entries()) {
                if (const auto* text = std::get_if<std::string>(&entry.value))
                    list.push_back({ entry.label.value_or(std::string()), *text });
            }
        }
        // An empty form still offers one line of each, the way the handset's form does.
        if (list.empty())
            list.push_back({ labelChoices(kind).front(), {} });
    }
}

void NewPersonViewController::loadView()
{
    auto page = std::make_shared<ui::View>(ui::Rect { 0, 0, 320, 416 });
    page->setBackgroundColor(ui::Color::groupTableViewBackgroundColor());
    m_scrollView = std::make_shared<ui::ScrollView>(page->bounds());
    m_scrollView->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    m_scrollView->setAccessibilityIdentifier("newperson.form");
    page->addSubview(m_scrollView);
    setView(page);
}

void NewPersonViewController::viewDidLoad()
{
    auto cancelItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Cancel, [this](ui::BarButtonItem&) { cancel(); });
    cancelItem->setAccessibilityIdentifier("newperson.cancel");
    m_doneItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Done, [this](ui::BarButtonItem&) { done(); });
    m_doneItem->setAccessibilityIdentifier("newperson.done");
    navigationItem().setLeftBarButtonItem(cancelItem);
    navigationItem().setRightBarButtonItem(m_doneItem);
    layoutForm();
    updateDoneButton();
}

void NewPersonViewController::layoutForm()
{
    for (auto subview : std::vector<std::shared_ptr<ui::View>>(m_scrollView->subviews()))
        subview->removeFromSuperview();
    m_singleValueFields.clear();
    m_phoneViews.clear();
    m_emailViews.clear();

    double y = kSectionGap;
    for (PropertyID property : singleValueProperties()) {
        if (isOrganisationProperty(property))
            continue;
        y = addSingleValueRow(y, property);
    }
    for (EntryKind kind : { EntryKind::Phone, EntryKind::Email }) {
        y = addSectionCaption(y + kSectionGap, Localization::localizedPropertyName(propertyOf(kind)));
        for (std::size_t index = 0; index < entries(kind).size(); ++index)
            y = addEntryRow(y, kind, index);
        y = addAddEntryRow(y, kind);
    }
    y += kSectionGap;
    for (PropertyID property : singleValueProperties()) {
        if (isOrganisationProperty(property))
            y = addSingleValueRow(y, property);
    }
    m_scrollView->setContentSize({ m_scrollView->bounds().width(), y + kSectionGap });
}

double NewPersonViewController::addSectionCaption(double y, const std::string& caption)
{
    auto label = std::make_shared<ui::Label>(ui::Rect { kMargin * 2, y, 320 - kMargin * 4, kCaptionHeight });
    label->setText(caption);
    label->setFont(ui::Font::systemFontOfSize(14));
    label->setTextColor(ui::Color::darkGrayColor());
    label->setBackgroundColor(ui::Color::clearColor());
    m_scrollView->addSubview(label);
    return y + kCaptionHeight;
}

double NewPersonViewController::addSingleValueRow(double y, PropertyID property)
{
    auto row = std::make_shared<ui::View>(ui::Rect { kMargin, y, 320 - 2 * kMargin, kRowHeight });
    row->setBackgroundColor(ui::Color::whiteColor());
    row->setBorderWidth(0.5);
    row->setBorderColor(ui::Color::lightGrayColor());
    m_scrollView->addSubview(row);

    auto field = std::make_shared<ui::TextField>(ui::Rect { 2 * kMargin, y, 320 - 4 * kMargin, kRowHeight });
    field->setPlaceholder(Localization::localizedPropertyName(property));
    field->setText(m_singleValues.count(property) ? m_singleValues[property] : std::string());
    field->setAutocorrectionType(ui::TextAutocorrectionType::No);
    field->setAutocapitalizationType(ui::TextAutocapitalizationType::Words);
    field->setClearButtonMode(ui::TextFieldViewMode::WhileEditing);
    field->setAccessibilityIdentifier(fieldIdentifier(property));
    ui::TextField* raw = field.get();
    field->addAction(ui::ControlEvent::EditingChanged, [this, property, raw](ui::Control&) {
        m_singleValues[property] = raw->text();
        updateDoneButton();
    });
    field->addAction(ui::ControlEvent::EditingDidBegin, [this, raw](ui::Control&) { fieldEditingBegan(*raw); });
    field->addAction(ui::ControlEvent::EditingDidEnd, [this](ui::Control&) { fieldEditingEnded(); });
    m_scrollView->addSubview(field);
    m_singleValueFields[property] = field;
    return y + kRowHeight;
}

double NewPersonViewController::addEntryRow(double y, EntryKind kind, std::size_t index)
{
    const Entry& entry = entries(kind)[index];
    std::string name = std::string("newperson.") + entryName(kind) + "." + std::to_string(index);

    auto row = std::make_shared<ui::View>(ui::Rect { kMargin, y, 320 - 2 * kMargin, kRowHeight });
    row->setBackgroundColor(ui::Color::whiteColor());
    row->setBorderWidth(0.5);
    row->setBorderColor(ui::Color::lightGrayColor());
    m_scrollView->addSubview(row);

    auto labelButton = std::make_shared<ui::Button>(ui::ButtonType::System, ui::Rect { kMargin, y, kLabelButtonWidth, kRowHeight });
    labelButton->setTitle(AddressBook::copyLocalizedLabel(entry.label));
    labelButton->setContentHorizontalAlignment(ui::ContentHorizontalAlignment::Right);
    labelButton->setAccessibilityIdentifier(name + ".label");
    labelButton->addAction(ui::ControlEvent::TouchUpInside, [this, kind, index](ui::Control&) { chooseLabel(kind, index); });
    m_scrollView->addSubview(labelButton);

    double fieldX = kMargin + kLabelButtonWidth + kMargin;
    auto field = std::make_shared<ui::TextField>(ui::Rect { fieldX, y, 320 - fieldX - 2 * kMargin, kRowHeight });
    field->setPlaceholder(Localization::localizedPropertyName(propertyOf(kind)));
    field->setText(entry.value);
    field->setKeyboardType(kind == EntryKind::Phone ? ui::KeyboardType::PhonePad : ui::KeyboardType::EmailAddress);
    field->setAutocorrectionType(ui::TextAutocorrectionType::No);
    field->setAutocapitalizationType(ui::TextAutocapitalizationType::None);
    field->setClearButtonMode(ui::TextFieldViewMode::WhileEditing);
    field->setAccessibilityIdentifier(name);
    ui::TextField* raw = field.get();
    field->addAction(ui::ControlEvent::EditingChanged, [this, kind, index, raw](ui::Control&) {
        if (index < entries(kind).size())
            entries(kind)[index].value = raw->text();
        updateDoneButton();
    });
    field->addAction(ui::ControlEvent::EditingDidBegin, [this, raw](ui::Control&) { fieldEditingBegan(*raw); });
    field->addAction(ui::ControlEvent::EditingDidEnd, [this](ui::Control&) { fieldEditingEnded(); });
    m_scrollView->addSubview(field);

    auto& views = kind == EntryKind::Phone ? m_phoneViews : m_emailViews;
    views.push_back({ labelButton, field });
    return y + kRowHeight;
}

double NewPersonViewController::addAddEntryRow(double y, EntryKind kind)
{
    auto button = std::make_shared<ui::Button>(ui::ButtonType::System, ui::Rect { kMargin, y, 320 - 2 * kMargin, kRowHeight });
    button->setTitle(kind == EntryKind::Phone ? textOr("NewPersonAddPhoneTitle", "add phone") : textOr("NewPersonAddEmailTitle", "add email"));
    button->setBackgroundColor(ui::Color::whiteColor());
    button->setContentHorizontalAlignment(ui::ContentHorizontalAlignment::Left);
    button->setContentEdgeInsets({ 0, kMargin, 0, 0 });
    button->setAccessibilityIdentifier(std::string("newperson.add.") + entryName(kind));
    button->addAction(ui::ControlEvent::TouchUpInside, [this, kind](ui::Control&) { addEntry(kind); });
    m_scrollView->addSubview(button);
    return y + kRowHeight;
}

void NewPersonViewController::addEntry(EntryKind kind)
{
    // A new line takes the first label not used yet, as the handset's form does.
    auto& list = entries(kind);
    auto choices = labelChoices(kind);
    std::string label = choices.front();
    for (const auto& choice : choices) {
        bool used = std::any_of(list.begin(), list.end(), [&choice](const Entry& entry) { return entry.label == choice; });
        if (!used) {
            label = choice;
            break;
        }
    }
    list.push_back({ label, {} });
    if (!isViewLoaded())
        return;
    layoutForm();
    if (auto* field = entryField(kind, list.size() - 1))
        field->becomeFirstResponder();
}

void NewPersonViewController::chooseLabel(EntryKind kind, std::size_t index)
{
    if (index >= entries(kind).size() || !isViewLoaded())
        return;
    view()->endEditing();
    std::vector<std::string> titles;
    for (const auto& label : labelChoices(kind))
        titles.push_back(AddressBook::copyLocalizedLabel(label));
    ui::ActionSheetDelegate* sheetDelegate = this;
    auto sheet = std::make_shared<ui::ActionSheet>(textOr("NewPersonLabelTitle", "Label"), sheetDelegate,
                                                   textOr("CancelButtonTitle", "Cancel"), std::string(), titles);
    m_labelKind = kind;
    m_labelIndex = index;
    m_labelSheet = sheet;
    sheet->showInView(*view());
}

void NewPersonViewController::clickedButtonAtIndex(ui::ActionSheet&, int buttonIndex)
{
    auto choices = labelChoices(m_labelKind);
    if (buttonIndex < 0 || buttonIndex >= static_cast<int>(choices.size()) || m_labelIndex >= entries(m_labelKind).size())
        return;
    entries(m_labelKind)[m_labelIndex].label = choices[static_cast<std::size_t>(buttonIndex)];
    auto& views = m_labelKind == EntryKind::Phone ? m_phoneViews : m_emailViews;
    if (m_labelIndex < views.size())
        views[m_labelIndex].labelButton->setTitle(AddressBook::copyLocalizedLabel(choices[static_cast<std::size_t>(buttonIndex)]));
}

void NewPersonViewController::fieldEditingBegan(ui::TextField& field)
{
    // The keyboard covers the lower part of the screen: let the form scroll far enough that
    // the field being typed in stays above it.
    m_scrollView->setContentInset({ 0, 0, ui::Window::keyboardHeight, 0 });
    m_scrollView->scrollRectToVisible(field.frame(), false);
}

void NewPersonViewController::fieldEditingEnded()
{
    m_scrollView->setContentInset({});
}

ui::TextField* NewPersonViewController::fieldForProperty(PropertyID property) const
{
    auto found = m_singleValueFields.find(property);
    return found == m_singleValueFields.end() ? nullptr : found->second.get();
}

ui::TextField* NewPersonViewController::entryField(EntryKind kind, std::size_t index) const
{
    const auto& views = kind == EntryKind::Phone ? m_phoneViews : m_emailViews;
    return index < views.size() ? views[index].field.get() : nullptr;
}

std::string NewPersonViewController::entryLabel(EntryKind kind, std::size_t index) const
{
    const auto& list = entries(kind);
    return index < list.size() ? list[index].label : std::string();
}

bool NewPersonViewController::isDoneEnabled() const
{
    for (const auto& [property, text] : m_singleValues) {
        if (!trimmed(text).empty())
            return true;
    }
    for (EntryKind kind : { EntryKind::Phone, EntryKind::Email }) {
        for (const auto& entry : entries(kind)) {
            if (!trimmed(entry.value).empty())
                return true;
        }
    }
    return false;
}

void NewPersonViewController::updateDoneButton()
{
    if (m_doneItem)
        m_doneItem->setEnabled(isDoneEnabled());
}

void NewPersonViewController::done()
{
    if (isViewLoaded())
        view()->endEditing();
    if (!isDoneEnabled())
        return;
    Error error;
    if (!writePerson(error) || !addAndSave(error)) {
        showSaveFailure(error);
        return;
    }
    finish(m_person);
}

void NewPersonViewController::cancel()
{
    if (isViewLoaded())
        view()->endEditing();
    finish(nullptr);
}

bool NewPersonViewController::writePerson(Error& error)
{
    for (PropertyID property : singleValueProperties()) {
        auto found = m_singleValues.find(property);
        std::string text = found == m_singleValues.end() ? std::string() : trimmed(found->second);
        bool written = text.empty() ? m_person->removeValue(property, &error) : m_person->setValue(property, text, &error);
        if (!written)
            return false;
    }
    for (EntryKind kind : { EntryKind::Phone, EntryKind::Email }) {
        MultiValue values(PropertyType::MultiString);
        for (const auto& entry : entries(kind)) {
            std::string text = trimmed(entry.value);
            if (text.empty())
                continue;
            (void)values.addValueAndLabel(text, entry.label.empty() ? std::nullopt : std::optional<std::string>(entry.label));
        }
        bool written = values.isEmpty() ? m_person->removeValue(propertyOf(kind), &error)
                                        : m_person->setValue(propertyOf(kind), values, &error);
        if (!written)
            return false;
    }
    return true;
}

bool NewPersonViewController::addAndSave(Error& error)
{
    AddressBookRef book = m_addressBook ? m_addressBook : AddressBook::create(&error);
    if (!book)
        return false;
    bool isNew = m_person->recordID() == kRecordInvalidID;
    if (!book->addRecord(m_person, &error))
        return false;
    if (book->save(&error))
        return true;
    // The handle must not keep a half-made person that a later save elsewhere would write;
    // the form keeps everything typed, so Done can be tried again.
    if (isNew)
        (void)book->removeRecord(m_person);
    return false;
}

void NewPersonViewController::showSaveFailure(const Error& error)
{
    auto alert = std::make_shared<ui::AlertView>(textOr("NewPersonSaveFailedTitle", "The contact could not be saved."),
                                                 error.localizedDescription(), nullptr, "OK");
    alert->show();
}

void NewPersonViewController::finish(const PersonRef& person)
{
    // The delegate usually dismisses and lets go of the form: nothing of it is touched after.
    if (auto* delegate = m_delegate)
        delegate->didCompleteWithNewPerson(*this, person);
}

} // namespace services
