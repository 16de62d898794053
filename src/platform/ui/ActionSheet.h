#pragma once
// A titled list of choices sliding up from the bottom. Buttons are numbered in this order:
// the destructive button (when given), the other buttons in the order given, then the
// cancel button after them. So with no destructive button the others count from 0 and
// cancel is the last index. The delegate hears which button was touched.
//
// Ownership: see ButtonPanel; the delegate is a plain pointer that its owner clears (with
// setDelegate(nullptr)) if it goes while the sheet is shown.

#include "platform/ui/ButtonPanel.h"

#include <string>
#include <vector>

namespace ui {

class ActionSheet;

class ActionSheetDelegate {
public:
    virtual ~ActionSheetDelegate() = default;
    virtual void clickedButtonAtIndex(ActionSheet&, int /*buttonIndex*/) { }
    virtual void willDismissWithButtonIndex(ActionSheet&, int /*buttonIndex*/) { }
    virtual void didDismissWithButtonIndex(ActionSheet&, int /*buttonIndex*/) { }
};

class ActionSheet : public ButtonPanel {
public:
    static constexpr double dismissTime = 0.3;

    ActionSheet(std::string title, ActionSheetDelegate* delegate, std::string cancelButtonTitle,
                std::string destructiveButtonTitle, std::vector<std::string> otherButtonTitles);

    std::string typeName() const override { return "ActionSheet"; }
    std::string displayText() const override { return title(); }

    // -1 when there is none.
    int destructiveButtonIndex() const { return m_destructiveButtonIndex; }
    ActionSheetDelegate* delegate() const { return m_delegate; }
    void setDelegate(ActionSheetDelegate* delegate) { m_delegate = delegate; }

    // Shows the sheet at the bottom of the view's window (the key window when the view is
    // in none).
    void showInView(View& view);

protected:
    double dismissDuration() const override { return dismissTime; }
    void layoutBox(View& box, const std::vector<std::shared_ptr<Button>>& buttons, Label& titleLabel) override;
    void notifyClicked(int index) override;
    void notifyWillDismiss(int index) override;
    void notifyDidDismiss(int index) override;
    void animateOut(View& box) override;

private:
    void layoutFlat(View& box, const std::vector<std::shared_ptr<Button>>& buttons, Label& titleLabel);
    void layoutGlossy(View& box, const std::vector<std::shared_ptr<Button>>& buttons, Label& titleLabel);
    // A plate behind some of the buttons, at the bottom of the box.
    void addPlate(View& box, std::shared_ptr<View> plate);

    int m_destructiveButtonIndex { -1 };
    // What the box shows behind its buttons; made again at each layout.
    std::vector<std::shared_ptr<View>> m_plates;
    ActionSheetDelegate* m_delegate { nullptr };
};

} // namespace ui
