#pragma once
// One row of a table: a content view that screens fill (labels, pictures, small toolbars),
// the standard text label, detail label and image of the row's style, an accessory at the
// right, and, while the table edits, the delete or insert control, the reorder grip and
// the Delete confirmation button.
//
// Cells are reused: the table takes a cell that scrolled out of sight back into its pool
// under the cell's reuse identifier and hands it out again from dequeueReusableCell-
// WithIdentifier, so a screen must set everything a row shows each time (screens that
// build rows from scratch remove the content view's subviews first).
//
// Ownership: the cell owns its content view, labels, image view and controls; screens may
// keep shared pointers to their own subviews too. The table it lies in is its host, a plain
// pointer set by the table while the cell is shown and cleared when the table takes it back.

#include "platform/ui/View.h"

#include <memory>
#include <string>

namespace ui {

class Button;
class ImageView;
class Label;
class TableViewCellHost;

enum class TableViewCellStyle {
    // One text label at the left, after the image.
    Default,
    // The text at the left, the detail text right-aligned in grey.
    Value1,
    // A small blue text label at the left, the detail text beside it.
    Value2,
    // The text label with the detail text in small grey type beneath it.
    Subtitle,
};

enum class TableViewCellAccessoryType { None, DisclosureIndicator, DetailDisclosureButton, Checkmark };

enum class TableViewCellSelectionStyle { None, Blue, Gray, Default };

enum class TableViewCellEditingStyle { None, Delete, Insert };

class TableViewCell : public View {
public:
    static constexpr double defaultHeight = 44;
    // Room the editing control takes at the left, and the reorder grip at the right.
    static constexpr double editingControlWidth = 38;
    static constexpr double reorderControlWidth = 38;
    static constexpr double deleteConfirmationWidth = 82;

    TableViewCell(TableViewCellStyle style, std::string reuseIdentifier);
    ~TableViewCell() override;

    std::string typeName() const override { return "TableViewCell"; }

    TableViewCellStyle style() const { return m_style; }
    const std::string& reuseIdentifier() const { return m_reuseIdentifier; }

    // Where screens put their own subviews; it moves aside for the editing controls.
    View& contentView() { return *m_contentView; }
    const std::shared_ptr<View>& contentViewPointer() const { return m_contentView; }
    // Removes every subview of the content view (the standard labels included; asking for
    // them again puts them back), for screens that build each row from scratch.
    void removeContentSubviews();

    // The standard parts, made on first request inside the content view. The detail label
    // exists in every style but the default one, which answers null.
    Label& textLabel();
    Label* detailTextLabel();
    ImageView& imageView();

    TableViewCellAccessoryType accessoryType() const { return m_accessoryType; }
    void setAccessoryType(TableViewCellAccessoryType type);
    // A view of the screen's own in place of the standard accessory.
    const std::shared_ptr<View>& accessoryView() const { return m_accessoryView; }
    void setAccessoryView(std::shared_ptr<View> view);

    TableViewCellSelectionStyle selectionStyle() const { return m_selectionStyle; }
    void setSelectionStyle(TableViewCellSelectionStyle style);

    bool isSelected() const { return m_selected; }
    void setSelected(bool selected, bool animated = false);
    bool isHighlighted() const { return m_highlighted; }
    void setHighlighted(bool highlighted, bool animated = false);

    bool isEditing() const { return m_editing; }
    // Set by the table: whether the table edits, and how this row may be edited.
    void setEditing(bool editing, bool animated = false);
    TableViewCellEditingStyle editingStyle() const { return m_editingStyle; }
    bool showsReorderControl() const { return m_showsReorderControl; }

    // The Delete button a swipe (or the delete control) brings up, or null when none shows.
    Button* deleteConfirmationButton() const { return m_deleteButton.get(); }
    bool isShowingDeleteConfirmation() const { return m_deleteButton != nullptr; }

    // Set by the table while it shows the cell: the host the cell's controls report to,
    // how this row may be edited, the Delete button, and the separator of the table's style.
    TableViewCellHost* host() const { return m_host; }
    void setHost(TableViewCellHost* host) { m_host = host; }
    void setEditingStyle(TableViewCellEditingStyle style, bool showsReorderControl);
    void showDeleteConfirmation(const std::string& title);
    void hideDeleteConfirmation();
    void setDrawsSeparator(bool draws);

    // Called just before the table hands the cell out again; resets selection, highlight
    // and editing leftovers. Subclasses that keep state of their own reset it here too.
    virtual void prepareForReuse();

    void layoutSubviews() override;
    void draw(Painter& painter) override;
    // Also the row it shows, its accessory, selection and a Delete button showing.
    void describe(ViewDescription& description) const override;

private:
    void setLabelsHighlighted(View& view, bool highlighted);
    double accessoryWidth() const;
    void ensureDetailButton();

    TableViewCellStyle m_style { TableViewCellStyle::Default };
    std::string m_reuseIdentifier;
    std::shared_ptr<View> m_contentView;
    std::shared_ptr<Label> m_textLabel;
    std::shared_ptr<Label> m_detailTextLabel;
    std::shared_ptr<ImageView> m_imageView;
    TableViewCellAccessoryType m_accessoryType { TableViewCellAccessoryType::None };
    std::shared_ptr<View> m_accessoryView;
    std::shared_ptr<Button> m_detailButton;
    TableViewCellSelectionStyle m_selectionStyle { TableViewCellSelectionStyle::Default };
    bool m_selected { false };
    bool m_highlighted { false };
    bool m_editing { false };
    TableViewCellEditingStyle m_editingStyle { TableViewCellEditingStyle::None };
    bool m_showsReorderControl { false };
    std::shared_ptr<View> m_editingControl;
    std::shared_ptr<View> m_reorderControl;
    std::shared_ptr<Button> m_deleteButton;
    bool m_drawsSeparator { true };
    TableViewCellHost* m_host { nullptr };
};

} // namespace ui
