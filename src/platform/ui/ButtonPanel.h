#pragma once
// What alerts and action sheets share: a title, buttons numbered by the platform's rules,
// a dimmed cover over the key window while shown, and the order of the calls that tell the
// delegate about a touched button (clicked, will dismiss, then did dismiss once the panel
// has gone from the screen).
//
// Ownership: while shown, a panel is kept alive by the list of visible panels (and by the
// window it lies in), so the screen that showed it need not keep it. The delegate of the
// concrete panel is a plain pointer that its owner must clear if it goes first.

#include "platform/ui/View.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {

class Button;
class Label;

class ButtonPanel : public View {
public:
    void describe(ViewDescription& description) const override;
    ~ButtonPanel() override;

    const std::string& title() const { return m_title; }
    void setTitle(std::string title);

    // Adds a button after those that exist; returns its index.
    int addButtonWithTitle(std::string title);
    int numberOfButtons() const { return static_cast<int>(m_buttonTitles.size()); }
    // Empty for an index out of range.
    std::string buttonTitleAtIndex(int index) const;
    // -1 when there is none.
    int cancelButtonIndex() const { return m_cancelButtonIndex; }
    void setCancelButtonIndex(int index);
    int firstOtherButtonIndex() const;

    bool isVisible() const { return m_visible; }

    // A touch on button `index` (also what a tap on the drawn button does): the delegate
    // hears clicked, then the panel is dismissed with that index. Out-of-range indexes and
    // panels not shown are ignored.
    void tapButtonAtIndex(int index);
    // Closes the panel as if the button had been chosen, but without the clicked call.
    void dismissWithClickedButtonIndex(int index, bool animated);

    // The panel shown last and not yet dismissed, or null: what the automation driver's
    // "button" command presses.
    static ButtonPanel* topmostVisible();
    // Every panel still shown, oldest first.
    static std::vector<std::shared_ptr<ButtonPanel>> visiblePanels();
    // Drops every shown panel without telling anyone (tests use it between cases).
    static void discardAll();

    void layoutSubviews() override;

protected:
    ButtonPanel();

    // Puts the panel on screen over the view (the key window when null) and lists it.
    void present(View* over);
    // The duration of the panel's way out.
    virtual double dismissDuration() const = 0;
    // Lays the panel's box out inside the cover and returns it; the box lies above the
    // cover, which dims the screen.
    virtual void layoutBox(View& box, const std::vector<std::shared_ptr<Button>>& buttons, Label& titleLabel) = 0;
    // The delegate calls of the concrete panel.
    virtual void notifyClicked(int index) = 0;
    virtual void notifyWillDismiss(int index) = 0;
    virtual void notifyDidDismiss(int index) = 0;
    // Where the box goes when dismissed animated (the sheet slides down, the alert fades).
    virtual void animateOut(View& box) = 0;

    const std::vector<std::string>& buttonTitles() const { return m_buttonTitles; }
    void insertButtonAt(int index, std::string title);
    View& box() { return *m_box; }

private:
    void rebuildButtons();

    std::string m_title;
    std::vector<std::string> m_buttonTitles;
    int m_cancelButtonIndex { -1 };
    bool m_visible { false };
    std::shared_ptr<View> m_box;
    std::shared_ptr<Label> m_titleLabel;
    std::vector<std::shared_ptr<Button>> m_buttons;
};

} // namespace ui
