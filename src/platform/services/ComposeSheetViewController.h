#pragma once
// The page inside the platform's mail and message composers: a Cancel and a Send button in
// the bar, one line per header (recipients, subject) and the body below them. It draws what
// it is given and reports the two buttons; the composer around it decides what they do.
//
// Ownership: the composer (a navigation stack) owns this page; the page shares its views
// with its own view. The two button handlers are plain functions set by the composer, which
// outlives the page.

#include "platform/ui/ViewController.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ui {
class Label;
}

namespace services {

class ComposeSheetViewController : public ui::ViewController {
public:
    struct HeaderLine {
        std::string caption;
        std::string text;
        std::string identifier;
    };

    ComposeSheetViewController(std::function<void()> onCancel, std::function<void()> onSend);

    // Makes a composer (a navigation stack built on its sheet) around a new sheet whose
    // Cancel and Send reach the composer's cancel() and send(). The buttons hold a pointer
    // filled in once the composer exists; the composer owns the sheet, so the pointer never
    // outlives its target.
    template<class Composer>
    static std::shared_ptr<Composer> makeComposer()
    {
        auto owner = std::make_shared<Composer*>(nullptr);
        auto sheet = std::make_shared<ComposeSheetViewController>(
            [owner] {
                if (*owner)
                    (*owner)->cancel();
            },
            [owner] {
                if (*owner)
                    (*owner)->send();
            });
        auto composer = std::make_shared<Composer>(sheet);
        *owner = composer.get();
        return composer;
    }

    // The platform's screens have no strings table of their own: they borrow the
    // application's and fall back to English, as the handset's own screens always have
    // some text.
    static std::string localizedOr(std::string_view key, const char* english);
    // Recipients as a header line shows them: separated by commas, as given.
    static std::string recipientsForDisplay(const std::vector<std::string>& recipients);

    // Replaces the header lines and the body; shown at once when the page is loaded.
    void setContent(std::vector<HeaderLine> headers, std::string body);

    void loadView() override;
    void viewDidLoad() override;

private:
    void layoutContent();

    std::function<void()> m_onCancel;
    std::function<void()> m_onSend;
    std::vector<HeaderLine> m_headers;
    std::string m_body;
    std::vector<std::shared_ptr<ui::View>> m_contentViews;
};

} // namespace services
