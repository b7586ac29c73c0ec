#pragma once
#include <QObject>
#include <QString>

class QWidget;

// What the windows remember between sessions (QSettings): where each window was, and which
// background the charts had.
namespace tulmera::widgets {

// Restores `window`'s position and size saved under "windows/<key>" (nothing when none was
// saved, or when it no longer fits a screen, as restoreGeometry decides) and saves them there
// whenever the window is hidden (closed, or the program ends). Owned by the window.
class GeometryKeeper : public QObject {
    Q_OBJECT
public:
    GeometryKeeper(QWidget* window, const QString& key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    QString setting_;
};

// The background entry remembered by RememberBackground, when it is one of 1 .. `entryCount`;
// else `fallback`.
int RememberedBackground(int fallback, int entryCount);
void RememberBackground(int entry);

// "Modo presentación": larger texts and thicker curves for projection, on screen and in saved
// figures; remembered under "view/presentationMode", off until first switched on.
bool PresentationMode();
void RememberPresentationMode(bool on);

}  // namespace tulmera::widgets
