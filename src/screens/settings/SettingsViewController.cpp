#include "screens/settings/SettingsViewController.h"

#include "app/Utility.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationController.h"
#include "platform/ui/TableView.h"
#include "screens/groups/GroupPresentation.h"
#include "screens/settings/HowToUse.h"

namespace tessaro {

namespace {

// The rights notice, two lines under the version.
constexpr const char* kRightsLines[] = { "\xC2\xA9 2026 The Tessaro Project", "All rights reserved." };

std::shared_ptr<ui::Label> greyLine(const ui::Rect& frame, const std::string& text)
{
    auto label = std::make_shared<ui::Label>(frame);
    label->setFont(ui::Font::systemFontOfSize(14));
    label->setTextColor(ui::Color::grayColor());
    label->setTextAlignment(ui::TextAlignment::Left);
    label->setBackgroundColor(ui::Color::clearColor());
    label->setText(text);
    return label;
}

} // namespace

SettingsViewController::~SettingsViewController()
{
    if (_myTableView) {
        _myTableView->setDataSource(nullptr);
        _myTableView->setDelegate(nullptr);
    }
}

void SettingsViewController::loadView()
{
    CommonViewController::loadView();
    view()->setBackgroundColor(ui::Color::groupTableViewBackgroundColor());
}

void SettingsViewController::viewDidLoad()
{
    setTitle(foundation::localized("SettingsBarTitle"));
    _myTableView = std::make_shared<ui::TableView>(ui::Rect { 0, 0, 320, 317.0 + Utility::iPhone4to5SubSize() },
                                                   ui::TableViewStyle::Grouped);
    _myTableView->setBackgroundColor(ui::Color::clearColor());
    _myTableView->setSeparatorStyle(ui::TableViewCellSeparatorStyle::SingleLine);
    _myTableView->setShowsVerticalScrollIndicator(true);
    _myTableView->setShowsHorizontalScrollIndicator(true);
    _myTableView->setAccessibilityIdentifier("settings.list");
    _myTableView->setDataSource(this);
    _myTableView->setDelegate(this);
    view()->addSubview(_myTableView);
}

int SettingsViewController::numberOfRowsInSection(ui::TableView&, int section)
{
    return section >= kInformationSection && section <= kPromotionSection ? 1 : 0;
}

double SettingsViewController::heightForRowAtIndexPath(ui::TableView&, const ui::IndexPath& indexPath)
{
    switch (indexPath.section) {
    case kInformationSection:
        return 150;
    case kPromotionSection:
        return 60;
    default:
        return 48;
    }
}

std::shared_ptr<ui::TableViewCell> SettingsViewController::cellForRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    return obtainTableCellForRow(tableView, indexPath.row, indexPath.section);
}

std::shared_ptr<ui::TableViewCell> SettingsViewController::obtainTableCellForRow(ui::TableView& tableView, int row, int section)
{
    std::string identifier = "settings" + std::to_string(section) + std::to_string(row);
    auto cell = tableView.dequeueReusableCellWithIdentifier(identifier);
    if (!cell)
        cell = std::make_shared<ui::TableViewCell>(ui::TableViewCellStyle::Default, identifier);
    auto& content = cell->contentView();
    if (auto* previous = content.viewWithTag(kContainerTag + row))
        previous->removeFromSuperview();
    auto container = std::make_shared<ui::View>(ui::Rect { 0, 0, 320, 48 });
    container->setTag(kContainerTag + row);
    container->setBackgroundColor(ui::Color::clearColor());

    bool opensHelp = section == kHowToUseSection;
    cell->setSelectionStyle(opensHelp ? ui::TableViewCellSelectionStyle::Blue : ui::TableViewCellSelectionStyle::None);
    cell->setAccessoryType(opensHelp ? ui::TableViewCellAccessoryType::DisclosureIndicator : ui::TableViewCellAccessoryType::None);
    cell->textLabel().setText(opensHelp ? foundation::localized("HowtouseTitle") : std::string());
    if (section == kInformationSection)
        fillInformationPanel(*container);
    // The promotion row belongs to the maker's other applications; there are none to show.
    content.addSubview(container);
    return cell;
}

void SettingsViewController::fillInformationPanel(ui::View& container)
{
    auto icon = std::make_shared<ui::ImageView>(ui::Rect { 8, 15, 57, 57 });
    icon->setImage(ui::Image::named("icon_o.png"));
    container.addSubview(icon);

    auto name = std::make_shared<ui::Label>(ui::Rect { 80, 10, 210, 50 });
    name->setFont(ui::Font::systemFontOfSize(18));
    name->setNumberOfLines(0);
    name->setBackgroundColor(ui::Color::clearColor());
    name->setText(foundation::localized("AppNameTitle"));
    container.addSubview(name);

    container.addSubview(greyLine({ 80, 65, 200, 20 }, kVersionText));
    container.addSubview(greyLine({ 80, 95, 320, 20 }, kRightsLines[0]));
    container.addSubview(greyLine({ 80, 115, 320, 20 }, kRightsLines[1]));
}

void SettingsViewController::didSelectRowAtIndexPath(ui::TableView& tableView, const ui::IndexPath& indexPath)
{
    if (indexPath.section == kHowToUseSection)
        showHowToUse();
    tableView.deselectRowAtIndexPath(indexPath, true);
}

void SettingsViewController::showHowToUse()
{
    auto self = std::static_pointer_cast<CommonViewController>(shared_from_this());
    GroupPresentation::presentFromKeyWindowRoot(GroupPresentation::wrapInOpaqueNavigation(std::make_shared<HowToUse>(self)));
}

} // namespace tessaro
