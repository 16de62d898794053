#include "screens/messaging/GroupSendSMSViewController.h"

#include "platform/foundation/LocalizedStrings.h"
#include "platform/ui/AlertView.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/TableView.h"
#include "platform/ui/TableViewCell.h"

namespace tessaro {

namespace {

const std::string kCellIdentifier = "GroupSmsCell";

ui::TableViewCellAccessoryType checkMark(bool checked)
{
    return checked ? ui::TableViewCellAccessoryType::Checkmark : ui::TableViewCellAccessoryType::None;
}

} // namespace

GroupSendSMSViewController::GroupSendSMSViewController(GroupObject groupObj, std::optional<std::vector<Contact>> arrContacts)
    : RecipientListViewController(std::move(groupObj), std::move(arrContacts), "groupSms")
{
    addBarButton();
}

GroupSendSMSViewController::~GroupSendSMSViewController()
{
    if (auto composer = m_composer.lock())
        composer->setMessageComposeDelegate(nullptr);
}

void GroupSendSMSViewController::addBarButton()
{
    setTitle(foundation::localized("SendGroupSmsTitle"));
    auto send = std::make_shared<ui::BarButtonItem>(foundation::localized("SendSmsTitle"), ui::BarButtonItemStyle::Bordered,
                                                    [this](ui::BarButtonItem&) { writeSms(); });
    send->setAccessibilityIdentifier("groupSms.send");
    navigationItem().setRightBarButtonItem(send);
}

std::vector<std::string> GroupSendSMSViewController::filterTitles() const
{
    return { foundation::localized("SelectedContactAllTitle"), foundation::localized("SelectedContactUnCheckedTitle"),
             foundation::localized("SelectedContactCheckedTitle") };
}

// ---- Rows ----

std::vector<SendSmsPersonObject> GroupSendSMSViewController::rowsOfPerson(const Contact& person)
{
    auto numbers = person.phoneArray();
    if (numbers.empty())
        return {};
    std::string name = displayName(person);
    auto labels = person.phoneLabels();
    std::vector<SendSmsPersonObject> rows;
    rows.reserve(numbers.size());
    for (std::size_t index = 0; index < numbers.size(); ++index)
        rows.push_back({ name, std::move(numbers[index]), index < labels.size() ? labels[index] : std::string(), true });
    return rows;
}

void GroupSendSMSViewController::initData()
{
    buildSections(_arrSmsPersions, &GroupSendSMSViewController::rowsOfPerson);
}

const SendSmsPersonObject* GroupSendSMSViewController::rowAt(int section, int row) const
{
    return rowIn(_arrSmsPersions, section, row);
}

bool GroupSendSMSViewController::rowPasses(int section, int row) const
{
    const SendSmsPersonObject* number = rowAt(section, row);
    if (!number)
        return false;
    switch (filterIndex()) {
    case kFilterAll: return true;
    case kFilterUnchecked: return !number->isSendSms;
    case kFilterChecked: return number->isSendSms;
    default: return false;
    }
}

int GroupSendSMSViewController::numberOfSectionsInTableView(ui::TableView&)
{
    return static_cast<int>(_arrSmsPersions.size());
}

int GroupSendSMSViewController::numberOfRowsInSection(ui::TableView&, int section)
{
    return rowsIn(_arrSmsPersions, section);
}

std::shared_ptr<ui::TableViewCell> GroupSendSMSViewController::cellForRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    auto cell = tableView.dequeueReusableCellWithIdentifier(kCellIdentifier);
    if (!cell)
        cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, kCellIdentifier);
    cell->removeContentSubviews();
    cell->setAccessoryType(ui::TableViewCellAccessoryType::None);
    cell->setSelectionStyle(ui::TableViewCellSelectionStyle::Blue);
    const SendSmsPersonObject* number = rowAt(indexPath.section, indexPath.row);
    if (!number || !rowPasses(indexPath.section, indexPath.row))
        return cell;

    auto& content = cell->contentView();
    auto text = std::make_shared<ui::Label>(ui::Rect { 10, 2, 260, 22 });
    text->setFont(ui::Font::boldSystemFontOfSize(16));
    text->setBackgroundColor(ui::Color::clearColor());
    text->setText(number->number);
    content.addSubview(text);

    auto label = std::make_shared<ui::Label>(ui::Rect { 10, 24, 260, 18 });
    label->setFont(ui::Font::systemFontOfSize(14));
    label->setTextColor(ui::Color::lightGrayColor());
    label->setBackgroundColor(ui::Color::clearColor());
    label->setText(number->numberLabel);
    content.addSubview(label);

    cell->setAccessoryType(checkMark(number->isSendSms));
    return cell;
}

void GroupSendSMSViewController::didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    SendSmsPersonObject* number = rowIn(_arrSmsPersions, indexPath.section, indexPath.row);
    if (number) {
        number->isSendSms = !number->isSendSms;
        if (auto cell = tableView.cellForRowAtIndexPath(indexPath))
            cell->setAccessoryType(checkMark(number->isSendSms));
    }
    tableView.deselectRowAtIndexPath(indexPath, true);
    if (number)
        reloadLaterIfFiltered();
}

// ---- Sending ----

void GroupSendSMSViewController::writeSms()
{
    sendSmsMms();
}

std::vector<std::string> GroupSendSMSViewController::checkedNumbers(const Sections& sections)
{
    std::vector<std::string> numbers;
    for (const auto& section : sections) {
        for (const auto& number : section) {
            if (number.isSendSms)
                numbers.push_back(number.number);
        }
    }
    return numbers;
}

void GroupSendSMSViewController::sendSmsMms()
{
    if (services::MessageComposeViewController::canSendText()) {
        displaySmsComposerSheet();
        return;
    }
    std::make_shared<ui::AlertView>(std::string(), foundation::localized("SmsCannotSentMessageTitle"), nullptr, "OK")->show();
}

void GroupSendSMSViewController::displaySmsComposerSheet()
{
    auto composer = services::MessageComposeViewController::create();
    composer->setMessageComposeDelegate(this);
    composer->setRecipients(checkedNumbers(_arrSmsPersions));
    m_composer = composer;
    presentViewController(composer, true);
}

void GroupSendSMSViewController::didFinishWithResult(services::MessageComposeViewController& controller, services::MessageComposeResult)
{
    controller.setMessageComposeDelegate(nullptr);
    composerFinished(controller);
}

} // namespace tessaro
