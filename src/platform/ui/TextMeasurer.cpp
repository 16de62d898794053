#include "platform/ui/TextMeasurer.h"

#include "platform/ui/SimpleTextMeasurer.h"

namespace ui {

namespace {

std::shared_ptr<const TextMeasurer>& installed()
{
    static std::shared_ptr<const TextMeasurer> measurer = std::make_shared<SimpleTextMeasurer>();
    return measurer;
}

} // namespace

const TextMeasurer& TextMeasurer::current()
{
    return *installed();
}

void TextMeasurer::install(std::shared_ptr<const TextMeasurer> measurer)
{
    installed() = measurer ? std::move(measurer) : std::make_shared<SimpleTextMeasurer>();
}

} // namespace ui
