#pragma once
#include <QMainWindow>
#include <QUrl>

#include "app/language.h"

class QTextBrowser;

// The windows of the "Ayuda" menu: the about box and the user guide.
namespace tulmera::app {

// The user guide: the embedded HTML pages (":/guide/<es|en>/...") in a browser, with back and
// home. Links to other sites open in the desktop's web browser.
class GuideWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit GuideWindow(Language language, QWidget* parent = nullptr);

    // The guide's first page in `language`.
    static QUrl StartPage(Language language);
    QTextBrowser* browser() const { return browser_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Scales every picture of the page down to the text's width (never up), keeping its
    // aspect, so that no lesson picture is wider than the window.
    void FitPictures();

    QTextBrowser* browser_ = nullptr;
};

// The about box's text (rich text): the version of this build, the licence, the two models
// with their citations and the data compiled in, with their licences.
QString AboutText();

// Shows the about box, modal to `parent`.
void ShowAbout(QWidget* parent);

}  // namespace tulmera::app
