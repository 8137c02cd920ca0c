#pragma once

#include <memory>

#include "ui/view.h"

namespace vimora::ui {

class Timer;

enum class ActivityIndicatorStyle { WhiteLarge, White, Gray };

/// A spinning busy indicator. The style fixes the drawn size (large white 37 × 37, the
/// others 20 × 20), centred in whatever bounds the view has. It hides itself when stopped
/// (hidesWhenStopped, on by default), and a new indicator is stopped, so it shows nothing
/// until startAnimating.
class ActivityIndicator : public View
{
public:
    /// Spokes turn one step this often (12 spokes: one turn a second).
    static constexpr double kStepInterval = 1.0 / 12;
    static constexpr int kSpokes = 12;

    explicit ActivityIndicator(ActivityIndicatorStyle style = ActivityIndicatorStyle::WhiteLarge);
    ~ActivityIndicator() override;

    ActivityIndicatorStyle style() const { return m_style; }
    void setStyle(ActivityIndicatorStyle style);
    static QSizeF sizeForStyle(ActivityIndicatorStyle style);

    void startAnimating();
    void stopAnimating();
    bool isAnimating() const { return m_animating; }
    bool hidesWhenStopped() const { return m_hidesWhenStopped; }
    void setHidesWhenStopped(bool hides);
    /// The spoke drawn brightest (0..kSpokes − 1); moves while animating.
    int phase() const { return m_phase; }

protected:
    void drawContent(QPainter &painter) const override;
    bool drawsContent() const override { return true; }

private:
    ActivityIndicatorStyle m_style;
    bool m_animating = false;
    bool m_hidesWhenStopped = true;
    int m_phase = 0;
    std::shared_ptr<Timer> m_timer;
};

} // namespace vimora::ui
