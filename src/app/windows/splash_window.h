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
// picture `Image2` with its word "ENTRAR" (`Label2`), the only things on it that react to the
// mouse. Enter or Space enters wherever the focus is; Escape ends the program.
class SplashWindow : public QWidget {
    Q_OBJECT
public:
    explicit SplashWindow(QWidget* parent = nullptr);

signals:
    void EnterRequested();  // Image2 or Label2 clicked, Enter or Space
    void EndRequested();    // Escape

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void FitToScreen();

    QWidget* entryPicture_ = nullptr;
    QWidget* entryWord_ = nullptr;
};

}  // namespace tulmera::app
