#pragma once
// The how-to-use pages: four help pictures side by side in a paging view, swiped through
// horizontally, with the page indicator beneath. The pictures are chosen by the strings
// table's "Language" and by the system look ("htu-2-en-ios7.PNG"). A page's picture is made
// the first time the page or a neighbour becomes current, and kept until the screen closes;
// a missing picture leaves its page empty.
//
// While the paging view scrolls because the indicator was touched, its scroll events are
// ignored, so the indicator does not flicker through the pages it passes; the next drag by
// the user ends that.
//
// Ownership: the screen owns its paging view, indicator and the page pictures (as subviews
// of the paging view); the settings screen that opened it is a weak link, told to put the
// tabs back when the pages close.

#include "app/CommonViewController.h"
#include "platform/ui/ScrollView.h"

#include <array>
#include <memory>
#include <string>

namespace ui {
class ImageView;
class PageControl;
} // namespace ui

namespace tessaro {

class HowToUse : public ui::ViewController, public ui::ScrollViewDelegate {
public:
    static constexpr int kNumberOfPages = 4;
    static constexpr double kPageWidth = 320;
    static constexpr double kPageHeight = 396;

    explicit HowToUse(std::weak_ptr<CommonViewController> controller);
    ~HowToUse() override;

    void loadView() override;
    void viewDidLoad() override;

    void cancel();
    // Builds the page's picture if it is not built yet; nothing outside the four pages.
    void loadScrollViewWithPage(int page);
    // The indicator was touched.
    void changePage();

    void scrollViewDidScroll(ui::ScrollView& scrollView) override;
    void scrollViewWillBeginDragging(ui::ScrollView& scrollView) override;
    void scrollViewDidEndDecelerating(ui::ScrollView& scrollView) override;

    // The picture of a page in the current language and look.
    static std::string pictureName(int page);

    ui::ScrollView* scrollView() const { return _scrollView.get(); }
    ui::PageControl* pageControl() const { return _pageControl.get(); }
    // The page's picture view, or null while the page is not built.
    ui::ImageView* pageView(int page) const;
    bool isPageControlUsed() const { return pageControlUsed; }

private:
    std::weak_ptr<CommonViewController> _controller;
    std::shared_ptr<ui::ScrollView> _scrollView;
    std::shared_ptr<ui::PageControl> _pageControl;
    std::array<std::shared_ptr<ui::ImageView>, kNumberOfPages> _viewControllers {};
    bool pageControlUsed { false };
};

} // namespace tessaro
