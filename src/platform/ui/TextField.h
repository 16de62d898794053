#pragma once
// A one-line editable text. A touch gives it the keyboard (first responder); typing goes
// through the delegate, which may refuse a change, and each accepted change sends
// EditingChanged. The return key asks the delegate (textFieldShouldReturn) and sends
// EditingDidEndOnExit; it never puts a line break into the text.
//
// Ownership: the delegate is a plain pointer that its owner clears (or outlives the field).
// The field owns the bar shown above the keyboard when one is set.

#include "platform/ui/Control.h"
#include "platform/ui/TextFocus.h"
#include "platform/ui/TextInput.h"
#include "platform/ui/TextInputTraits.h"
#include "platform/ui/TextStyle.h"

#include <memory>
#include <string>

namespace ui {

class TextField;

class TextFieldDelegate {
public:
    virtual ~TextFieldDelegate() = default;
    virtual bool textFieldShouldBeginEditing(TextField&) { return true; }
    virtual void textFieldDidBeginEditing(TextField&) { }
    virtual bool textFieldShouldEndEditing(TextField&) { return true; }
    virtual void textFieldDidEndEditing(TextField&) { }
    // The user is about to replace the range (bytes of the UTF-8 text) with the string.
    virtual bool shouldChangeCharactersInRange(TextField&, TextRange, const std::string& /*replacement*/) { return true; }
    virtual bool textFieldShouldClear(TextField&) { return true; }
    virtual bool textFieldShouldReturn(TextField&) { return true; }
};

enum class TextFieldBorderStyle { None, Line, Bezel, RoundedRect };
enum class TextFieldViewMode { Never, WhileEditing, UnlessEditing, Always };
enum class ContentVerticalAlignment { Center, Top, Bottom, Fill };

class TextField : public Control, public TextInput {
public:
    static constexpr double clearButtonWidth = 24;
    static constexpr double roundedCornerRadius = 5;

    TextField();
    explicit TextField(const Rect& frame);
    ~TextField() override;

    std::string typeName() const override { return "TextField"; }
    void describe(ViewDescription& description) const override;
    // What shows: the text, or the placeholder while there is none.
    std::string displayText() const override;

    // Setting the text in code sends no events.
    std::string text() const override { return m_text; }
    void setText(std::string text);
    const std::string& placeholder() const { return m_placeholder; }
    void setPlaceholder(std::string placeholder);

    const Font& font() const { return m_font; }
    void setFont(const Font& font);
    const Color& textColor() const { return m_textColor; }
    void setTextColor(const Color& color);
    TextAlignment textAlignment() const { return m_textAlignment; }
    void setTextAlignment(TextAlignment alignment);
    ContentVerticalAlignment contentVerticalAlignment() const { return m_verticalAlignment; }
    void setContentVerticalAlignment(ContentVerticalAlignment alignment);
    TextFieldBorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(TextFieldBorderStyle style);
    TextFieldViewMode clearButtonMode() const { return m_clearButtonMode; }
    void setClearButtonMode(TextFieldViewMode mode);
    // A picture at the field's left end, before the text (a search field's magnifier). It
    // takes no touches: a touch there is a touch on the field.
    const std::shared_ptr<View>& leftView() const { return m_leftView; }
    void setLeftView(std::shared_ptr<View> view);
    bool clearsOnBeginEditing() const { return m_clearsOnBeginEditing; }
    void setClearsOnBeginEditing(bool clears) { m_clearsOnBeginEditing = clears; }

    const TextInputTraits& traits() const { return m_traits; }
    void setKeyboardType(KeyboardType type) { m_traits.keyboardType = type; }
    void setReturnKeyType(ReturnKeyType type) { m_traits.returnKeyType = type; }
    void setAutocorrectionType(TextAutocorrectionType type) { m_traits.autocorrectionType = type; }
    void setAutocapitalizationType(TextAutocapitalizationType type) { m_traits.autocapitalizationType = type; }
    void setSecureTextEntry(bool secure);

    TextFieldDelegate* delegate() const { return m_delegate; }
    void setDelegate(TextFieldDelegate* delegate) { m_delegate = delegate; }

    bool isEditing() const { return m_editing; }
    void setInputAccessoryView(std::shared_ptr<View> view) { m_inputAccessoryView = std::move(view); }
    std::shared_ptr<View> inputAccessoryView() override { return m_inputAccessoryView; }

    // Focus: asks the delegate, and the current first responder to let go, first.
    bool canBecomeFirstResponder() const override { return isEnabled(); }
    // Asked before it lies in a window, it answers false and takes the keyboard when it
    // arrives in one (see TextFocus).
    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    void didMoveToWindow() override;
    void didBecomeFirstResponder() override;
    void didResignFirstResponder() override;
    TextInput* textInput() override { return this; }

    // Typing (the display's editor and the automation driver).
    void replaceTextFromInput(const std::string& text) override;
    void insertText(const std::string& text) override;
    void deleteBackward() override;
    bool isSecureTextEntry() const override { return m_traits.secureTextEntry; }

    // Where the text (and the placeholder) is set, in the field's coordinates.
    Rect textRect() const;
    Rect clearButtonRect() const;
    bool showsClearButton() const;

    void touchesEnded(const Touch& touch) override;
    void layoutSubviews() override;
    void draw(Painter& painter) override;

private:
    bool applyUserEdit(const TextRange& range, const std::string& replacement);
    void pressReturn();

    std::string m_text;
    std::string m_placeholder;
    Font m_font { Font::systemFontOfSize(17) };
    Color m_textColor { Color::blackColor() };
    TextAlignment m_textAlignment { TextAlignment::Left };
    ContentVerticalAlignment m_verticalAlignment { ContentVerticalAlignment::Center };
    TextFieldBorderStyle m_borderStyle { TextFieldBorderStyle::None };
    TextFieldViewMode m_clearButtonMode { TextFieldViewMode::Never };
    bool m_clearsOnBeginEditing { false };
    TextInputTraits m_traits;
    TextFieldDelegate* m_delegate { nullptr };
    bool m_editing { false };
    std::shared_ptr<View> m_inputAccessoryView;
    std::shared_ptr<View> m_leftView;
    TextFocus m_focus;
};

} // namespace ui
