#include "screens/settings/HowToUse.h"

#include "app/Utility.h"
#include "platform/foundation/LocalizedStrings.h"
#include "platform/foundation/Log.h"
#include "platform/ui/BarButtonItem.h"
#include "platform/ui/Image.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/NavigationItem.h"
#include "platform/ui/PageControl.h"

#include <cmath>

namespace tessaro {

HowToUse::HowToUse(std::weak_ptr<CommonViewController> controller)
    : _controller(std::move(controller))
{
    setTitle(foundation::localized("HowtouseTitle"));
    auto cancelItem = std::make_shared<ui::BarButtonItem>(ui::BarButtonSystemItem::Cancel, [this](ui::BarButtonItem&) { cancel(); });
    cancelItem->setAccessibilityIdentifier("howToUse.cancel");
    navigationItem().setLeftBarButtonItem(cancelItem);
}

HowToUse::~HowToUse()
{
    if (_scrollView)
        _scrollView->setDelegate(nullptr);
}

void HowToUse::loadView()
{
    ui::ViewController::loadView();
    view()->setBackgroundColor(ui::Color::blackColor());
}

void HowToUse::viewDidLoad()
{
    int extra = Utility::iPhone4to5SubSize();
    _scrollView = std::make_shared<ui::ScrollView>(ui::Rect { 0, extra / 2.0, kPageWidth, kPageHeight });
    _scrollView->setBackgroundColor(ui::Color::blackColor());
    _scrollView->setPagingEnabled(true);
    _scrollView->setContentSize({ kPageWidth * kNumberOfPages, kPageHeight });
    _scrollView->setShowsHorizontalScrollIndicator(false);
    _scrollView->setShowsVerticalScrollIndicator(false);
    _scrollView->setScrollsToTop(false);
    _scrollView->setAccessibilityIdentifier("howToUse.pages");
    _scrollView->setDelegate(this);
    view()->addSubview(_scrollView);

    _pageControl = std::make_shared<ui::PageControl>(ui::Rect { 0, 390.0 + extra, 320, 20 });
    _pageControl->setNumberOfPages(kNumberOfPages);
    _pageControl->setCurrentPage(0);
    _pageControl->setAccessibilityIdentifier("howToUse.pageControl");
    _pageControl->addAction(ui::ControlEvent::ValueChanged, [this](ui::Control&) { changePage(); });
    view()->addSubview(_pageControl);

    loadScrollViewWithPage(0);
    loadScrollViewWithPage(1);
}

void HowToUse::cancel()
{
    // Held while the presentation lets go of the screen.
    auto self = shared_from_this();
    dismissViewControllerAnimated(true);
    if (auto settings = _controller.lock())
        settings->resetTabBarFrameLater();
}

std::string HowToUse::pictureName(int page)
{
    return "htu-" + std::to_string(page + 1) + "-" + foundation::localized("Language") + (Utility::isIOS7() ? "-ios7" : "") + ".PNG";
}

ui::ImageView* HowToUse::pageView(int page) const
{
    if (page < 0 || page >= kNumberOfPages)
        return nullptr;
    return _viewControllers[static_cast<std::size_t>(page)].get();
}

void HowToUse::loadScrollViewWithPage(int page)
{
    if (page < 0 || page >= kNumberOfPages || !_scrollView)
        return;
    std::string name = pictureName(page);
    foundation::log(name + "...");
    auto& slot = _viewControllers[static_cast<std::size_t>(page)];
    if (!slot)
        slot = std::make_shared<ui::ImageView>(ui::Image::named(name));
    if (slot->superview() != _scrollView.get()) {
        ui::Rect pages = _scrollView->frame();
        slot->setFrame({ pages.width() * page + 38, 10, pages.width() - 96, pages.height() - 20 });
        slot->setAccessibilityIdentifier("howToUse.page." + std::to_string(page + 1));
        _scrollView->addSubview(slot);
    }
}

void HowToUse::scrollViewDidScroll(ui::ScrollView& scrollView)
{
    // A scroll the indicator started passes pages the user did not ask for.
    if (pageControlUsed)
        return;
    double width = scrollView.frame().width();
    int page = static_cast<int>(std::floor((scrollView.contentOffset().x - width / 2) / width)) + 1;
    if (_pageControl)
        _pageControl->setCurrentPage(page);
    loadScrollViewWithPage(page - 1);
    loadScrollViewWithPage(page);
    loadScrollViewWithPage(page + 1);
}

void HowToUse::scrollViewWillBeginDragging(ui::ScrollView&)
{
    pageControlUsed = false;
}

void HowToUse::scrollViewDidEndDecelerating(ui::ScrollView&)
{
    pageControlUsed = false;
}

void HowToUse::changePage()
{
    if (!_pageControl || !_scrollView)
        return;
    int page = _pageControl->currentPage();
    loadScrollViewWithPage(page - 1);
    loadScrollViewWithPage(page);
    loadScrollViewWithPage(page + 1);
    ui::Rect pages = _scrollView->frame();
    _scrollView->scrollRectToVisible({ pages.width() * page, 0, pages.width(), pages.height() }, true);
    pageControlUsed = true;
}

} // namespace tessaro
