#include "platform/services/ComposeSheetViewController.h"

#include "platform/foundation/LocalizedStrings.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Label.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/View.h"

namespace services {

namespace {

constexpr double kMargin = 10;
constexpr double kLineHeight = 30;

// The composer may be released by its delegate while a handler runs, and this page with
// it; the handler runs from a copy so that nothing of the page is touched afterwards.
void run(const std::function<void()>& handler)
{
    if (auto copy = handler)
        copy();
}

} // namespace

std::string ComposeSheetViewController::localizedOr(std::string_view key, const char* english)
{
    return foundation::localizedOr(key, english);
}

std::string ComposeSheetViewController::recipientsForDisplay(const std::vector<std::string>& recipients)
{
    std::string joined;
    for (const auto& recipient : recipients) {
        if (!joined.empty())
            joined += ", ";
        joined += recipient;
    }
    return joined;
}

ComposeSheetViewController::ComposeSheetViewController(std::function<void()> onCancel, std::function<void()> onSend)
    : m_onCancel(std::move(onCancel))
    , m_onSend(std::move(onSend))
{
}

void ComposeSheetViewController::setContent(std::vector<HeaderLine> headers, std::string body)
{
    m_headers = std::move(headers);
    m_body = std::move(body);
    if (isViewLoaded())
        layoutContent();
}

void ComposeSheetViewController::loadView()
{
    auto page = std::make_shared<ui::View>(ui::Rect { 0, 0, 320, 416 });
    page->setBackgroundColor(ui::Color::whiteColor());
    setView(page);
}

void ComposeSheetViewController::viewDidLoad()
{
    auto cancel = std::make_shared<ui::BarButtonItem>(localizedOr("ComposeCancelTitle", "Cancel"), ui::BarButtonItemStyle::Bordered,
                                                      [this](ui::BarButtonItem&) { run(m_onCancel); });
    cancel->setAccessibilityIdentifier("compose.cancel");
    auto send = std::make_shared<ui::BarButtonItem>(localizedOr("ComposeSendTitle", "Send"), ui::BarButtonItemStyle::Done,
                                                    [this](ui::BarButtonItem&) { run(m_onSend); });
    send->setAccessibilityIdentifier("compose.send");
    navigationItem().setLeftBarButtonItem(cancel);
    navigationItem().setRightBarButtonItem(send);
    layoutContent();
}

void ComposeSheetViewController::layoutContent()
{
    auto page = view();
    for (auto& shown : m_contentViews)
        shown->removeFromSuperview();
    m_contentViews.clear();

    double width = page->bounds().width();
    double y = 0;
    for (const auto& header : m_headers) {
        auto line = std::make_shared<ui::Label>(ui::Rect { kMargin, y, width - 2 * kMargin, kLineHeight });
        line->setText(header.caption + " " + header.text);
        line->setFont(ui::Font::systemFontOfSize(15));
        line->setLineBreakMode(ui::LineBreakMode::TruncateTail);
        line->setAccessibilityIdentifier(header.identifier);
        line->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth);
        page->addSubview(line);
        m_contentViews.push_back(line);

        auto rule = std::make_shared<ui::View>(ui::Rect { 0, y + kLineHeight, width, 1 });
        rule->setBackgroundColor(ui::Color::lightGrayColor());
        rule->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth);
        page->addSubview(rule);
        m_contentViews.push_back(rule);
        y += kLineHeight + 1;
    }

    auto body = std::make_shared<ui::Label>(
        ui::Rect { kMargin, y + kMargin, width - 2 * kMargin, page->bounds().height() - y - 2 * kMargin });
    body->setText(m_body);
    body->setFont(ui::Font::systemFontOfSize(15));
    body->setNumberOfLines(0);
    body->setLineBreakMode(ui::LineBreakMode::WordWrap);
    body->setAccessibilityIdentifier("compose.body");
    body->setAutoresizingMask(ui::AutoresizingMask::FlexibleWidth | ui::AutoresizingMask::FlexibleHeight);
    page->addSubview(body);
    m_contentViews.push_back(body);
}

} // namespace services
