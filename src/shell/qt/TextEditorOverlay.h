#pragma once
// Gives the focused text field or text view a native Qt editor, laid exactly over its
// frame and styled like it, so that typing, selection, the clipboard shortcuts and input
// methods (Japanese kana–kanji conversion) all work as on any desktop editor. Every edit
// goes back to the field as the user's input, so the field sends the events the screens
// expect; a return key in a one-line field is the handset's return key, and Escape is the
// keyboard's down key. When the field resigns the editor goes, and the keyboard with it.
//
// Ownership: the editors are children of the host widget (Qt deletes them with it). The
// focused responder is only compared with the window's first responder, never kept alive
// or used after the window let go of it.

#include "platform/ui/Geometry.h"
#include "platform/ui/TextStyle.h"
#include "platform/ui/Window.h"

#include <QPointer>
#include <QRect>

#include <functional>
#include <memory>
#include <string>

class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace tessaro {

// How the editor over a field looks; taken from the field itself where it says.
struct EditorLook {
    ui::TextStyle text;
    ui::Color background { ui::Color::whiteColor() };
    // Between the field's frame and where its text starts.
    ui::EdgeInsets padding { 0, 0, 0, 0 };
    std::string placeholder;
};

class TextEditorOverlay {
public:
    // pointsToHost maps a rectangle in window points to the host's pixels; zoom is the host's
    // pixels per point. afterEdit runs after every edit reached the field (the screens may
    // have changed).
    TextEditorOverlay(QWidget& host, ui::Window& window, std::function<QRectF(const ui::Rect&)> pointsToHost,
                      std::function<double()> zoom, std::function<void()> afterEdit);
    ~TextEditorOverlay();
    TextEditorOverlay(const TextEditorOverlay&) = delete;
    TextEditorOverlay& operator=(const TextEditorOverlay&) = delete;

    // Follows the window's first responder: shows, moves, restyles or removes the editor,
    // and takes over text the screen changed itself.
    void sync();

    bool isEditing() const { return m_responder != nullptr; }
    // The native editor in use, or null (tests type into it).
    QWidget* editorWidget() const;

    // What the editor over the view looks like.
    static EditorLook lookFor(ui::View& view);
    // What the field's keyboard traits tell an input method.
    static Qt::InputMethodHints hintsFor(ui::View& view);

private:
    void begin(ui::Responder& responder, ui::TextInput& input);
    void end();
    void place(ui::View& view);
    void takeModelText(ui::TextInput& input);
    void lineEdited(const QString& text);
    void lineReturned();
    void plainTextChanged();
    bool returnInPlainText();
    bool escapePressed();
    QObject* keyFilter();
    ui::TextInput* currentInput() const;

    QWidget& m_host;
    ui::Window& m_window;
    std::function<QRectF(const ui::Rect&)> m_pointsToHost;
    std::function<double()> m_zoom;
    std::function<void()> m_afterEdit;

    QPointer<QLineEdit> m_lineEdit;
    QPointer<QPlainTextEdit> m_plainTextEdit;
    QObject* m_keyFilter { nullptr };
    ui::Responder* m_responder { nullptr };
    bool m_multiline { false };
    // Set while the editor is being filled from the field, so that the fill is not taken
    // for typing.
    bool m_updatingEditor { false };
    QRect m_lastGeometry;
    double m_lastZoom { 0 };
};

} // namespace tessaro
