#include "shell/qt/ScreenWidget.h"

#include "shell/qt/ScreenRenderer.h"
#include "shell/qt/StatusBar.h"

#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <optional>

namespace tessaro {

namespace {

// About one frame of a 60 Hz display.
constexpr int frameIntervalMs = 16;
// The wheel's standard notch is 120 eighths of a degree; one notch scrolls about three
// rows of a list.
constexpr double pointsPerWheelNotch = 132;

} // namespace

ScreenWidget::ScreenWidget(std::shared_ptr<ui::Window> window, QWidget* parent)
    : QWidget(parent)
    , m_window(std::move(window))
    , m_router(*m_window)
    , m_editor(
          *this, *m_window, [this](const ui::Rect& rect) { return toWidgetRect(rect); }, [this] { return zoom(); },
          [this] { refresh(); })
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
    // The editors keep the keyboard focus while the person taps around the screen, as the
    // handset keeps its keyboard up until the field resigns.
    setFocusPolicy(Qt::NoFocus);
    setWindowTitle(QStringLiteral("Tessaro"));
    m_frameTimer.setInterval(frameIntervalMs);
    connect(&m_frameTimer, &QTimer::timeout, this, [this] { update(); });
    m_window->setDisplayHandler([this] { update(); scheduleSync(); });
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) { applicationStateChanged(state); });
}

ScreenWidget::~ScreenWidget()
{
    m_window->setDisplayHandler(nullptr);
}

void ScreenWidget::setWillEnterForegroundHandler(std::function<void()> handler)
{
    m_foreground.setWillEnterForegroundHandler(std::move(handler));
}

QSize ScreenWidget::sizeForZoom(double z) const
{
    ui::Rect bounds = m_window->bounds();
    return { int(std::lround(bounds.width() * z)), int(std::lround(bounds.height() * z)) };
}

QSize ScreenWidget::sizeHint() const
{
    return sizeForZoom(1);
}

double ScreenWidget::zoom() const
{
    ui::Rect bounds = m_window->bounds();
    if (bounds.isEmpty())
        return 1;
    return std::max(0.1, std::min(width() / bounds.width(), height() / bounds.height()));
}

QRectF ScreenWidget::screenRect() const
{
    ui::Rect bounds = m_window->bounds();
    double z = zoom();
    double w = bounds.width() * z;
    double h = bounds.height() * z;
    // A window not of the handset's proportions shows the screen centred between bars.
    return { (width() - w) / 2, (height() - h) / 2, w, h };
}

ui::Point ScreenWidget::toScreenPoint(const QPointF& position) const
{
    QRectF screen = screenRect();
    double z = zoom();
    return { (position.x() - screen.x()) / z, (position.y() - screen.y()) / z };
}

QRectF ScreenWidget::toWidgetRect(const ui::Rect& rect) const
{
    QRectF screen = screenRect();
    double z = zoom();
    return { screen.x() + rect.x() * z, screen.y() + rect.y() * z, rect.width() * z, rect.height() * z };
}

void ScreenWidget::refresh()
{
    update();
    scheduleSync();
}

void ScreenWidget::scheduleSync()
{
    // Deferred to the next turn of Qt's loop: the display handler is called from inside the
    // UI layer's changes, where moving Qt widgets about would be premature.
    if (m_syncQueued)
        return;
    m_syncQueued = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_syncQueued = false;
            m_editor.sync();
            followEditorForInputMethods();
        },
        Qt::QueuedConnection);
}

void ScreenWidget::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    QRectF screen = screenRect();
    painter.translate(screen.topLeft());
    double z = zoom();
    painter.scale(z, z);
    painter.setClipRect(QRectF(0, 0, m_window->bounds().width(), m_window->bounds().height()));
    ScreenRenderer::paint(painter, *m_window, StatusBar::currentTimeText(), m_router.keyboardState());
    painter.end();

    if (m_window->hasRunningAnimations()) {
        if (!m_frameTimer.isActive())
            m_frameTimer.start();
    } else {
        m_frameTimer.stop();
    }
    // Views that moved (an animation, a scrolled list) carry their field along.
    scheduleSync();
}

void ScreenWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_pressed = true;
    m_router.press(toScreenPoint(event->position()));
    refresh();
}

void ScreenWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_pressed)
        return;
    m_router.move(toScreenPoint(event->position()));
    refresh();
}

void ScreenWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    m_pressed = false;
    m_router.release(toScreenPoint(event->position()));
    refresh();
}

void ScreenWidget::wheelEvent(QWheelEvent* event)
{
    double z = zoom();
    double dx = 0;
    double dy = 0;
    if (!event->pixelDelta().isNull()) {
        // Touchpads report how far the content should move, in pixels.
        dx = -event->pixelDelta().x() / z;
        dy = -event->pixelDelta().y() / z;
    } else {
        dx = -event->angleDelta().x() / 120.0 * pointsPerWheelNotch;
        dy = -event->angleDelta().y() / 120.0 * pointsPerWheelNotch;
    }
    m_router.wheel(toScreenPoint(event->position()), dx, dy);
    event->accept();
    refresh();
}

void ScreenWidget::followEditorForInputMethods()
{
    QWidget* editor = m_editor.editorWidget();
    bool editing = editor != nullptr;
    if (editing)
        setInputMethodHints(editor->inputMethodHints());
    if (testAttribute(Qt::WA_InputMethodEnabled) == editing)
        return;
    setAttribute(Qt::WA_InputMethodEnabled, editing);
    if (hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImEnabled | Qt::ImHints);
}

QWidget* ScreenWidget::currentEditor()
{
    m_editor.sync();
    followEditorForInputMethods();
    return m_editor.editorWidget();
}

void ScreenWidget::inputMethodEvent(QInputMethodEvent* event)
{
    QWidget* editor = currentEditor();
    if (!editor) {
        event->ignore();
        return;
    }
    // The editor shows the composition (preedit) in place and hands the committed text to
    // the field as typing, as when it has the focus itself; from now on it has.
    editor->setFocus(Qt::OtherFocusReason);
    QCoreApplication::sendEvent(editor, event);
    refresh();
}

QVariant ScreenWidget::inputMethodQuery(Qt::InputMethodQuery query) const
{
    QWidget* editor = m_editor.editorWidget();
    if (!editor)
        return query == Qt::ImEnabled ? QVariant(false) : QWidget::inputMethodQuery(query);
    QVariant answer = editor->inputMethodQuery(query);
    // Places (where the candidate window opens) are asked in this widget's coordinates.
    QPoint offset = editor->pos();
    switch (answer.typeId()) {
    case QMetaType::QRect:
        return answer.toRect().translated(offset);
    case QMetaType::QRectF:
        return answer.toRectF().translated(offset);
    case QMetaType::QPoint:
        return answer.toPoint() + offset;
    case QMetaType::QPointF:
        return answer.toPointF() + QPointF(offset);
    default:
        return answer;
    }
}

void ScreenWidget::keyPressEvent(QKeyEvent* event)
{
    // Only keys without modifiers of their own: a shortcut of the desktop (Ctrl+Q) is no
    // key of the handset.
    std::optional<ui::KeyPress> press;
    if (!(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        switch (event->key()) {
        case Qt::Key_Backspace:
        case Qt::Key_Delete: press = ui::KeyPress::key(ui::KeyPress::Kind::Backspace); break;
        case Qt::Key_Return:
        case Qt::Key_Enter: press = ui::KeyPress::key(ui::KeyPress::Kind::Return); break;
        case Qt::Key_Escape: press = ui::KeyPress::key(ui::KeyPress::Kind::Escape); break;
        default:
            if (!event->text().isEmpty())
                press = ui::KeyPress::typed(event->text().toStdString());
        }
    }
    if (press && m_window->pressKey(*press)) {
        event->accept();
        refresh();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ScreenWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    refresh();
}

void ScreenWidget::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange) {
        if (windowState() & Qt::WindowMinimized)
            m_foreground.wentToBackground();
        else if (isVisible())
            m_foreground.becameVisible();
    } else if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible()
               && !(windowState() & Qt::WindowMinimized)) {
        m_foreground.becameVisible();
    }
    QWidget::changeEvent(event);
}

void ScreenWidget::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!(windowState() & Qt::WindowMinimized))
        m_foreground.becameVisible();
    refresh();
}

void ScreenWidget::hideEvent(QHideEvent* event)
{
    // Only the desktop hides a window spontaneously (another workspace, the window
    // minimised); the program hiding it is closing it.
    if (event->spontaneous())
        m_foreground.wentToBackground();
    if (m_pressed) {
        m_pressed = false;
        m_router.cancel();
    }
    QWidget::hideEvent(event);
}

bool ScreenWidget::event(QEvent* event)
{
    if (event->type() == QEvent::UngrabMouse && m_pressed) {
        m_pressed = false;
        m_router.cancel();
        refresh();
    }
    return QWidget::event(event);
}

void ScreenWidget::applicationStateChanged(Qt::ApplicationState state)
{
    if (state == Qt::ApplicationHidden || state == Qt::ApplicationSuspended)
        m_foreground.wentToBackground();
    else if (state == Qt::ApplicationActive && isVisible() && !(windowState() & Qt::WindowMinimized))
        m_foreground.becameVisible();
}

} // namespace tessaro
