#pragma once
// The memo editor: a new memo (identifier -1) or a stored one. Done stores the text as it is
// (also when empty) and returns to the list; the back button leaves without storing. Above
// the keyboard a bar copies the text, or hands it to a mail or a text message, saved or not.
// The editor is tall while the keyboard is away and short while it is up, so the text being
// typed stays in sight.
//
// A store that refuses the memo is told in an alert and the editor stays open with the text,
// so nothing typed is lost.
//
// Ownership: the editor owns its text view; the list screen is a weak link, told to reload
// after a save.

#include "app/CommonViewController.h"
#include "platform/ui/TextView.h"

#include <memory>

namespace tessaro {

class MyTextView;

class AddMemoViewController : public ui::ViewController, public ui::TextViewDelegate {
public:
    static constexpr int kNewMemoID = -1;
    static constexpr double kHeightWithKeyboard = 120;
    static constexpr double kHeightWithoutKeyboard = 317;

    AddMemoViewController(int memoID, std::weak_ptr<CommonViewController> controller);
    ~AddMemoViewController() override;

    void loadView() override;
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;

    // Stores the text and returns to the list.
    void done();

    bool textViewShouldBeginEditing(ui::TextView& textView) override;
    bool textViewShouldEndEditing(ui::TextView& textView) override;

    int memoID() const { return _memoID; }
    MyTextView* textView() const { return _text.get(); }

private:
    [[nodiscard]] bool store(const std::string& text);
    void setEditorHeight(double height);

    std::weak_ptr<CommonViewController> _controller;
    int _memoID { kNewMemoID };
    std::shared_ptr<MyTextView> _text;
};

} // namespace tessaro
