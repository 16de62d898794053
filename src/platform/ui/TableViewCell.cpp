#include "platform/ui/TableViewCell.h"

#include "platform/ui/Button.h"
#include "platform/ui/Control.h"
#include "platform/ui/ImageView.h"
#include "platform/ui/Label.h"
#include "platform/ui/Painter.h"
#include "platform/ui/TableViewCellHost.h"
#include "platform/ui/Touch.h"
#include "platform/ui/ViewDescription.h"

#include <algorithm>
#include <functional>

namespace ui {

namespace {

constexpr double sideMargin = 15;
const Color separatorColor = Color::rgb255(200, 199, 204);
const Color grayHighlight = Color::colorWithWhite(0.85);
const Color blueHighlight = Color::rgb255(0, 122, 255);
const Color deleteRed = Color::rgb255(255, 59, 48);
const Color insertGreen = Color::rgb255(76, 217, 100);

std::string accessoryName(TableViewCellAccessoryType type)
{
    switch (type) {
    case TableViewCellAccessoryType::DisclosureIndicator:
        return "disclosure";
    case TableViewCellAccessoryType::DetailDisclosureButton:
        return "detail";
    case TableViewCellAccessoryType::Checkmark:
        return "checkmark";
    case TableViewCellAccessoryType::None:
        break;
    }
    return {};
}

// The round minus (delete) or plus (insert) button at the left of an editing row.
class EditingControl final : public Control {
public:
    explicit EditingControl(TableViewCellEditingStyle style)
        : m_style(style)
    {
    }
    std::string typeName() const override
    {
        return m_style == TableViewCellEditingStyle::Insert ? "TableViewCellInsertControl" : "TableViewCellDeleteControl";
    }
    void setStyle(TableViewCellEditingStyle style)
    {
        m_style = style;
        setNeedsDisplay();
    }
    void draw(Painter& painter) override
    {
        Rect circle { bounds().midX() - 11, bounds().midY() - 11, 22, 22 };
        painter.fillEllipse(circle, m_style == TableViewCellEditingStyle::Insert ? insertGreen : deleteRed);
        Point c = circle.center();
        painter.drawLine({ c.x - 6, c.y }, { c.x + 6, c.y }, Color::whiteColor(), 2);
        if (m_style == TableViewCellEditingStyle::Insert)
            painter.drawLine({ c.x, c.y - 6 }, { c.x, c.y + 6 }, Color::whiteColor(), 2);
    }

private:
    TableViewCellEditingStyle m_style;
};

// The grip at the right of a movable row; dragging it moves the row.
class ReorderControl final : public View {
public:
    std::function<void(const Touch&)> began;
    std::function<void(const Touch&)> moved;
    std::function<void(const Touch&, bool cancelled)> ended;

    std::string typeName() const override { return "TableViewCellReorderControl"; }
    void touchesBegan(const Touch& touch) override
    {
        if (began)
            began(touch);
    }
    void touchesMoved(const Touch& touch) override
    {
        if (moved)
            moved(touch);
    }
    void touchesEnded(const Touch& touch) override
    {
        if (ended)
            ended(touch, false);
    }
    void touchesCancelled(const Touch& touch) override
    {
        if (ended)
            ended(touch, true);
    }
    void draw(Painter& painter) override
    {
        double x = bounds().midX() - 8;
        for (int i = -1; i <= 1; ++i) {
            double y = bounds().midY() + i * 4;
            painter.drawLine({ x, y }, { x + 16, y }, Color::grayColor(), 1);
        }
    }
};

} // namespace

TableViewCell::TableViewCell(TableViewCellStyle style, std::string reuseIdentifier)
    : View(Rect { 0, 0, 320, defaultHeight })
    , m_style(style)
    , m_reuseIdentifier(std::move(reuseIdentifier))
    , m_contentView(std::make_shared<View>(Rect { 0, 0, 320, defaultHeight }))
{
    setBackgroundColor(Color::whiteColor());
    m_contentView->setBackgroundColor(std::nullopt);
    addSubview(m_contentView);
}

TableViewCell::~TableViewCell() = default;

void TableViewCell::removeContentSubviews()
{
    auto children = m_contentView->subviews();
    for (auto& child : children)
        child->removeFromSuperview();
}

Label& TableViewCell::textLabel()
{
    if (!m_textLabel) {
        m_textLabel = std::make_shared<Label>();
        m_textLabel->setFont(m_style == TableViewCellStyle::Value2 ? Font::boldSystemFontOfSize(15) : Font::systemFontOfSize(18));
        if (m_style == TableViewCellStyle::Value2) {
            m_textLabel->setTextColor(blueHighlight);
            m_textLabel->setTextAlignment(TextAlignment::Right);
        }
        m_textLabel->setBackgroundColor(std::nullopt);
    }
    if (m_textLabel->superview() != m_contentView.get()) {
        m_contentView->addSubview(m_textLabel);
        setNeedsLayout();
    }
    return *m_textLabel;
}

Label* TableViewCell::detailTextLabel()
{
    if (m_style == TableViewCellStyle::Default)
        return nullptr;
    if (!m_detailTextLabel) {
        m_detailTextLabel = std::make_shared<Label>();
        switch (m_style) {
        case TableViewCellStyle::Subtitle:
            m_detailTextLabel->setFont(Font::systemFontOfSize(12));
            m_detailTextLabel->setTextColor(Color::grayColor());
            break;
        case TableViewCellStyle::Value1:
            m_detailTextLabel->setFont(Font::systemFontOfSize(18));
            m_detailTextLabel->setTextColor(Color::grayColor());
            m_detailTextLabel->setTextAlignment(TextAlignment::Right);
            break;
        default:
            m_detailTextLabel->setFont(Font::systemFontOfSize(15));
            break;
        }
        m_detailTextLabel->setBackgroundColor(std::nullopt);
    }
    if (m_detailTextLabel->superview() != m_contentView.get()) {
        m_contentView->addSubview(m_detailTextLabel);
        setNeedsLayout();
    }
    return m_detailTextLabel.get();
}

ImageView& TableViewCell::imageView()
{
    if (!m_imageView) {
        m_imageView = std::make_shared<ImageView>();
        m_imageView->setContentMode(ContentMode::ScaleAspectFit);
    }
    if (m_imageView->superview() != m_contentView.get()) {
        m_contentView->insertSubview(m_imageView, 0);
        setNeedsLayout();
    }
    return *m_imageView;
}

void TableViewCell::setAccessoryType(TableViewCellAccessoryType type)
{
    if (type == m_accessoryType)
        return;
    m_accessoryType = type;
    if (type == TableViewCellAccessoryType::DetailDisclosureButton)
        ensureDetailButton();
    else if (m_detailButton)
        m_detailButton->setHidden(true);
    setNeedsLayout();
}

void TableViewCell::ensureDetailButton()
{
    if (!m_detailButton) {
        m_detailButton = std::make_shared<Button>(ButtonType::DetailDisclosure);
        m_detailButton->setAccessibilityLabel("More Info");
        m_detailButton->addAction(ControlEvent::TouchUpInside, [this](Control&) {
            if (m_host)
                m_host->accessoryButtonTapped(*this);
        });
        addSubview(m_detailButton);
    }
    m_detailButton->setHidden(false);
}

void TableViewCell::setAccessoryView(std::shared_ptr<View> view)
{
    if (view == m_accessoryView)
        return;
    if (m_accessoryView && m_accessoryView->superview() == this)
        m_accessoryView->removeFromSuperview();
    m_accessoryView = std::move(view);
    if (m_accessoryView)
        addSubview(m_accessoryView);
    setNeedsLayout();
}

void TableViewCell::setSelectionStyle(TableViewCellSelectionStyle style)
{
    m_selectionStyle = style;
    setNeedsDisplay();
}

void TableViewCell::setLabelsHighlighted(View& view, bool highlighted)
{
    for (auto& child : view.subviews()) {
        if (auto* label = dynamic_cast<Label*>(child.get()))
            label->setHighlighted(highlighted);
        setLabelsHighlighted(*child, highlighted);
    }
}

void TableViewCell::setSelected(bool selected, bool)
{
    if (selected == m_selected)
        return;
    m_selected = selected;
    if (m_selectionStyle != TableViewCellSelectionStyle::None)
        setLabelsHighlighted(*m_contentView, m_selected || m_highlighted);
    setNeedsDisplay();
}

void TableViewCell::setHighlighted(bool highlighted, bool)
{
    if (highlighted == m_highlighted)
        return;
    m_highlighted = highlighted;
    if (m_selectionStyle != TableViewCellSelectionStyle::None)
        setLabelsHighlighted(*m_contentView, m_selected || m_highlighted);
    setNeedsDisplay();
}

void TableViewCell::setEditing(bool editing, bool animated)
{
    if (editing == m_editing)
        return;
    m_editing = editing;
    if (!editing)
        hideDeleteConfirmation();
    if (animated) {
        View::animate(0.3, [this] { layoutSubviews(); });
        return;
    }
    setNeedsLayout();
}

void TableViewCell::setEditingStyle(TableViewCellEditingStyle style, bool showsReorderControl)
{
    m_editingStyle = style;
    m_showsReorderControl = showsReorderControl;
    if (style != TableViewCellEditingStyle::None) {
        if (!m_editingControl) {
            auto control = std::make_shared<EditingControl>(style);
            control->addAction(ControlEvent::TouchUpInside, [this](Control&) {
                if (m_host)
                    m_host->editingControlTapped(*this);
            });
            m_editingControl = control;
            addSubview(m_editingControl);
        }
        static_cast<EditingControl&>(*m_editingControl).setStyle(style);
    }
    if (showsReorderControl && !m_reorderControl) {
        auto grip = std::make_shared<ReorderControl>();
        grip->began = [this](const Touch& touch) {
            if (m_host)
                m_host->reorderBegan(*this, touch);
        };
        grip->moved = [this](const Touch& touch) {
            if (m_host)
                m_host->reorderMoved(*this, touch);
        };
        grip->ended = [this](const Touch& touch, bool cancelled) {
            if (m_host)
                m_host->reorderEnded(*this, touch, cancelled);
        };
        m_reorderControl = grip;
        addSubview(m_reorderControl);
    }
    setNeedsLayout();
}

void TableViewCell::showDeleteConfirmation(const std::string& title)
{
    if (!m_deleteButton) {
        m_deleteButton = std::make_shared<Button>(ButtonType::Custom);
        m_deleteButton->setBackgroundColor(deleteRed);
        m_deleteButton->setTitleColor(Color::whiteColor());
        m_deleteButton->addAction(ControlEvent::TouchUpInside, [this](Control&) {
            if (m_host)
                m_host->deleteConfirmationTapped(*this);
        });
        addSubview(m_deleteButton);
    }
    m_deleteButton->setTitle(title);
    setNeedsLayout();
    layoutIfNeeded();
}

void TableViewCell::hideDeleteConfirmation()
{
    if (!m_deleteButton)
        return;
    auto button = std::move(m_deleteButton);
    button->removeFromSuperview();
    setNeedsLayout();
}

void TableViewCell::setDrawsSeparator(bool draws)
{
    if (draws == m_drawsSeparator)
        return;
    m_drawsSeparator = draws;
    setNeedsDisplay();
}

void TableViewCell::prepareForReuse()
{
    m_selected = false;
    m_highlighted = false;
    setLabelsHighlighted(*m_contentView, false);
    hideDeleteConfirmation();
    setAlpha(1);
    setHidden(false);
}

double TableViewCell::accessoryWidth() const
{
    if (m_accessoryView)
        return m_accessoryView->frame().width() + 2 * sideMargin;
    switch (m_accessoryType) {
    case TableViewCellAccessoryType::None:
        return 0;
    case TableViewCellAccessoryType::DetailDisclosureButton:
        return 44;
    case TableViewCellAccessoryType::DisclosureIndicator:
    case TableViewCellAccessoryType::Checkmark:
        return 33;
    }
    return 0;
}

void TableViewCell::layoutSubviews()
{
    Rect area = bounds();
    bool showsEditingControl = m_editing && m_editingStyle != TableViewCellEditingStyle::None && !m_deleteButton;
    bool showsGrip = m_editing && m_showsReorderControl && !m_deleteButton;
    double left = m_editing && m_editingStyle != TableViewCellEditingStyle::None ? editingControlWidth : 0;
    double right = 0;
    if (m_deleteButton) {
        right = deleteConfirmationWidth;
        m_deleteButton->setFrame({ area.width() - deleteConfirmationWidth, 0, deleteConfirmationWidth, area.height() });
    } else if (showsGrip) {
        right = reorderControlWidth;
    } else if (!m_editing) {
        right = accessoryWidth();
    }

    if (m_editingControl) {
        m_editingControl->setHidden(!showsEditingControl);
        m_editingControl->setFrame({ 0, 0, editingControlWidth, area.height() });
    }
    if (m_reorderControl) {
        m_reorderControl->setHidden(!showsGrip);
        m_reorderControl->setFrame({ area.width() - reorderControlWidth, 0, reorderControlWidth, area.height() });
    }
    bool accessoryShows = !m_editing && !m_deleteButton;
    if (m_accessoryView) {
        Rect frame = m_accessoryView->frame();
        frame.origin = { area.width() - sideMargin - frame.width(), (area.height() - frame.height()) / 2 };
        m_accessoryView->setFrame(frame);
        m_accessoryView->setHidden(!accessoryShows);
    }
    if (m_detailButton) {
        m_detailButton->setFrame({ area.width() - 44, 0, 44, area.height() });
        m_detailButton->setHidden(!accessoryShows || m_accessoryView
                                  || m_accessoryType != TableViewCellAccessoryType::DetailDisclosureButton);
    }

    Rect content { left, 0, std::max(0.0, area.width() - left - right), area.height() };
    m_contentView->setFrame(content);

    // The standard labels and image, for the rows that use them.
    double x = sideMargin;
    double width = content.width();
    if (m_imageView && m_imageView->superview() == m_contentView.get() && m_imageView->image()) {
        Size size = m_imageView->image()->size();
        double side = std::min(size.height, content.height());
        double w = size.height > 0 ? size.width * side / size.height : 0;
        m_imageView->setFrame({ sideMargin, (content.height() - side) / 2, w, side });
        x = sideMargin + w + sideMargin;
    }
    bool hasText = m_textLabel && m_textLabel->superview() == m_contentView.get();
    bool hasDetail = m_detailTextLabel && m_detailTextLabel->superview() == m_contentView.get()
        && !m_detailTextLabel->text().empty();
    double available = std::max(0.0, width - x - sideMargin);
    switch (m_style) {
    case TableViewCellStyle::Default:
        if (hasText)
            m_textLabel->setFrame({ x, 0, available, content.height() });
        break;
    case TableViewCellStyle::Subtitle:
        if (hasText && hasDetail) {
            double top = (content.height() - 22 - 16) / 2;
            m_textLabel->setFrame({ x, top, available, 22 });
            m_detailTextLabel->setFrame({ x, top + 22, available, 16 });
        } else if (hasText) {
            m_textLabel->setFrame({ x, 0, available, content.height() });
        }
        break;
    case TableViewCellStyle::Value1:
        if (hasText)
            m_textLabel->setFrame({ x, 0, hasDetail ? available * 0.6 : available, content.height() });
        if (hasDetail)
            m_detailTextLabel->setFrame({ x + available * 0.4, 0, available * 0.6, content.height() });
        break;
    case TableViewCellStyle::Value2:
        if (hasText)
            m_textLabel->setFrame({ x, 0, 67, content.height() });
        if (hasDetail)
            m_detailTextLabel->setFrame({ x + 67 + 6, 0, std::max(0.0, available - 73), content.height() });
        break;
    }
}

void TableViewCell::draw(Painter& painter)
{
    Rect area = bounds();
    if ((m_highlighted || m_selected) && m_selectionStyle != TableViewCellSelectionStyle::None)
        painter.fillRect(area, m_selectionStyle == TableViewCellSelectionStyle::Blue ? blueHighlight : grayHighlight);
    if (!m_editing && !m_deleteButton && !m_accessoryView) {
        double x = area.width() - sideMargin;
        double y = area.midY();
        if (m_accessoryType == TableViewCellAccessoryType::DisclosureIndicator) {
            painter.drawLine({ x - 8, y - 6 }, { x - 2, y }, Color::rgb255(199, 199, 204), 2);
            painter.drawLine({ x - 2, y }, { x - 8, y + 6 }, Color::rgb255(199, 199, 204), 2);
        } else if (m_accessoryType == TableViewCellAccessoryType::Checkmark) {
            painter.drawLine({ x - 16, y }, { x - 10, y + 6 }, blueHighlight, 2);
            painter.drawLine({ x - 10, y + 6 }, { x, y - 7 }, blueHighlight, 2);
        }
    }
    if (m_drawsSeparator)
        painter.drawLine({ sideMargin, area.height() - 0.5 }, { area.width(), area.height() - 0.5 }, separatorColor, 0.5);
}

void TableViewCell::describe(ViewDescription& description) const
{
    View::describe(description);
    if (m_host) {
        if (auto indexPath = m_host->indexPathForCell(*this))
            description.setIntegers("indexPath", { indexPath->section, indexPath->row });
    }
    if (std::string accessory = accessoryName(m_accessoryType); !accessory.empty())
        description.setText("accessory", accessory);
    if (m_selected)
        description.setFlag("selected", true);
    if (m_deleteButton)
        description.setFlag("deleteConfirmation", true);
}

} // namespace ui
