#include "app/widgets/thumb_follower.h"

#include <QScrollBar>
#include <QTimer>

namespace tulmera::widgets {

ThumbFollower::ThumbFollower(const std::vector<QScrollBar*>& bars, QObject* parent)
    : QObject(parent)
{
    for (QScrollBar* bar : bars) {
        connect(bar, &QScrollBar::sliderMoved, this, [this, bar] { Moved(bar); });
    }
}

void ThumbFollower::SetEnabled(bool enabled)
{
    enabled_ = enabled;
    if (!enabled) pending_ = nullptr;
}

void ThumbFollower::Moved(QScrollBar* bar)
{
    if (!enabled_) return;
    if (pending_ != nullptr && pending_ != bar) SetPending();  // another bar: keep its last move
    pending_ = bar;
    if (scheduled_) return;
    scheduled_ = true;
    QTimer::singleShot(0, this, [this] {
        scheduled_ = false;
        SetPending();
    });
}

void ThumbFollower::SetPending()
{
    QScrollBar* bar = pending_;
    pending_ = nullptr;
    if (bar != nullptr && bar->value() != bar->sliderPosition()) {
        bar->setValue(bar->sliderPosition());  // valueChanged: the bar's own refresh
    }
}

}  // namespace tulmera::widgets
