#pragma once
// A message with buttons in the middle of the screen. The cancel button, when given, is
// button 0 and the other buttons follow in the order given (1, 2, ...); without a cancel
// button the others count from 0. The delegate hears which button was touched.
//
// Ownership: see ButtonPanel; the delegate is a plain pointer that its owner clears (with
// setDelegate(nullptr)) if it goes while the alert is shown.

#include "platform/ui/ButtonPanel.h"

#include <string>
#include <vector>

namespace ui {

class AlertView;

class AlertViewDelegate {
public:
    virtual ~AlertViewDelegate() = default;
    virtual void clickedButtonAtIndex(AlertView&, int /*buttonIndex*/) { }
    virtual void willDismissWithButtonIndex(AlertView&, int /*buttonIndex*/) { }
    virtual void didDismissWithButtonIndex(AlertView&, int /*buttonIndex*/) { }
};

class AlertView : public ButtonPanel {
public:
    static constexpr double dismissTime = 0.2;
    static constexpr double boxWidth = 270;

    AlertView(std::string title, std::string message, AlertViewDelegate* delegate, std::string cancelButtonTitle,
              std::vector<std::string> otherButtonTitles = {});

    std::string typeName() const override { return "AlertView"; }
    void describe(ViewDescription& description) const override;
    std::string displayText() const override { return title(); }

    const std::string& message() const { return m_message; }
    void setMessage(std::string message);
    AlertViewDelegate* delegate() const { return m_delegate; }
    void setDelegate(AlertViewDelegate* delegate) { m_delegate = delegate; }

    // Shows the alert over the key window (or, without one, only lists it as shown).
    void show();

protected:
    double dismissDuration() const override { return dismissTime; }
    void layoutBox(View& box, const std::vector<std::shared_ptr<Button>>& buttons, Label& titleLabel) override;
    void notifyClicked(int index) override;
    void notifyWillDismiss(int index) override;
    void notifyDidDismiss(int index) override;
    void animateOut(View&) override { }

private:
    std::string m_message;
    std::shared_ptr<Label> m_messageLabel;
    AlertViewDelegate* m_delegate { nullptr };
};

} // namespace ui
