#include "platform/ui/Label.h"
#include "platform/ui/Painter.h"
#include "platform/ui/View.h"
#include "platform/ui/Window.h"

#include <gtest/gtest.h>

using namespace ui;

namespace {

std::vector<int> tagsOf(const View& parent)
{
    std::vector<int> tags;
    for (const auto& child : parent.subviews())
        tags.push_back(child->tag());
    return tags;
}

std::shared_ptr<View> tagged(int tag, Rect frame = {})
{
    auto view = std::make_shared<View>(frame);
    view->setTag(tag);
    return view;
}

} // namespace

TEST(ViewTree, InsertingMovingAndReorderingKeepOneCopyOfEachView)
{
    auto parent = tagged(0);
    auto a = tagged(1);
    auto b = tagged(2);
    auto c = tagged(3);
    parent->addSubview(a);
    parent->addSubview(b);
    parent->insertSubview(c, 0);
    EXPECT_EQ(tagsOf(*parent), (std::vector<int> { 3, 1, 2 }));

    parent->addSubview(c);
    EXPECT_EQ(tagsOf(*parent), (std::vector<int> { 1, 2, 3 }));
    parent->insertSubviewBelow(c, *a);
    EXPECT_EQ(tagsOf(*parent), (std::vector<int> { 3, 1, 2 }));
    parent->insertSubviewAbove(c, *b);
    EXPECT_EQ(tagsOf(*parent), (std::vector<int> { 1, 2, 3 }));
    parent->bringSubviewToFront(*a);
    parent->sendSubviewToBack(*c);
    EXPECT_EQ(tagsOf(*parent), (std::vector<int> { 3, 2, 1 }));

    auto other = tagged(9);
    other->addSubview(b);
    EXPECT_EQ(tagsOf(*parent), (std::vector<int> { 3, 1 }));
    EXPECT_EQ(b->superview(), other.get());
    EXPECT_EQ(parent->viewWithTag(2), nullptr);
    EXPECT_EQ(other->viewWithTag(2), b.get());
}

TEST(ViewTree, AViewCannotBecomeItsOwnAncestor)
{
    auto top = tagged(1);
    auto middle = tagged(2);
    auto bottom = tagged(3);
    top->addSubview(middle);
    middle->addSubview(bottom);
    bottom->addSubview(top);
    middle->addSubview(middle);
    EXPECT_EQ(top->superview(), nullptr);
    EXPECT_EQ(middle->superview(), top.get());
    EXPECT_TRUE(bottom->subviews().empty());
}

TEST(ViewTree, RemovingTheLastReferenceFromTheParentIsSafe)
{
    auto parent = tagged(0);
    std::weak_ptr<View> weak;
    {
        auto child = tagged(1);
        weak = child;
        parent->addSubview(child);
    }
    weak.lock()->removeFromSuperview();
    EXPECT_TRUE(weak.expired());
    EXPECT_TRUE(parent->subviews().empty());
}

TEST(ViewTree, PointsConvertBetweenBranchesOfOneWindow)
{
    auto window = std::make_shared<Window>(Rect { 0, 0, 320, 480 });
    auto left = tagged(1, { 10, 20, 100, 100 });
    auto right = tagged(2, { 200, 50, 100, 100 });
    auto inner = tagged(3, { 5, 5, 50, 50 });
    window->addSubview(left);
    window->addSubview(right);
    right->addSubview(inner);
    EXPECT_EQ(inner->convertPointToView({ 0, 0 }, left.get()), (Point { 195, 35 }));
    EXPECT_EQ(left->convertPointToView({ 195, 35 }, inner.get()), (Point { 0, 0 }));
    EXPECT_EQ(inner->convertRectToView(inner->bounds(), nullptr), (Rect { 205, 55, 50, 50 }));
    EXPECT_EQ(inner->window(), window.get());
    right->removeFromSuperview();
    EXPECT_EQ(inner->window(), nullptr);
}

TEST(ViewTree, ChangesAskTheWindowForOneRepaintUntilItIsDrawn)
{
    auto window = std::make_shared<Window>(Rect { 0, 0, 320, 480 });
    int requests = 0;
    window->setDisplayHandler([&] { ++requests; });
    auto label = std::make_shared<Label>(Rect { 0, 0, 100, 20 });
    window->addSubview(label);

    struct NullPainter : Painter {
        void save() override { }
        void restore() override { }
        void translate(double, double) override { }
        void clipToRect(const Rect&, double) override { }
        void multiplyOpacity(double) override { }
        void fillRect(const Rect&, const Color&, double) override { }
        void strokeRect(const Rect&, const Color&, double, double) override { }
        void fillEllipse(const Rect&, const Color&) override { }
        void drawLine(const Point&, const Point&, const Color&, double) override { }
        void drawText(const std::string&, const Rect&, const TextStyle&) override { }
        void drawImage(const Image&, const Rect&, ContentMode) override { }
    } painter;
    window->renderWindow(painter);
    EXPECT_FALSE(window->needsDisplay());
    label->setText("one");
    label->setText("two");
    label->setFrame({ 0, 10, 100, 20 });
    EXPECT_EQ(requests, 1);
    EXPECT_TRUE(window->needsDisplay());
    window->renderWindow(painter);
    auto detached = std::make_shared<Label>();
    detached->setText("not in the window");
    EXPECT_EQ(requests, 1);
}
