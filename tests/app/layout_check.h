#pragma once
#include <QString>
#include <QWidget>

namespace tulmera::testing {

// The first named, visible child of `window` that is squeezed below its own minimum size or
// cut off by its parent (children of a scroll area's viewport may overhang: they scroll), as
// "<name> squeezed" or "<name> cut off"; an empty text when every one fits.
inline QString FirstClippedChild(const QWidget& window)
{
    for (const QWidget* child : window.findChildren<QWidget*>()) {
        if (!child->isVisible() || child->objectName().startsWith(QLatin1String("qt_"))
            || child->objectName().isEmpty()) {
            continue;
        }
        const QSize least = child->minimumSizeHint().expandedTo(child->minimumSize());
        if (child->width() < least.width() || child->height() < least.height()) {
            return child->objectName() + QStringLiteral(" squeezed");
        }
        const QWidget* parent = child->parentWidget();
        if (parent->objectName().startsWith(QLatin1String("qt_scrollarea"))) continue;
        if (!parent->rect().contains(child->geometry())) {
            return child->objectName() + QStringLiteral(" cut off");
        }
    }
    return {};
}

}  // namespace tulmera::testing
