#include "platform/contactstore/Source.h"

namespace contactstore {

Source::Source() = default;

SourceRef Source::create(SourceType type, std::optional<std::string> name)
{
    auto source = std::make_shared<Source>();
    source->assignStoredValue(kSourceTypeProperty, static_cast<std::int64_t>(type));
    if (name && !name->empty())
        source->assignStoredValue(kSourceNameProperty, std::move(*name));
    return source;
}

PropertyType Source::typeOfProperty(PropertyID property) const
{
    switch (property) {
    case kSourceTypeProperty:
        return PropertyType::Integer;
    case kSourceNameProperty:
        return PropertyType::String;
    default:
        return PropertyType::Invalid;
    }
}

std::optional<std::string> Source::copyCompositeName() const
{
    return copyString(kSourceNameProperty);
}

SourceType Source::sourceType() const
{
    return static_cast<SourceType>(copyInteger(kSourceTypeProperty).value_or(kSourceTypeLocal));
}

} // namespace contactstore
