#pragma once
// The spinning wheel that says "busy". It spins from startAnimating to stopAnimating and,
// by default, is hidden while stopped.

#include "platform/ui/View.h"

namespace ui {

enum class ActivityIndicatorViewStyle { WhiteLarge, White, Gray };

class ActivityIndicatorView : public View {
public:
    explicit ActivityIndicatorView(ActivityIndicatorViewStyle style = ActivityIndicatorViewStyle::White);

    std::string typeName() const override { return "ActivityIndicatorView"; }

    ActivityIndicatorViewStyle style() const { return m_style; }
    void setStyle(ActivityIndicatorViewStyle style);
    std::optional<Color> color() const { return m_color; }
    void setColor(std::optional<Color> color);

    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return m_animating; }
    bool hidesWhenStopped() const { return m_hidesWhenStopped; }
    void setHidesWhenStopped(bool hides);

    bool animatesContinuously() const override { return m_animating; }
    Size sizeThatFits(const Size& size) const override;
    void draw(Painter& painter) override;

private:
    ActivityIndicatorViewStyle m_style { ActivityIndicatorViewStyle::White };
    std::optional<Color> m_color;
    bool m_animating { false };
    bool m_hidesWhenStopped { true };
};

} // namespace ui
