#include "SampleDetailController.h"

#include "platform/ui/Application.h"
#include "platform/ui/Button.h"
#include "platform/ui/Label.h"
#include "platform/ui/Pasteboard.h"
#include "platform/ui/TextField.h"

namespace tessaro::sample {

SampleDetailController::SampleDetailController(std::string name)
    : m_name(std::move(name))
{
}

void SampleDetailController::viewDidLoad()
{
    setTitle(m_name);
    auto content = view();
    content->setBackgroundColor(ui::Color::whiteColor());

    auto name = std::make_shared<ui::Label>(ui::Rect { 20, 20, 280, 30 });
    name->setFont(ui::Font::boldSystemFontOfSize(20));
    name->setText(m_name);
    name->setAccessibilityIdentifier("detail.name");
    content->addSubview(name);

    auto note = std::make_shared<ui::TextField>(ui::Rect { 20, 70, 280, 31 });
    note->setBorderStyle(ui::TextFieldBorderStyle::RoundedRect);
    note->setPlaceholder("Note");
    note->setAccessibilityIdentifier("detail.note");
    content->addSubview(note);

    auto call = ui::Button::buttonWithType(ui::ButtonType::RoundedRect);
    call->setFrame({ 20, 120, 130, 44 });
    call->setTitle("Call");
    call->setAccessibilityIdentifier("detail.call");
    call->addAction(ui::ControlEvent::TouchUpInside, [](ui::Control&) { ui::Application::shared().openURL("tel://5550100"); });
    content->addSubview(call);

    auto copy = ui::Button::buttonWithType(ui::ButtonType::RoundedRect);
    copy->setFrame({ 170, 120, 130, 44 });
    copy->setTitle("Copy name");
    copy->setAccessibilityIdentifier("detail.copy");
    copy->addAction(ui::ControlEvent::TouchUpInside, [this](ui::Control&) { ui::Pasteboard::generalPasteboard().setString(m_name); });
    content->addSubview(copy);
}

} // namespace tessaro::sample
