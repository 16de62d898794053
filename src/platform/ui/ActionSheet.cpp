#include "platform/ui/ActionSheet.h"

#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Painter.h"
#include "platform/ui/SystemLook.h"
#include "platform/ui/TextMeasurer.h"
#include "platform/ui/Window.h"

namespace ui {

namespace {

constexpr double margin = 8;
constexpr double buttonHeight = 44;
constexpr double cancelGap = 8;
// The glossy sheet: its buttons inset from the screen's edges, apart from each other.
constexpr double glossyInset = 20;
constexpr double glossyButtonGap = 8;
constexpr double glossyButtonHeight = 44;

// The white plate of the flat look, with a hairline between its rows; or one shaded button
// of the glossy look.
class SheetPlate final : public View {
public:
    SheetPlate(const Rect& frame, const Color& color, bool glossy, std::vector<double> separators = {})
        : View(frame)
        , m_color(color)
        , m_glossy(glossy)
        , m_separators(std::move(separators))
    {
        setUserInteractionEnabled(false);
    }
    std::string typeName() const override { return "ActionSheetPlate"; }
    void draw(Painter& painter) override
    {
        if (m_glossy) {
            paintGlossyBezel(painter, bounds().insetBy(0.5, 0.5), m_color, 8);
            return;
        }
        painter.fillRect(bounds(), m_color, 4);
        for (double y : m_separators)
            painter.drawLine({ 0, y }, { bounds().width(), y }, Color::colorWithWhite(0.8), 0.5);
    }

private:
    Color m_color;
    bool m_glossy { false };
    std::vector<double> m_separators;
};

} // namespace

ActionSheet::ActionSheet(std::string title, ActionSheetDelegate* delegate, std::string cancelButtonTitle,
                         std::string destructiveButtonTitle, std::vector<std::string> otherButtonTitles)
    : m_delegate(delegate)
{
    setTitle(std::move(title));
    if (!destructiveButtonTitle.empty())
        m_destructiveButtonIndex = addButtonWithTitle(std::move(destructiveButtonTitle));
    for (auto& other : otherButtonTitles)
        addButtonWithTitle(std::move(other));
    if (!cancelButtonTitle.empty())
        setCancelButtonIndex(addButtonWithTitle(std::move(cancelButtonTitle)));
}

void ActionSheet::showInView(View& view)
{
    View* over = view.window();
    present(over ? over : &view);
}

void ActionSheet::addPlate(View& box, std::shared_ptr<View> plate)
{
    box.insertSubview(plate, 0);
    m_plates.push_back(std::move(plate));
}

void ActionSheet::layoutBox(View& box, const std::vector<std::shared_ptr<Button>>& buttons, Label& titleLabel)
{
    for (auto& plate : m_plates)
        plate->removeFromSuperview();
    m_plates.clear();
    if (isGlossyLook())
        layoutGlossy(box, buttons, titleLabel);
    else
        layoutFlat(box, buttons, titleLabel);
}

void ActionSheet::layoutFlat(View& box, const std::vector<std::shared_ptr<Button>>& buttons, Label& titleLabel)
{
    Rect area = bounds();
    double width = area.width() - 2 * margin;
    titleLabel.setFont(Font::systemFontOfSize(13));
    titleLabel.setTextColor(Color::grayColor());
    double y = 0;
    std::vector<double> separators;
    if (!title().empty()) {
        double height = TextMeasurer::current().measure(title(), titleLabel.font(), width - 2 * margin, 0).height + 2 * margin;
        titleLabel.setFrame({ margin, 0, width - 2 * margin, height });
        y = height;
    } else {
        titleLabel.setFrame({});
    }
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        auto& button = buttons[i];
        if (static_cast<int>(i) == m_destructiveButtonIndex)
            button->setTitleColor(Color::redColor());
        if (static_cast<int>(i) == cancelButtonIndex())
            continue;
        if (y > 0)
            separators.push_back(y);
        button->setFrame({ 0, y, width, buttonHeight });
        y += buttonHeight;
    }
    // The choices on one plate, Cancel on a plate of its own below it.
    Color plateColor = Color::colorWithWhite(0.97);
    addPlate(box, std::make_shared<SheetPlate>(Rect { 0, 0, width, y }, plateColor, false, std::move(separators)));
    if (cancelButtonIndex() >= 0) {
        y += cancelGap;
        buttons[static_cast<std::size_t>(cancelButtonIndex())]->setFrame({ 0, y, width, buttonHeight });
        addPlate(box, std::make_shared<SheetPlate>(Rect { 0, y, width, buttonHeight }, Color::whiteColor(), false));
        y += buttonHeight;
    }
    box.setBackgroundColor(std::nullopt);
    box.setCornerRadius(0);
    box.setFrame({ margin, area.height() - y - margin, width, y });
}

void ActionSheet::layoutGlossy(View& box, const std::vector<std::shared_ptr<Button>>& buttons, Label& titleLabel)
{
    // A dark panel across the bottom of the screen, its buttons shaded plates: light ones
    // for the choices, red for the destructive one, dark for Cancel, set apart below them.
    Rect area = bounds();
    double width = area.width() - 2 * glossyInset;
    titleLabel.setFont(Font::systemFontOfSize(13));
    titleLabel.setTextColor(Color::whiteColor());
    double y = glossyButtonGap * 2;
    if (!title().empty()) {
        double height = TextMeasurer::current().measure(title(), titleLabel.font(), width, 0).height;
        titleLabel.setFrame({ glossyInset, y, width, height });
        y += height + glossyButtonGap * 2;
    } else {
        titleLabel.setFrame({});
    }
    auto place = [&](Button& button, const Color& plate, const Color& ink) {
        Rect frame { glossyInset, y, width, glossyButtonHeight };
        button.setFrame(frame);
        button.setTitleColor(ink);
        button.setTitleColor(ink.withAlpha(0.6), ControlState::Highlighted);
        addPlate(box, std::make_shared<SheetPlate>(frame, plate, true));
        y += glossyButtonHeight + glossyButtonGap;
    };
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        int index = static_cast<int>(i);
        if (index == cancelButtonIndex())
            continue;
        if (index == m_destructiveButtonIndex)
            place(*buttons[i], Color::rgb255(196, 32, 32), Color::whiteColor());
        else
            place(*buttons[i], Color::rgb255(226, 226, 228), Color::colorWithWhite(0.1));
    }
    if (cancelButtonIndex() >= 0) {
        y += glossyButtonGap;
        place(*buttons[static_cast<std::size_t>(cancelButtonIndex())], Color::rgb255(58, 58, 62), Color::whiteColor());
    }
    y += glossyButtonGap;
    box.setBackgroundColor(Color::colorWithWhite(0.08, 0.82));
    box.setCornerRadius(0);
    box.setFrame({ 0, area.height() - y, area.width(), y });
}

void ActionSheet::animateOut(View& box)
{
    box.setFrame(box.frame().offsetBy(0, box.frame().height() + margin));
}

void ActionSheet::notifyClicked(int index)
{
    if (m_delegate)
        m_delegate->clickedButtonAtIndex(*this, index);
}

void ActionSheet::notifyWillDismiss(int index)
{
    if (m_delegate)
        m_delegate->willDismissWithButtonIndex(*this, index);
}

void ActionSheet::notifyDidDismiss(int index)
{
    if (m_delegate)
        m_delegate->didDismissWithButtonIndex(*this, index);
}

} // namespace ui
