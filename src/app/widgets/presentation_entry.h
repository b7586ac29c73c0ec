#pragma once
#include <QObject>
#include <functional>

class QAction;
class QMenu;
class QWidget;

namespace tulmera::widgets {

// A window's "Ver › Modo presentación" (object name mnuModoPresentacion, Ctrl+Shift+P):
// checkable, checked as remembered (PresentationMode). Switching it remembers the choice and
// calls `apply`; a window that becomes active again after the choice was changed in another
// window takes it too, calling `apply`. `apply` is never called from the constructor: the
// window reads on() while it builds. Owned by `window`.
class PresentationEntry : public QObject {
    Q_OBJECT
public:
    PresentationEntry(QWidget* window, QMenu* viewMenu, std::function<void(bool)> apply);

    bool on() const;
    QAction* action() const { return action_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    QAction* action_;
    std::function<void(bool)> apply_;
};

}  // namespace tulmera::widgets
