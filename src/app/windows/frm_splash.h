#pragma once
#include <QLabel>
#include <QWidget>

namespace tulmera::app {

// A picture that acts as a button: a click, or Enter or Space while it has the focus.
class PictureButton : public QLabel {
    Q_OBJECT
public:
    explicit PictureButton(QWidget* parent);

signals:
    void Clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// The splash window: the program's name, the two models with their papers, and the entry
// picture `Image2`, the only thing on it that reacts to the mouse.
class FrmSplash : public QWidget {
    Q_OBJECT
public:
    explicit FrmSplash(QWidget* parent = nullptr);

signals:
    void EnterRequested();  // Image2 was clicked
};

}  // namespace tulmera::app
