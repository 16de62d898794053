#pragma once
// The handset's screen in a desktop window: paints the key window's view tree (with the
// status bar and the keyboard) scaled to the window, keeping the handset's proportions,
// turns the mouse (and touch, which Qt turns into mouse events) into touches, keeps a
// native editor over the focused field, hands the computer's keys to screens with keys of
// their own while no field has the focus, and notices the return to the foreground.
//
// Ownership: shares the ui::Window with the program; owns the touch router, the editor
// overlay and its Qt children.

#include "shell/qt/ForegroundWatcher.h"
#include "shell/qt/TextEditorOverlay.h"
#include "shell/qt/TouchRouter.h"

#include "platform/ui/Window.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace tessaro {

class ScreenWidget final : public QWidget {
public:
    explicit ScreenWidget(std::shared_ptr<ui::Window> window, QWidget* parent = nullptr);
    ~ScreenWidget() override;

    void setWillEnterForegroundHandler(std::function<void()> handler);

    // Pixels of this widget per point of the handset, and where the screen lies in it.
    double zoom() const;
    QRectF screenRect() const;
    ui::Point toScreenPoint(const QPointF& position) const;
    QRectF toWidgetRect(const ui::Rect& rect) const;

    // After anything may have changed the screens: repaint and follow the focus.
    void refresh();

    // The size of the handset's screen at the zoom.
    QSize sizeForZoom(double zoom) const;
    QSize sizeHint() const override;

    // An input method composing (kana–kanji conversion) may address the window itself
    // rather than the editor over the field; both reach the focused field the same way.
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

    ui::Window& window() const { return *m_window; }
    TextEditorOverlay& editorOverlay() { return m_editor; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool event(QEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    // Accepts input methods exactly while a field has the keyboard.
    void followEditorForInputMethods();
    // The editor over the focused field, made first when the field has just taken the
    // keyboard; null when no field has it.
    QWidget* currentEditor();
    void scheduleSync();
    void applicationStateChanged(Qt::ApplicationState state);

    std::shared_ptr<ui::Window> m_window;
    TouchRouter m_router;
    TextEditorOverlay m_editor;
    ForegroundWatcher m_foreground;
    // Repaints at the display's pace while views move on their own.
    QTimer m_frameTimer;
    bool m_syncQueued { false };
    bool m_pressed { false };
};

} // namespace tessaro
