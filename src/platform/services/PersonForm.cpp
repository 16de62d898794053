#include "platform/services/PersonForm.h"

#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Localization.h"
#include "platform/contactstore/Person.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/services/PersonValueText.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
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
constexpr double kDeleteButtonSize = 24;
constexpr double kTextLineHeight = 20;

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
std::string fieldName(PropertyID property)
{
    switch (property) {
    case kPersonPrefixProperty: return "prefix";
    case kPersonFirstNameProperty: return "firstName";
    case kPersonMiddleNameProperty: return "middleName";
    case kPersonLastNameProperty: return "lastName";
    case kPersonSuffixProperty: return "suffix";
    case kPersonFirstNamePhoneticProperty: return "firstNamePhonetic";
    case kPersonLastNamePhoneticProperty: return "lastNamePhonetic";
    case kPersonNicknameProperty: return "nickname";
    case kPersonOrganizationProperty: return "organization";
    case kPersonJobTitleProperty: return "jobTitle";
    case kPersonDepartmentProperty: return "department";
    default: return "field" + std::to_string(property);
    }
}

const char* entryName(PersonForm::EntryKind kind)
{
    return kind == PersonForm::EntryKind::Phone ? "phone" : "email";
}

bool isOrganisationProperty(PropertyID property)
{
    return property == kPersonOrganizationProperty || property == kPersonJobTitleProperty || property == kPersonDepartmentProperty;
}

std::optional<std::string> labelOrNone(const std::string& label)
{
    return label.empty() ? std::nullopt : std::optional<std::string>(label);
}

} // namespace

PersonForm::PersonForm(std::string identifierPrefix, LineDeletion deletion)
    : m_prefix(std::move(identifierPrefix))
    , m_deletion(deletion)
{
}

PersonForm::~PersonForm()
{
    if (auto sheet = m_labelSheet.lock())
        sheet->setDelegate(nullptr);
}

PropertyID PersonForm::propertyOf(EntryKind kind)
{
    return kind == EntryKind::Phone ? kPersonPhoneProperty : kPersonEmailProperty;
}

std::vector<PropertyID> PersonForm::singleValueProperties()
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

std::vector<std::string> PersonForm::labelChoices(EntryKind kind)
{
    if (kind == EntryKind::Phone) {
        return { kPersonPhoneMobileLabel, kPersonPhoneIPhoneLabel, kHomeLabel, kWorkLabel, kPersonPhoneMainLabel,
                 kPersonPhoneHomeFAXLabel, kPersonPhoneWorkFAXLabel, kPersonPhonePagerLabel, kOtherLabel };
    }
    return { kHomeLabel, kWorkLabel, kPersonEmailICloudLabel, kOtherLabel };
}

const std::vector<PropertyID>& PersonForm::otherLineProperties()
{
    static const std::vector<PropertyID> properties { kPersonURLProperty, kPersonAddressProperty, kPersonDateProperty,
                                                      kPersonInstantMessageProperty, kPersonRelatedNamesProperty };
    return properties;
}

std::vector<PropertyID> PersonForm::writtenProperties()
{
    auto properties = singleValueProperties();
    properties.push_back(kPersonPhoneProperty);
    properties.push_back(kPersonEmailProperty);
    const auto& others = otherLineProperties();
    properties.insert(properties.end(), others.begin(), others.end());
    return properties;
}

void PersonForm::readPerson(const Person& person)
{
    m_singleValues.clear();
    m_deleted.clear();
    for (PropertyID property : singleValueProperties()) {
        if (const std::string* text = person.stringValue(property))
            m_singleValues[property] = *text;
    }
    for (EntryKind kind : { EntryKind::Phone, EntryKind::Email }) {
        auto& list = entries(kind);
        list.clear();
        if (const MultiValue* multi = person.multiValue(propertyOf(kind))) {
            for (const auto& entry : multi->entries()) {
                if (const auto* text = std::get_if<std::string>(&entry.value))
                    list.push_back({ entry.label.value_or(std::string()), *text, entry.identifier });
            }
        }
        // An empty form still offers one line of each, the way the handset's form does.
        if (list.empty())
            list.push_back({ labelChoices(kind).front(), {} });
    }
    m_otherLines.clear();
    if (m_deletion == LineDeletion::Off)
        return;
    for (PropertyID property : otherLineProperties()) {
        if (const MultiValue* multi = person.multiValue(property)) {
            for (const auto& entry : multi->entries())
                m_otherLines.push_back({ property, entry.identifier, AddressBook::copyLocalizedLabel(entry.label),
                                         PersonValueText::text(property, entry.value) });
        }
    }
}

void PersonForm::layoutIn(std::shared_ptr<ui::ScrollView> scrollView)
{
    m_scrollView = std::move(scrollView);
    relayout();
}

void PersonForm::relayout()
{
    if (!m_scrollView)
        return;
    for (auto subview : std::vector<std::shared_ptr<ui::View>>(m_scrollView->subviews()))
        subview->removeFromSuperview();
    m_singleValueFields.clear();
    m_phoneViews.clear();
    m_emailViews.clear();

    double y = kSectionGap;
    for (PropertyID property : singleValueProperties()) {
        if (!isOrganisationProperty(property))
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
    if (!m_otherLines.empty()) {
        y += kSectionGap;
        for (std::size_t index = 0; index < m_otherLines.size(); ++index)
            y = addOtherLineRow(y, index);
    }
    m_scrollView->setContentSize({ m_scrollView->bounds().width(), y + kSectionGap });
}

std::shared_ptr<ui::View> PersonForm::addRowBackground(double y, double height)
{
    auto row = std::make_shared<ui::View>(ui::Rect { kMargin, y, 320 - 2 * kMargin, height });
    row->setBackgroundColor(ui::Color::whiteColor());
    row->setBorderWidth(0.5);
    row->setBorderColor(ui::Color::lightGrayColor());
    m_scrollView->addSubview(row);
    return row;
}

double PersonForm::addSectionCaption(double y, const std::string& caption)
{
    auto label = std::make_shared<ui::Label>(ui::Rect { kMargin * 2, y, 320 - kMargin * 4, kCaptionHeight });
    label->setText(caption);
    label->setFont(ui::Font::systemFontOfSize(14));
    label->setTextColor(ui::Color::darkGrayColor());
    label->setBackgroundColor(ui::Color::clearColor());
    m_scrollView->addSubview(label);
    return y + kCaptionHeight;
}

double PersonForm::addSingleValueRow(double y, PropertyID property)
{
    addRowBackground(y, kRowHeight);
    auto field = std::make_shared<ui::TextField>(ui::Rect { 2 * kMargin, y, 320 - 4 * kMargin, kRowHeight });
    field->setPlaceholder(Localization::localizedPropertyName(property));
    auto typed = m_singleValues.find(property);
    field->setText(typed == m_singleValues.end() ? std::string() : typed->second);
    field->setAutocorrectionType(ui::TextAutocorrectionType::No);
    field->setAutocapitalizationType(ui::TextAutocapitalizationType::Words);
    field->setClearButtonMode(ui::TextFieldViewMode::WhileEditing);
    field->setAccessibilityIdentifier(m_prefix + "." + fieldName(property));
    ui::TextField* raw = field.get();
    field->addAction(ui::ControlEvent::EditingChanged, [this, property, raw](ui::Control&) {
        m_singleValues[property] = raw->text();
        changed();
    });
    field->addAction(ui::ControlEvent::EditingDidBegin, [this, raw](ui::Control&) { fieldEditingBegan(*raw); });
    field->addAction(ui::ControlEvent::EditingDidEnd, [this](ui::Control&) { fieldEditingEnded(); });
    m_scrollView->addSubview(field);
    m_singleValueFields[property] = field;
    return y + kRowHeight;
}

double PersonForm::addEntryRow(double y, EntryKind kind, std::size_t index)
{
    const Entry& entry = entries(kind)[index];
    std::string name = m_prefix + "." + entryName(kind) + "." + std::to_string(index);
    addRowBackground(y, kRowHeight);

    auto labelButton = std::make_shared<ui::Button>(ui::ButtonType::System, ui::Rect { kMargin, y, kLabelButtonWidth, kRowHeight });
    labelButton->setTitle(AddressBook::copyLocalizedLabel(entry.label));
    labelButton->setContentHorizontalAlignment(ui::ContentHorizontalAlignment::Right);
    labelButton->setAccessibilityIdentifier(name + ".label");
    labelButton->addAction(ui::ControlEvent::TouchUpInside, [this, kind, index](ui::Control&) { chooseLabel(kind, index); });
    m_scrollView->addSubview(labelButton);

    double fieldX = kMargin + kLabelButtonWidth + kMargin;
    double fieldRight = 320 - 2 * kMargin - (m_deletion == LineDeletion::On ? kDeleteButtonSize + kMargin : 0);
    auto field = std::make_shared<ui::TextField>(ui::Rect { fieldX, y, fieldRight - fieldX, kRowHeight });
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
        changed();
    });
    field->addAction(ui::ControlEvent::EditingDidBegin, [this, raw](ui::Control&) { fieldEditingBegan(*raw); });
    field->addAction(ui::ControlEvent::EditingDidEnd, [this](ui::Control&) { fieldEditingEnded(); });
    m_scrollView->addSubview(field);
    if (m_deletion == LineDeletion::On)
        addDeleteButton(y, kRowHeight, name + ".delete", [this, kind, index] { deleteEntry(kind, index); });

    entryViews(kind).push_back({ labelButton, field });
    return y + kRowHeight;
}

double PersonForm::addAddEntryRow(double y, EntryKind kind)
{
    auto button = std::make_shared<ui::Button>(ui::ButtonType::System, ui::Rect { kMargin, y, 320 - 2 * kMargin, kRowHeight });
    button->setTitle(kind == EntryKind::Phone ? foundation::localizedOr("NewPersonAddPhoneTitle", "add phone") : foundation::localizedOr("NewPersonAddEmailTitle", "add email"));
    button->setBackgroundColor(ui::Color::whiteColor());
    button->setContentHorizontalAlignment(ui::ContentHorizontalAlignment::Left);
    button->setContentEdgeInsets({ 0, kMargin, 0, 0 });
    button->setAccessibilityIdentifier(m_prefix + ".add." + entryName(kind));
    button->addAction(ui::ControlEvent::TouchUpInside, [this, kind](ui::Control&) { addEntry(kind); });
    m_scrollView->addSubview(button);
    return y + kRowHeight;
}

double PersonForm::addOtherLineRow(double y, std::size_t index)
{
    const OtherLine& line = m_otherLines[index];
    auto lines = static_cast<double>(std::count(line.text.begin(), line.text.end(), '\n') + 1);
    double height = std::max(kRowHeight, lines * kTextLineHeight + 2 * kMargin);
    std::string name = m_prefix + ".other." + std::to_string(index);
    addRowBackground(y, height);

    auto label = std::make_shared<ui::Label>(ui::Rect { kMargin, y, kLabelButtonWidth, kRowHeight });
    label->setText(line.label.empty() ? Localization::localizedPropertyName(line.property) : line.label);
    label->setFont(ui::Font::boldSystemFontOfSize(13));
    label->setTextColor(ui::Color::grayColor());
    label->setTextAlignment(ui::TextAlignment::Right);
    label->setBackgroundColor(ui::Color::clearColor());
    m_scrollView->addSubview(label);

    double textX = kMargin + kLabelButtonWidth + kMargin;
    double textRight = 320 - 2 * kMargin - kDeleteButtonSize - kMargin;
    auto text = std::make_shared<ui::Label>(ui::Rect { textX, y + kMargin, textRight - textX, height - 2 * kMargin });
    text->setText(line.text);
    text->setNumberOfLines(0);
    text->setFont(ui::Font::systemFontOfSize(15));
    text->setBackgroundColor(ui::Color::clearColor());
    text->setAccessibilityIdentifier(name);
    m_scrollView->addSubview(text);
    addDeleteButton(y, height, name + ".delete", [this, index] { deleteOtherLine(index); });
    return y + height;
}

void PersonForm::addDeleteButton(double y, double rowHeight, const std::string& identifier, std::function<void()> action)
{
    // A red round minus at the end of the line, as the handset marks a line that can go.
    double x = 320 - 2 * kMargin - kDeleteButtonSize;
    auto button = std::make_shared<ui::Button>(ui::ButtonType::Custom,
                                               ui::Rect { x, y + (rowHeight - kDeleteButtonSize) / 2, kDeleteButtonSize, kDeleteButtonSize });
    button->setTitle("\u2212");
    button->setTitleColor(ui::Color::whiteColor());
    button->setBackgroundColor(ui::Color::rgb255(255, 59, 48));
    button->setCornerRadius(kDeleteButtonSize / 2);
    button->setAccessibilityIdentifier(identifier);
    button->addAction(ui::ControlEvent::TouchUpInside, [action = std::move(action)](ui::Control&) { action(); });
    m_scrollView->addSubview(button);
}

void PersonForm::addEntry(EntryKind kind)
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
    if (!m_scrollView)
        return;
    relayout();
    if (auto* field = entryField(kind, list.size() - 1))
        field->becomeFirstResponder();
}

void PersonForm::deleteEntry(EntryKind kind, std::size_t index)
{
    auto& list = entries(kind);
    if (index >= list.size())
        return;
    if (m_scrollView)
        m_scrollView->endEditing();
    if (list[index].identifier != kMultiValueInvalidIdentifier)
        m_deleted[propertyOf(kind)].insert(list[index].identifier);
    list.erase(list.begin() + static_cast<std::ptrdiff_t>(index));
    relayout();
    changed();
}

void PersonForm::deleteOtherLine(std::size_t index)
{
    if (index >= m_otherLines.size())
        return;
    if (m_scrollView)
        m_scrollView->endEditing();
    m_deleted[m_otherLines[index].property].insert(m_otherLines[index].identifier);
    m_otherLines.erase(m_otherLines.begin() + static_cast<std::ptrdiff_t>(index));
    relayout();
    changed();
}

void PersonForm::chooseLabel(EntryKind kind, std::size_t index)
{
    if (index >= entries(kind).size() || !m_scrollView)
        return;
    m_scrollView->endEditing();
    std::vector<std::string> titles;
    for (const auto& label : labelChoices(kind))
        titles.push_back(AddressBook::copyLocalizedLabel(label));
    ui::ActionSheetDelegate* sheetDelegate = this;
    auto sheet = std::make_shared<ui::ActionSheet>(foundation::localizedOr("NewPersonLabelTitle", "Label"), sheetDelegate,
                                                   foundation::localizedOr("CancelButtonTitle", "Cancel"), std::string(), titles);
    m_labelKind = kind;
    m_labelIndex = index;
    m_labelSheet = sheet;
    sheet->showInView(*m_scrollView);
}

void PersonForm::clickedButtonAtIndex(ui::ActionSheet&, int buttonIndex)
{
    auto choices = labelChoices(m_labelKind);
    if (buttonIndex < 0 || buttonIndex >= static_cast<int>(choices.size()) || m_labelIndex >= entries(m_labelKind).size())
        return;
    const std::string& label = choices[static_cast<std::size_t>(buttonIndex)];
    entries(m_labelKind)[m_labelIndex].label = label;
    auto& views = entryViews(m_labelKind);
    if (m_labelIndex < views.size())
        views[m_labelIndex].labelButton->setTitle(AddressBook::copyLocalizedLabel(label));
    changed();
}

void PersonForm::fieldEditingBegan(ui::TextField& field)
{
    // The keyboard covers the lower part of the screen: let the form scroll far enough that
    // the field being typed in stays above it.
    m_scrollView->setContentInset({ 0, 0, ui::Window::keyboardHeight, 0 });
    m_scrollView->scrollRectToVisible(field.frame(), false);
}

void PersonForm::fieldEditingEnded()
{
    m_scrollView->setContentInset({});
}

void PersonForm::changed()
{
    if (m_changed)
        m_changed();
}

ui::TextField* PersonForm::fieldForProperty(PropertyID property) const
{
    auto found = m_singleValueFields.find(property);
    return found == m_singleValueFields.end() ? nullptr : found->second.get();
}

ui::TextField* PersonForm::entryField(EntryKind kind, std::size_t index) const
{
    const auto& views = kind == EntryKind::Phone ? m_phoneViews : m_emailViews;
    return index < views.size() ? views[index].field.get() : nullptr;
}

std::string PersonForm::entryLabel(EntryKind kind, std::size_t index) const
{
    const auto& list = entries(kind);
    return index < list.size() ? list[index].label : std::string();
}

bool PersonForm::hasAnyValue() const
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

bool PersonForm::writeInto(Person& person, Error& error) const
{
    for (PropertyID property : singleValueProperties()) {
        auto found = m_singleValues.find(property);
        std::string text = found == m_singleValues.end() ? std::string() : trimmed(found->second);
        bool written = text.empty() ? person.removeValue(property, &error) : person.setValue(property, text, &error);
        if (!written)
            return false;
    }
    return writeEntries(person, EntryKind::Phone, error) && writeEntries(person, EntryKind::Email, error)
        && writeOtherLines(person, error);
}

bool PersonForm::writeEntries(Person& person, EntryKind kind, Error& error) const
{
    const PropertyID property = propertyOf(kind);
    const MultiValue* existing = person.multiValue(property);
    MultiValue values = existing ? *existing : MultiValue(PropertyType::MultiString);
    // The person's entries that still have a line with text keep their place and
    // identifier; the others (deleted lines, lines emptied) go.
    std::set<MultiValueIdentifier> kept;
    for (const auto& entry : entries(kind)) {
        if (entry.identifier != kMultiValueInvalidIdentifier && !trimmed(entry.value).empty())
            kept.insert(entry.identifier);
    }
    for (std::size_t index = values.count(); index-- > 0;) {
        if (!kept.count(values.identifierAtIndex(index)))
            (void)values.removeValueAndLabelAtIndex(index);
    }
    for (const auto& entry : entries(kind)) {
        std::string text = trimmed(entry.value);
        if (text.empty())
            continue;
        auto index = entry.identifier == kMultiValueInvalidIdentifier ? std::nullopt : values.indexForIdentifier(entry.identifier);
        if (index) {
            (void)values.replaceValueAtIndex(text, *index);
            (void)values.replaceLabelAtIndex(labelOrNone(entry.label), *index);
        } else {
            (void)values.addValueAndLabel(text, labelOrNone(entry.label));
        }
    }
    return values.isEmpty() ? person.removeValue(property, &error) : person.setValue(property, values, &error);
}

bool PersonForm::writeOtherLines(Person& person, Error& error) const
{
    for (PropertyID property : otherLineProperties()) {
        auto deleted = m_deleted.find(property);
        const MultiValue* existing = person.multiValue(property);
        if (deleted == m_deleted.end() || !existing)
            continue;
        MultiValue values = *existing;
        for (MultiValueIdentifier identifier : deleted->second) {
            if (auto index = values.indexForIdentifier(identifier))
                (void)values.removeValueAndLabelAtIndex(*index);
        }
        bool written = values.isEmpty() ? person.removeValue(property, &error) : person.setValue(property, values, &error);
        if (!written)
            return false;
    }
    return true;
}

} // namespace services
