#include "shell/qt/TextEditorOverlay.h"

#include "platform/ui/TextField.h"
#include "platform/ui/TextInput.h"
#include "platform/ui/TextView.h"
#include "platform/ui/View.h"
#include "shell/qt/SystemFonts.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace tessaro {

namespace {

QString cssColor(const ui::Color& color)
{
    auto channel = [](double v) { return int(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    return QStringLiteral("rgba(%1, %2, %3, %4)")
        .arg(channel(color.red))
        .arg(channel(color.green))
        .arg(channel(color.blue))
        .arg(channel(color.alpha));
}

Qt::Alignment qtAlignment(ui::TextAlignment alignment)
{
    switch (alignment) {
    case ui::TextAlignment::Center:
        return Qt::AlignHCenter;
    case ui::TextAlignment::Right:
        return Qt::AlignRight;
    case ui::TextAlignment::Left:
        break;
    }
    return Qt::AlignLeft;
}

// The colour the field's text sits on: its own background, else the first ancestor's that
// is not clear. The editor is filled with it so the text the field draws underneath does
// not show through.
ui::Color backgroundUnder(ui::View& view)
{
    for (ui::View* v = &view; v; v = v->superview()) {
        if (auto color = v->backgroundColor(); color && color->alpha >= 0.99)
            return *color;
    }
    return ui::Color::whiteColor();
}

// Keys with a meaning of their own on the handset: Escape is the keyboard's down key (the
// field resigns), and in a multi-line editor the return key goes to the field as typed
// text, so the field (and its delegate) decides whether a line break goes in.
class KeyFilter final : public QObject {
public:
    KeyFilter(std::function<bool()> onReturn, std::function<bool()> onEscape)
        : m_onReturn(std::move(onReturn))
        , m_onEscape(std::move(onEscape))
    {
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
            if (key->key() == Qt::Key_Escape && plain)
                return m_onEscape();
            bool isReturn = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if (isReturn && plain && qobject_cast<QPlainTextEdit*>(watched))
                return m_onReturn();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool()> m_onReturn;
    std::function<bool()> m_onEscape;
};

} // namespace

TextEditorOverlay::TextEditorOverlay(QWidget& host, ui::Window& window,
                                     std::function<QRectF(const ui::Rect&)> pointsToHost, std::function<double()> zoom,
                                     std::function<void()> afterEdit)
    : m_host(host)
    , m_window(window)
    , m_pointsToHost(std::move(pointsToHost))
    , m_zoom(std::move(zoom))
    , m_afterEdit(std::move(afterEdit))
{
}

TextEditorOverlay::~TextEditorOverlay()
{
    delete m_lineEdit.data();
    delete m_plainTextEdit.data();
    delete m_keyFilter;
}

QWidget* TextEditorOverlay::editorWidget() const
{
    if (!m_responder)
        return nullptr;
    if (m_multiline)
        return m_plainTextEdit.data();
    return m_lineEdit.data();
}

ui::TextInput* TextEditorOverlay::currentInput() const
{
    if (!m_responder || m_window.firstResponder() != m_responder)
        return nullptr;
    return m_responder->textInput();
}

EditorLook TextEditorOverlay::lookFor(ui::View& view)
{
    EditorLook look;
    look.text.font = ui::Font::systemFontOfSize(17);
    look.text.color = ui::Color::blackColor();
    look.padding = { 0, 4, 0, 4 };
    look.background = backgroundUnder(view);
    if (auto* field = dynamic_cast<ui::TextField*>(&view)) {
        look.text.font = field->font();
        look.text.color = field->textColor();
        look.text.alignment = field->textAlignment();
        look.placeholder = field->placeholder();
        ui::Rect text = field->textRect();
        ui::Rect whole = field->bounds();
        look.padding = { text.minY() - whole.minY(), text.minX() - whole.minX(), whole.maxY() - text.maxY(),
                         whole.maxX() - text.maxX() };
    } else if (auto* textView = dynamic_cast<ui::TextView*>(&view)) {
        look.text.font = textView->font();
        look.text.color = textView->textColor();
        look.text.alignment = textView->textAlignment();
        double inset = ui::TextView::textInset;
        look.padding = { inset, inset, inset, inset };
    }
    return look;
}

Qt::InputMethodHints TextEditorOverlay::hintsFor(ui::View& view)
{
    ui::TextInputTraits traits;
    if (auto* field = dynamic_cast<ui::TextField*>(&view))
        traits = field->traits();
    else if (auto* textView = dynamic_cast<ui::TextView*>(&view))
        traits = textView->traits();
    else
        return Qt::ImhNone;
    Qt::InputMethodHints hints = Qt::ImhNone;
    switch (traits.keyboardType) {
    case ui::KeyboardType::NumberPad:
        hints |= Qt::ImhDigitsOnly;
        break;
    case ui::KeyboardType::DecimalPad:
        hints |= Qt::ImhFormattedNumbersOnly;
        break;
    case ui::KeyboardType::PhonePad:
    case ui::KeyboardType::NamePhonePad:
        hints |= Qt::ImhDialableCharactersOnly;
        break;
    case ui::KeyboardType::EmailAddress:
        hints |= Qt::ImhEmailCharactersOnly;
        break;
    case ui::KeyboardType::URL:
        hints |= Qt::ImhUrlCharactersOnly;
        break;
    case ui::KeyboardType::ASCIICapable:
        hints |= Qt::ImhLatinOnly;
        break;
    default:
        break;
    }
    if (traits.autocorrectionType == ui::TextAutocorrectionType::No)
        hints |= Qt::ImhNoPredictiveText;
    if (traits.autocapitalizationType == ui::TextAutocapitalizationType::None)
        hints |= Qt::ImhNoAutoUppercase;
    if (traits.secureTextEntry)
        hints |= Qt::ImhHiddenText | Qt::ImhSensitiveData | Qt::ImhNoPredictiveText;
    return hints;
}

void TextEditorOverlay::sync()
{
    ui::Responder* responder = m_window.firstResponder();
    ui::TextInput* input = responder ? responder->textInput() : nullptr;
    auto* view = dynamic_cast<ui::View*>(responder);
    if (!input || !view || view->window() != &m_window) {
        if (m_responder)
            end();
        return;
    }
    if (responder != m_responder || input->isMultiline() != m_multiline)
        begin(*responder, *input);
    place(*view);
    takeModelText(*input);
}

void TextEditorOverlay::begin(ui::Responder& responder, ui::TextInput& input)
{
    end();
    m_responder = &responder;
    m_multiline = input.isMultiline();
    m_lastGeometry = {};
    m_lastZoom = 0;
    if (m_multiline) {
        if (!m_plainTextEdit) {
            m_plainTextEdit = new QPlainTextEdit(&m_host);
            m_plainTextEdit->setFrameShape(QFrame::NoFrame);
            m_plainTextEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            m_plainTextEdit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            QObject::connect(m_plainTextEdit, &QPlainTextEdit::textChanged, m_plainTextEdit,
                             [this] { plainTextChanged(); });
            m_plainTextEdit->installEventFilter(keyFilter());
        }
    } else if (!m_lineEdit) {
        m_lineEdit = new QLineEdit(&m_host);
        m_lineEdit->setFrame(false);
        m_lineEdit->installEventFilter(keyFilter());
        QObject::connect(m_lineEdit, &QLineEdit::textEdited, m_lineEdit,
                         [this](const QString& text) { lineEdited(text); });
        QObject::connect(m_lineEdit, &QLineEdit::returnPressed, m_lineEdit, [this] { lineReturned(); });
    }

    m_updatingEditor = true;
    QWidget* editor = editorWidget();
    if (m_multiline) {
        m_plainTextEdit->setPlainText(QString::fromStdString(input.text()));
        m_plainTextEdit->moveCursor(QTextCursor::End);
    } else {
        m_lineEdit->setEchoMode(input.isSecureTextEntry() ? QLineEdit::Password : QLineEdit::Normal);
        m_lineEdit->setText(QString::fromStdString(input.text()));
        m_lineEdit->end(false);
    }
    m_updatingEditor = false;
    editor->show();
    editor->raise();
    editor->setFocus(Qt::OtherFocusReason);
}

void TextEditorOverlay::end()
{
    m_responder = nullptr;
    QWidget* focused = nullptr;
    for (QWidget* editor : { static_cast<QWidget*>(m_lineEdit.data()), static_cast<QWidget*>(m_plainTextEdit.data()) }) {
        if (!editor)
            continue;
        if (editor->hasFocus())
            focused = editor;
        editor->hide();
    }
    if (focused)
        m_host.setFocus(Qt::OtherFocusReason);
}

void TextEditorOverlay::place(ui::View& view)
{
    QWidget* editor = editorWidget();
    if (!editor)
        return;
    EditorLook look = lookFor(view);
    ui::Rect inWindow = view.convertRectToView(view.bounds(), nullptr);
    ui::Rect textRect = inWindow.inset(look.padding);
    if (!m_multiline) {
        // One line of text high, centred: the field's own border above and below stays in
        // sight around the editor.
        double lineHeight = std::ceil(QFontMetricsF(SystemFonts::toQFont(look.text.font)).height()) + 2;
        if (lineHeight < textRect.height())
            textRect = { textRect.x(), textRect.midY() - lineHeight / 2, textRect.width(), lineHeight };
    }
    double zoom = m_zoom();
    QRect geometry = m_pointsToHost(textRect).toAlignedRect();
    if (geometry != m_lastGeometry)
        editor->setGeometry(geometry);
    if (geometry == m_lastGeometry && zoom == m_lastZoom)
        return;
    m_lastGeometry = geometry;
    m_lastZoom = zoom;

    ui::Font scaled = look.text.font.withSize(look.text.font.pointSize * zoom);
    editor->setFont(SystemFonts::toQFont(scaled));
    editor->setStyleSheet(QStringLiteral("background: %1; color: %2; border: none; padding: 0; margin: 0;"
                                         "selection-background-color: rgba(0, 122, 255, 90); selection-color: %2;")
                              .arg(cssColor(look.background), cssColor(look.text.color)));
    editor->setInputMethodHints(hintsFor(view));
    if (m_lineEdit && !m_multiline) {
        m_lineEdit->setAlignment(qtAlignment(look.text.alignment) | Qt::AlignVCenter);
        m_lineEdit->setPlaceholderText(QString::fromStdString(look.placeholder));
        m_lineEdit->setTextMargins(0, 0, 0, 0);
    } else if (m_plainTextEdit) {
        m_plainTextEdit->setPlaceholderText(QString::fromStdString(look.placeholder));
        m_plainTextEdit->document()->setDocumentMargin(0);
    }
}

void TextEditorOverlay::takeModelText(ui::TextInput& input)
{
    QString model = QString::fromStdString(input.text());
    m_updatingEditor = true;
    if (!m_multiline && m_lineEdit && m_lineEdit->text() != model) {
        int cursor = m_lineEdit->cursorPosition();
        m_lineEdit->setText(model);
        m_lineEdit->setCursorPosition(std::min<int>(cursor, int(model.size())));
    } else if (m_multiline && m_plainTextEdit && m_plainTextEdit->toPlainText() != model) {
        int cursor = m_plainTextEdit->textCursor().position();
        m_plainTextEdit->setPlainText(model);
        QTextCursor moved = m_plainTextEdit->textCursor();
        moved.setPosition(std::min<int>(cursor, int(model.size())));
        m_plainTextEdit->setTextCursor(moved);
    }
    m_updatingEditor = false;
}

void TextEditorOverlay::lineEdited(const QString& text)
{
    if (m_updatingEditor)
        return;
    if (auto* input = currentInput())
        input->replaceTextFromInput(text.toStdString());
    // A change the field refused (or altered) is undone in the editor at once, before the
    // next key lands on text the field does not have.
    if (auto* input = currentInput())
        takeModelText(*input);
    if (m_afterEdit)
        m_afterEdit();
}

void TextEditorOverlay::lineReturned()
{
    if (auto* input = currentInput())
        input->insertText("\n");
    if (m_afterEdit)
        m_afterEdit();
}

void TextEditorOverlay::plainTextChanged()
{
    if (m_updatingEditor)
        return;
    if (auto* input = currentInput())
        input->replaceTextFromInput(m_plainTextEdit->toPlainText().toStdString());
    if (auto* input = currentInput())
        takeModelText(*input);
    if (m_afterEdit)
        m_afterEdit();
}

QObject* TextEditorOverlay::keyFilter()
{
    if (!m_keyFilter)
        m_keyFilter = new KeyFilter([this] { return returnInPlainText(); }, [this] { return escapePressed(); });
    return m_keyFilter;
}

bool TextEditorOverlay::escapePressed()
{
    auto* input = currentInput();
    if (!input)
        return false;
    (void)m_responder->resignFirstResponder();
    if (m_afterEdit)
        m_afterEdit();
    return true;
}

bool TextEditorOverlay::returnInPlainText()
{
    auto* input = currentInput();
    if (!input)
        return false;
    // The field can only be typed into at its end; a line break anywhere else is an
    // ordinary edit of the whole text, which the editor makes itself.
    QTextCursor cursor = m_plainTextEdit->textCursor();
    if (cursor.hasSelection() || !cursor.atEnd())
        return false;
    input->insertText("\n");
    // The return key may have ended the editing, or taken the field away altogether.
    if (auto* still = currentInput()) {
        m_updatingEditor = true;
        m_plainTextEdit->setPlainText(QString::fromStdString(still->text()));
        m_plainTextEdit->moveCursor(QTextCursor::End);
        m_updatingEditor = false;
    }
    if (m_afterEdit)
        m_afterEdit();
    return true;
}

} // namespace tessaro
