#include "platform/services/PersonViewController.h"

#include "platform/contactstore/AddressBook.h"
#include "platform/contactstore/Localization.h"
#include "platform/contactstore/Person.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/services/PersonValueText.h"
#include "platform/services/URLEscaping.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/Application.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/TableView.h"

#include <algorithm>
#include <utility>

namespace services {

using namespace contactstore;

namespace {

constexpr double kMargin = 10;
constexpr double kPhotoSize = 64;
constexpr double kTextLineHeight = 20;
constexpr double kLineMinimumHeight = 44;
const std::string kLineCellIdentifier = "PersonLine";

// Any map service answers a plain-text search; this one needs no account.
constexpr char kMapSearchURL[] = "https://www.openstreetmap.org/search?query=";

// The card's sections, in the handset's order; each multi-value is one section.
const std::vector<PropertyID>& cardMultiValues()
{
    static const std::vector<PropertyID> properties { kPersonPhoneProperty, kPersonEmailProperty, kPersonURLProperty,
                                                      kPersonAddressProperty, kPersonDateProperty, kPersonInstantMessageProperty,
                                                      kPersonRelatedNamesProperty };
    return properties;
}

std::string joined(std::initializer_list<std::optional<std::string>> parts, const char* separator)
{
    std::string text;
    for (const auto& piece : parts) {
        if (!piece || piece->empty())
            continue;
        if (!text.empty())
            text += separator;
        text += *piece;
    }
    return text;
}

double heightOfText(const std::string& text)
{
    auto lines = static_cast<double>(std::count(text.begin(), text.end(), '\n') + 1);
    return std::max(kLineMinimumHeight, lines * kTextLineHeight + 24);
}

const MultiValueEntry* entryOf(const Person& person, PropertyID property, MultiValueIdentifier identifier)
{
    const MultiValue* multi = person.multiValue(property);
    if (!multi)
        return nullptr;
    auto index = multi->indexForIdentifier(identifier);
    return index ? &multi->entries()[*index] : nullptr;
}

std::shared_ptr<ui::Label> headerLabel(const ui::Rect& frame, const std::string& text, const ui::Font& font, const ui::Color& color)
{
    auto label = std::make_shared<ui::Label>(frame);
    label->setText(text);
    label->setFont(font);
    label->setTextColor(color);
    label->setBackgroundColor(ui::Color::clearColor());
    return label;
}

} // namespace

PersonViewController::PersonViewController()
{
    setTitle(foundation::localizedOr("PersonViewTitle", "Info"));
}

PersonViewController::~PersonViewController()
{
    if (m_tableView) {
        m_tableView->setDataSource(nullptr);
        m_tableView->setDelegate(nullptr);
    }
}

void PersonViewController::setDisplayedPerson(PersonRef person)
{
    m_person = std::move(person);
    buildSections();
    if (isViewLoaded())
        showCard();
}

void PersonViewController::setAllowsEditing(bool allows)
{
    m_allowsEditing = allows;
    if (isViewLoaded())
        navigationItem().setRightBarButtonItem(allows ? editButtonItem() : nullptr);
}

// ---- The card ----

void PersonViewController::buildSections()
{
    m_sections.clear();
    if (!m_person)
        return;
    const Person& person = *m_person;
    auto propertyName = [](PropertyID property) { return Localization::localizedPropertyName(property); };
    for (PropertyID property : cardMultiValues()) {
        const MultiValue* multi = person.multiValue(property);
        if (!multi || multi->isEmpty())
            continue;
        std::vector<Line> lines;
        lines.reserve(multi->count());
        for (const auto& entry : multi->entries()) {
            std::string label = AddressBook::copyLocalizedLabel(entry.label);
            lines.push_back(Line { property, entry.identifier, label.empty() ? propertyName(property) : std::move(label),
                                   PersonValueText::text(property, entry.value) });
        }
        // The birthday opens the dates, as on the handset's card.
        if (property == kPersonDateProperty) {
            if (auto birthday = person.copyDate(kPersonBirthdayProperty))
                lines.insert(lines.begin(), Line { kPersonBirthdayProperty, kMultiValueInvalidIdentifier,
                                                   propertyName(kPersonBirthdayProperty), PersonValueText::day(*birthday) });
        }
        m_sections.push_back(std::move(lines));
    }
    bool datesShown = person.multiValue(kPersonDateProperty) && !person.multiValue(kPersonDateProperty)->isEmpty();
    if (auto birthday = person.copyDate(kPersonBirthdayProperty); birthday && !datesShown)
        m_sections.push_back(std::vector<Line> { Line { kPersonBirthdayProperty, kMultiValueInvalidIdentifier,
                                                        propertyName(kPersonBirthdayProperty), PersonValueText::day(*birthday) } });
    if (const std::string* note = person.stringValue(kPersonNoteProperty); note && !note->empty())
        m_sections.push_back(std::vector<Line> { Line { kPersonNoteProperty, kMultiValueInvalidIdentifier, propertyName(kPersonNoteProperty), *note } });
}

std::shared_ptr<ui::View> PersonViewController::makeHeaderView() const
{
    auto header = std::make_shared<ui::View>(ui::Rect { 0, 0, 320, kPhotoSize + 2 * kMargin });
    header->setBackgroundColor(ui::Color::clearColor());
    if (!m_person)
        return header;
    const Person& person = *m_person;

    auto photo = std::make_shared<ui::ImageView>(ui::Rect { kMargin, kMargin, kPhotoSize, kPhotoSize });
    photo->setBackgroundColor(ui::Color::whiteColor());
    photo->setBorderWidth(1);
    photo->setBorderColor(ui::Color::lightGrayColor());
    photo->setCornerRadius(4);
    photo->setClipsToBounds(true);
    photo->setContentMode(ui::ContentMode::ScaleAspectFill);
    photo->setAccessibilityIdentifier("personview.photo");
    if (auto data = person.copyImageDataWithFormat(ImageFormat::Thumbnail))
        photo->setImage(ui::Image::fromData("photo", std::vector<std::uint8_t>(data->begin(), data->end())));
    header->addSubview(photo);

    // Name, reading, then the organisation lines; each only when there is something to say.
    const double textX = kMargin * 2 + kPhotoSize;
    const double textWidth = 320 - textX - kMargin;
    bool familyFirst = AddressBook::compositeNameFormat() == CompositeNameFormat::LastNameFirst;
    auto first = person.copyString(kPersonFirstNamePhoneticProperty);
    auto last = person.copyString(kPersonLastNamePhoneticProperty);
    std::string name = person.copyCompositeName().value_or(std::string());
    std::string reading = familyFirst ? joined({ last, first }, " ") : joined({ first, last }, " ");
    std::string role = joined({ person.copyString(kPersonJobTitleProperty), person.copyString(kPersonDepartmentProperty) }, " - ");
    auto organization = person.copyString(kPersonOrganizationProperty);
    // A person known only by the company already shows it as the name.
    std::string company = organization && *organization != name ? *organization : std::string();

    double y = kMargin;
    if (!reading.empty()) {
        auto label = headerLabel({ textX, y, textWidth, 16 }, reading, ui::Font::systemFontOfSize(12), ui::Color::darkGrayColor());
        label->setAccessibilityIdentifier("personview.reading");
        header->addSubview(label);
        y += 16;
    }
    auto nameLabel = headerLabel({ textX, y, textWidth, 26 }, name, ui::Font::boldSystemFontOfSize(20), ui::Color::blackColor());
    nameLabel->setAdjustsFontSizeToFitWidth(true);
    nameLabel->setAccessibilityIdentifier("personview.name");
    header->addSubview(nameLabel);
    y += 26;
    for (const std::string* line : { &role, &company }) {
        if (line->empty())
            continue;
        header->addSubview(headerLabel({ textX, y, textWidth, 18 }, *line, ui::Font::systemFontOfSize(14), ui::Color::darkGrayColor()));
        y += 18;
    }
    header->setFrame({ 0, 0, 320, std::max(y, kPhotoSize + kMargin) + kMargin });
    return header;
}

void PersonViewController::loadView()
{
    auto page = std::make_shared<ui::View>(ui::Rect { 0, 0, 320, 416 });
    page->setBackgroundColor(ui::Color::groupTableViewBackgroundColor());
    m_tableView = std::make_shared<ui::TableView>(page->bounds(), ui::TableViewStyle::Grouped);
    m_tableView->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    m_tableView->setAccessibilityIdentifier("personview.card");
    page->addSubview(m_tableView);
    m_formView = std::make_shared<ui::ScrollView>(page->bounds());
    m_formView->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    m_formView->setAccessibilityIdentifier("personview.form");
    m_formView->setHidden(true);
    page->addSubview(m_formView);
    setView(page);
}

void PersonViewController::viewDidLoad()
{
    m_tableView->setDataSource(this);
    m_tableView->setDelegate(this);
    editButtonItem()->setAccessibilityIdentifier("personview.edit");
    setAllowsEditing(m_allowsEditing);
    showCard();
}

void PersonViewController::showCard()
{
    m_formView->setHidden(true);
    m_tableView->setHidden(false);
    m_tableView->setTableHeaderView(makeHeaderView());
    m_tableView->reloadData();
}

int PersonViewController::numberOfSectionsInTableView(ui::TableView&)
{
    return static_cast<int>(m_sections.size());
}

int PersonViewController::numberOfRowsInSection(ui::TableView&, int section)
{
    if (section < 0 || section >= static_cast<int>(m_sections.size()))
        return 0;
    return static_cast<int>(m_sections[static_cast<std::size_t>(section)].size());
}

const PersonViewController::Line* PersonViewController::lineAt(const ui::IndexPath& indexPath) const
{
    if (indexPath.section < 0 || indexPath.section >= static_cast<int>(m_sections.size()) || indexPath.row < 0)
        return nullptr;
    const auto& lines = m_sections[static_cast<std::size_t>(indexPath.section)];
    return indexPath.row < static_cast<int>(lines.size()) ? &lines[static_cast<std::size_t>(indexPath.row)] : nullptr;
}

std::shared_ptr<ui::TableViewCell> PersonViewController::cellForRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    auto cell = tableView.dequeueReusableCellWithIdentifier(kLineCellIdentifier);
    if (!cell)
        cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Value2, kLineCellIdentifier);
    const Line* found = lineAt(indexPath);
    if (!found)
        return cell;
    const Line& line = *found;
    cell->textLabel().setText(line.label);
    cell->textLabel().setAdjustsFontSizeToFitWidth(true);
    if (auto* detail = cell->detailTextLabel()) {
        detail->setText(line.text);
        detail->setNumberOfLines(0);
    }
    cell->setAccessibilityIdentifier("personview.line." + std::to_string(line.property) + "." + std::to_string(line.identifier));
    return cell;
}

double PersonViewController::heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath)
{
    const Line* line = lineAt(indexPath);
    return line ? heightOfText(line->text) : 0;
}

void PersonViewController::didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    tableView.deselectRowAtIndexPath(indexPath, true);
    // A copy: what the delegate does may rebuild the lines.
    if (const Line* line = lineAt(indexPath))
        selectLine(Line(*line));
}

void PersonViewController::selectLine(const Line& line)
{
    if (!m_person)
        return;
    PersonRef person = m_person;
    if (m_delegate && !m_delegate->shouldPerformDefaultActionForPerson(*this, person, line.property, line.identifier))
        return;
    auto url = defaultActionURL(*person, line.property, line.identifier);
    auto& application = ui::Application::shared();
    // A device without a telephone (an iPod touch) takes no "tel:"; the touch then does nothing.
    if (url && application.canOpenURL(*url))
        (void)application.openURL(*url);
}

std::optional<std::string> PersonViewController::defaultActionURL(const Person& person, PropertyID property, MultiValueIdentifier identifier)
{
    const MultiValueEntry* entry = entryOf(person, property, identifier);
    if (!entry)
        return std::nullopt;
    // Every value travels escaped: a stored value can neither add to the URL nor make one
    // that silently opens nothing.
    if (const auto* text = std::get_if<std::string>(&entry->value)) {
        if (property == kPersonPhoneProperty) {
            std::string number = *text;
            std::erase(number, ' ');
            return "tel:" + URLEscaping::percentEscape(number, "+*");
        }
        if (property == kPersonEmailProperty)
            return "mailto:" + URLEscaping::percentEscapeRecipient(*text);
        if (property == kPersonURLProperty) {
            std::string scheme = ui::Application::schemeOf(*text);
            if ((scheme == "http" || scheme == "https") && ui::Application::isWellFormedURL(*text))
                return *text;
        }
        return std::nullopt;
    }
    if (const auto* address = std::get_if<Dictionary>(&entry->value); address && property == kPersonAddressProperty) {
        std::string query = PersonValueText::addressOnOneLine(*address);
        if (!query.empty())
            return kMapSearchURL + URLEscaping::percentEscape(query);
    }
    return std::nullopt;
}

// ---- Editing ----

void PersonViewController::setEditing(bool editing, bool animated)
{
    if (!isViewLoaded() || editing == isEditing() || !m_person)
        return;
    if (editing) {
        if (!m_allowsEditing)
            return;
        m_form = std::make_unique<PersonForm>("personview", PersonForm::LineDeletion::On);
        m_form->readPerson(*m_person);
        m_tableView->setHidden(true);
        m_formView->setHidden(false);
        m_form->layoutIn(m_formView);
        m_leftItemsBeforeEditing = navigationItem().leftBarButtonItems();
        auto cancel = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Cancel, [this](ui::BarButtonItem&) { cancelEditing(); });
        cancel->setAccessibilityIdentifier("personview.cancel");
        navigationItem().setLeftBarButtonItem(cancel);
        ViewController::setEditing(true, animated);
        return;
    }
    if (!saveEdit())
        return;
    buildSections();
    putBackBarItems();
    showCard();
    ViewController::setEditing(false, animated);
}

void PersonViewController::cancelEditing()
{
    if (!isEditing())
        return;
    view()->endEditing();
    putBackBarItems();
    showCard();
    ViewController::setEditing(false, true);
}

void PersonViewController::putBackBarItems()
{
    navigationItem().setLeftBarButtonItems(std::exchange(m_leftItemsBeforeEditing, {}));
}

bool PersonViewController::saveEdit()
{
    view()->endEditing();
    Error error;
    AddressBookRef book = m_addressBook ? m_addressBook : m_person->addressBook();
    PersonRef person = m_person;
    if (!book) {
        // The handle the person was read through has gone (the application opened the
        // address book afresh on its return to the foreground): the edit goes to the
        // person as the address book holds it now, so that it is not lost.
        book = AddressBook::create(&error);
        person = book ? book->personWithRecordID(m_person->recordID()) : nullptr;
        if (!person) {
            if (!error)
                reportError(&error, ErrorCode::NotInAddressBook, "The contact is no longer in the address book.");
            showSaveFailure(error);
            return false;
        }
    }
    // What the person held before, so that a refused save leaves nothing half-written for
    // a later save of the same handle to pick up.
    std::vector<std::pair<PropertyID, std::optional<Value>>> before;
    for (PropertyID property : PersonForm::writtenProperties())
        before.emplace_back(property, person->copyValue(property));
    if (m_form->writeInto(*person, error) && book->save(&error)) {
        m_person = std::move(person);
        return true;
    }
    for (auto& [property, value] : before)
        (void)(value ? person->setValue(property, std::move(*value)) : person->removeValue(property));
    showSaveFailure(error);
    return false;
}

void PersonViewController::showSaveFailure(const Error& error)
{
    auto alert = std::make_shared<ui::AlertView>(foundation::localizedOr("NewPersonSaveFailedTitle", "The contact could not be saved."),
                                                 error.localizedDescription(), nullptr, "OK");
    alert->show();
}

} // namespace services
