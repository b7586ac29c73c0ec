#include "app/widgets/window_settings.h"

#include <QEvent>
#include <QSettings>
#include <QWidget>

#include "app/widgets/settings_keys.h"

namespace tulmera::widgets {
namespace {

const QString kPresentationSetting = QStringLiteral("view/presentationMode");

}  // namespace

GeometryKeeper::GeometryKeeper(QWidget* window, const QString& key)
    : QObject(window), window_(window), setting_(QStringLiteral("windows/") + key)
{
    const QByteArray saved = QSettings().value(setting_).toByteArray();
    if (!saved.isEmpty()) window->restoreGeometry(saved);
    window->installEventFilter(this);
}

bool GeometryKeeper::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_ && event->type() == QEvent::Hide) {
        QSettings().setValue(setting_, window_->saveGeometry());
    }
    return QObject::eventFilter(watched, event);
}

int RememberedBackground(int fallback, int entryCount)
{
    bool isNumber = false;
    const int entry = QSettings().value(QLatin1String(kChartBackgroundKey)).toInt(&isNumber);
    return isNumber && entry >= 1 && entry <= entryCount ? entry : fallback;
}

void RememberBackground(int entry)
{
    QSettings().setValue(QLatin1String(kChartBackgroundKey), entry);
}

bool PresentationMode() { return QSettings().value(kPresentationSetting, false).toBool(); }

void RememberPresentationMode(bool on) { QSettings().setValue(kPresentationSetting, on); }

}  // namespace tulmera::widgets
