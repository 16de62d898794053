#pragma once
// A scrolling, multi-line editable text (a memo). A touch gives it the keyboard; the
// bar returned by inputAccessoryView() then lies above the keyboard. Subclasses may make
// that bar on first request by overriding inputAccessoryView(). Typing goes through the
// delegate, which may refuse a change; the return key puts in a line break.
//
// Ownership: the delegate is a plain pointer that its owner clears (or outlives the view);
// the view owns the accessory bar it was given.

#include "platform/ui/ScrollView.h"
#include "platform/ui/TextFocus.h"
#include "platform/ui/TextInput.h"
#include "platform/ui/TextInputTraits.h"
#include "platform/ui/TextStyle.h"

#include <memory>
#include <string>

namespace ui {

class TextView;

class TextViewDelegate {
public:
    virtual ~TextViewDelegate() = default;
    virtual bool textViewShouldBeginEditing(TextView&) { return true; }
    virtual void textViewDidBeginEditing(TextView&) { }
    virtual bool textViewShouldEndEditing(TextView&) { return true; }
    virtual void textViewDidEndEditing(TextView&) { }
    // The user is about to replace the range (bytes of the UTF-8 text) with the string.
    virtual bool shouldChangeTextInRange(TextView&, TextRange, const std::string& /*replacement*/) { return true; }
    virtual void textViewDidChange(TextView&) { }
};

class TextView : public ScrollView, public TextInput {
public:
    // The margin between the view's edges and its text.
    static constexpr double textInset = 8;

    TextView();
    explicit TextView(const Rect& frame);
    ~TextView() override;

    std::string typeName() const override { return "TextView"; }
    void describe(ViewDescription& description) const override;
    std::string displayText() const override { return m_text; }

    // Setting the text in code tells the delegate nothing.
    std::string text() const override { return m_text; }
    void setText(std::string text);
    const Font& font() const { return m_font; }
    void setFont(const Font& font);
    const Color& textColor() const { return m_textColor; }
    void setTextColor(const Color& color);
    TextAlignment textAlignment() const { return m_textAlignment; }
    void setTextAlignment(TextAlignment alignment);
    bool isEditable() const { return m_editable; }
    void setEditable(bool editable);

    const TextInputTraits& traits() const { return m_traits; }
    void setKeyboardType(KeyboardType type) { m_traits.keyboardType = type; }
    void setReturnKeyType(ReturnKeyType type) { m_traits.returnKeyType = type; }
    void setAutocorrectionType(TextAutocorrectionType type) { m_traits.autocorrectionType = type; }
    void setAutocapitalizationType(TextAutocapitalizationType type) { m_traits.autocapitalizationType = type; }

    TextViewDelegate* delegate() const { return m_delegate; }
    void setDelegate(TextViewDelegate* delegate) { m_delegate = delegate; }

    bool isEditing() const { return m_editing; }
    void setInputAccessoryView(std::shared_ptr<View> view) { m_inputAccessoryView = std::move(view); }
    std::shared_ptr<View> inputAccessoryView() override { return m_inputAccessoryView; }

    bool canBecomeFirstResponder() const override { return m_editable; }
    // Asked before it lies in a window, it answers false and takes the keyboard when it
    // arrives in one (see TextFocus).
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    void didMoveToWindow() override;
    void didBecomeFirstResponder() override;
    void didResignFirstResponder() override;
    TextInput* textInput() override { return this; }

    void replaceTextFromInput(const std::string& text) override;
    void insertText(const std::string& text) override;
    void deleteBackward() override;
    bool isMultiline() const override { return true; }

    void touchesBegan(const Touch& touch) override;
    void touchesMoved(const Touch& touch) override;
    void touchesEnded(const Touch& touch) override;
    void layoutSubviews() override;
    void draw(Painter& painter) override;

private:
    bool applyUserEdit(const TextRange& range, const std::string& replacement);
    void updateContentSize();
    TextStyle textStyle() const;

    std::string m_text;
    Font m_font { Font::systemFontOfSize(12) };
    Color m_textColor { Color::blackColor() };
    TextAlignment m_textAlignment { TextAlignment::Left };
    bool m_editable { true };
    TextInputTraits m_traits;
    TextViewDelegate* m_delegate { nullptr };
    bool m_editing { false };
    bool m_touchDragged { false };
    std::shared_ptr<View> m_inputAccessoryView;
    TextFocus m_focus;
};

} // namespace ui
