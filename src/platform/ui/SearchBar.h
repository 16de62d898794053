#pragma once
// The search field that sits above a list: a text field with a placeholder, and a Cancel
// button while a search runs. Its delegate hears the events the list screens react to;
// a search display controller attached to the bar hears them too (after the delegate)
// and runs the search presentation.
//
// Ownership: the bar owns its field and button. The delegate is a plain pointer that its
// owner clears (or outlives the bar); the attached search display controller sets and
// clears its own plain pointer.

#include "platform/ui/NavigationBar.h"
#include "platform/ui/TextField.h"
#include "platform/ui/View.h"

#include <memory>
#include <string>

namespace ui {

class Button;
class SearchBar;
class SearchDisplayController;

class SearchBarDelegate {
public:
    virtual ~SearchBarDelegate() = default;
    // Asked before the field takes the keyboard; false keeps it from editing.
    virtual bool searchBarShouldBeginEditing(SearchBar&) { return true; }
    virtual void searchBarTextDidBeginEditing(SearchBar&) { }
    // After every change of the text by the user, and when a search that ends clears it.
    virtual void textDidChange(SearchBar&, const std::string& /*searchText*/) { }
    // The keyboard's search (return) key.
    virtual void searchBarSearchButtonClicked(SearchBar&) { }
    virtual void searchBarCancelButtonClicked(SearchBar&) { }
    virtual bool searchBarShouldEndEditing(SearchBar&) { return true; }
    virtual void searchBarTextDidEndEditing(SearchBar&) { }
};

class SearchBar : public View, private TextFieldDelegate {
public:
    static constexpr double height = 44;
    // The least room Cancel takes; a longer word takes more.
    static constexpr double cancelButtonWidth = 60;

    SearchBar();
    explicit SearchBar(const Rect& frame);
    ~SearchBar() override;

    std::string typeName() const override { return "SearchBar"; }
    void describe(ViewDescription& description) const override;

    // Setting the text in code tells nobody.
    std::string text() const;
    void setText(std::string text);
    std::string placeholder() const;
    void setPlaceholder(std::string placeholder);

    SearchBarDelegate* delegate() const { return m_delegate; }
    void setDelegate(SearchBarDelegate* delegate) { m_delegate = delegate; }

    bool showsCancelButton() const { return m_showsCancelButton; }
    void setShowsCancelButton(bool shows, bool animated = false);
    BarStyle barStyle() const { return m_barStyle; }
    void setBarStyle(BarStyle style);
    std::optional<Color> tintColor() const { return m_tintColor; }
    void setTintColor(std::optional<Color> color);

    void setAutocorrectionType(TextAutocorrectionType type) { m_field->setAutocorrectionType(type); }
    void setAutocapitalizationType(TextAutocapitalizationType type) { m_field->setAutocapitalizationType(type); }
    void setKeyboardType(KeyboardType type) { m_field->setKeyboardType(type); }

    // Whether the search this bar starts is running (its search display is active).
    bool isSearching() const;
    // The width of a list's section index lying over the bar's right end; the field keeps
    // clear of it while Cancel does not show. The list the bar heads sets it.
    void setIndexColumnWidth(double width);

    // The field inside, for the keyboard and for tests.
    TextField& textField() { return *m_field; }
    Button* cancelButton() const { return m_showsCancelButton ? m_cancelButton.get() : nullptr; }

    // The keyboard goes to the field, or away from it.
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    bool isFirstResponder() const override;

    void layoutSubviews() override;
    void draw(Painter& painter) override;

private:
    friend class SearchDisplayController;

    bool textFieldShouldBeginEditing(TextField&) override;
    void textFieldDidBeginEditing(TextField&) override;
    bool textFieldShouldEndEditing(TextField&) override;
    void textFieldDidEndEditing(TextField&) override;
    bool textFieldShouldReturn(TextField&) override;

    void textChangedByUser();
    void cancelTapped();
    // The search display controller clears the text when a search ends; the delegate hears
    // of it as of any change.
    void clearTextForEndOfSearch();

    std::shared_ptr<TextField> m_field;
    std::shared_ptr<Button> m_cancelButton;
    SearchBarDelegate* m_delegate { nullptr };
    SearchDisplayController* m_displayController { nullptr };
    bool m_showsCancelButton { false };
    double m_indexColumnWidth { 0 };
    BarStyle m_barStyle { BarStyle::Default };
    std::optional<Color> m_tintColor;
};

} // namespace ui
