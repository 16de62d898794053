#pragma once
// The row of dots under a paging view, one per page, the current one filled. A touch to
// the right of the current dot turns to the next page, to its left to the previous one,
// and sends ValueChanged; setting the page in code sends nothing.

#include "platform/ui/Control.h"

namespace ui {

class PageControl : public Control {
public:
    static constexpr double dotDiameter = 7;
    static constexpr double dotSpacing = 9;

    PageControl();
    explicit PageControl(const Rect& frame);

    std::string typeName() const override { return "PageControl"; }
    void describe(ViewDescription& description) const override;

    int numberOfPages() const { return m_numberOfPages; }
    // Negative counts as none; the current page is kept within the pages.
    void setNumberOfPages(int pages);
    int currentPage() const { return m_currentPage; }
    void setCurrentPage(int page);
    bool hidesForSinglePage() const { return m_hidesForSinglePage; }
    void setHidesForSinglePage(bool hides);
    std::optional<Color> pageIndicatorTintColor() const { return m_pageIndicatorTintColor; }
    void setPageIndicatorTintColor(std::optional<Color> color);
    std::optional<Color> currentPageIndicatorTintColor() const { return m_currentPageIndicatorTintColor; }
    void setCurrentPageIndicatorTintColor(std::optional<Color> color);

    // The size the dots of that many pages take.
    static Size sizeForNumberOfPages(int pages);
    // Where the dot of a page lies, in the control's coordinates.
    Rect frameOfPageIndicator(int page) const;

    Size sizeThatFits(const Size& size) const override;
    void touchesEnded(const Touch& touch) override;
    void draw(Painter& painter) override;

private:
    int m_numberOfPages { 0 };
    int m_currentPage { 0 };
    bool m_hidesForSinglePage { false };
    std::optional<Color> m_pageIndicatorTintColor;
    std::optional<Color> m_currentPageIndicatorTintColor;
};

} // namespace ui
