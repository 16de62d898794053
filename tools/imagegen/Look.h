#pragma once
// The two system looks the application is drawn for. The older look is darker, with gradients
// and glossy buttons; the newer, flat look is light, with thin lines. Pictures drawn for the
// newer look carry the suffix "-ios7" in their names, as the application asks for them.

#include <QString>

enum class Look {
    Classic,
    Flat,
};

inline QString lookSuffix(Look look)
{
    return look == Look::Flat ? QStringLiteral("-ios7") : QString();
}

inline constexpr Look kBothLooks[] = { Look::Classic, Look::Flat };
