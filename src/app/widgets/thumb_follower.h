#pragma once
#include <QObject>
#include <vector>

class QScrollBar;

namespace tulmera::widgets {

// Lets bars made by MakeScrollBar (which report a value only once it is set) also report while
// their thumb is dragged, when enabled: each move of a thumb sets the bar's value to the thumb's
// position, so the bar's usual valueChanged handler recomputes. Moves that arrive before the
// event loop has run again are coalesced: one zero-delay timer sets the latest position only,
// so a slow refresh never builds up a queue and the last position always wins.
class ThumbFollower : public QObject {
    Q_OBJECT
public:
    ThumbFollower(const std::vector<QScrollBar*>& bars, QObject* parent);

    void SetEnabled(bool enabled);
    bool enabled() const { return enabled_; }

private:
    void Moved(QScrollBar* bar);
    void SetPending();

    bool enabled_ = false;
    QScrollBar* pending_ = nullptr;  // the bar whose thumb moved since the timer was set
    bool scheduled_ = false;
};

}  // namespace tulmera::widgets
