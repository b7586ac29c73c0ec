#include "app/widgets/presentation_entry.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <QWidget>

#include "app/widgets/window_settings.h"

namespace tulmera::widgets {

PresentationEntry::PresentationEntry(QWidget* window, QMenu* viewMenu,
                                     std::function<void(bool)> apply)
    : QObject(window), window_(window), apply_(std::move(apply))
{
    action_ =
        viewMenu->addAction(QCoreApplication::translate("PresentationEntry", "Modo &presentación"));
    action_->setObjectName(QStringLiteral("mnuModoPresentacion"));
    action_->setCheckable(true);
    action_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P));
    action_->setChecked(PresentationMode());
    connect(action_, &QAction::toggled, this, [this](bool checked) {
        RememberPresentationMode(checked);
        apply_(checked);
    });
    window->installEventFilter(this);
}

bool PresentationEntry::on() const { return action_->isChecked(); }

bool PresentationEntry::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_
        && (event->type() == QEvent::WindowActivate || event->type() == QEvent::Show)) {
        // Checking the entry applies the mode through its toggled signal.
        const bool remembered = PresentationMode();
        if (remembered != action_->isChecked()) action_->setChecked(remembered);
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace tulmera::widgets
