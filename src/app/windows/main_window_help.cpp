// The main window's "Configuracion › Idioma" entries and its "Ayuda" menu: the about box and
// the user guide.
#include <QAction>
#include <QActionGroup>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>

#include "app/language.h"
#include "app/widgets/settings_keys.h"
#include "app/windows/help_windows.h"
#include "app/windows/main_window.h"

namespace tulmera::app {

void MainWindow::BuildLanguageMenu(QMenu* settingsMenu)
{
    QMenu* menu = settingsMenu->addMenu(tr("&Idioma"));
    menu->setObjectName(QStringLiteral("menu23"));
    auto* group = new QActionGroup(menu);
    const Language current = CurrentLanguage();
    // The entries name each language in itself, in both languages.
    for (const Language language : {Language::Spanish, Language::English}) {
        QAction* action = menu->addAction(
            language == Language::Spanish ? QStringLiteral("Español") : QStringLiteral("English"));
        action->setObjectName(QStringLiteral("menu23(%1)").arg(LanguageCode(language)));
        action->setCheckable(true);
        action->setChecked(language == current);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, language] { ChooseLanguage(language); });
    }
}

// The choice is remembered for the next start; the open windows keep their language.
void MainWindow::ChooseLanguage(Language language)
{
    QSettings settings;
    settings.setValue(QLatin1String(widgets::kLanguageKey), LanguageCode(language));
    settings.sync();
    if (settings.status() != QSettings::NoError) {
        statusBar()->showMessage(tr("No se pudo guardar el idioma elegido."));
        return;
    }
    if (language == CurrentLanguage()) {
        statusBar()->showMessage(tr("Tulmera seguirá en este idioma."));
        return;
    }
    const QString text = tr("El idioma cambiará la próxima vez que se abra Tulmera.");
    statusBar()->showMessage(text);
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Tulmera"), text,
                                QMessageBox::Ok, this);
    box->setObjectName(QStringLiteral("msgIdioma"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

void MainWindow::BuildHelpMenu()
{
    QMenu* menu = menuBar()->addMenu(tr("A&yuda"));
    menu->setObjectName(QStringLiteral("menu3"));
    QAction* guide = menu->addAction(tr("&Guía de uso"));
    guide->setObjectName(QStringLiteral("menu31"));
    guide->setShortcut(QKeySequence::HelpContents);
    connect(guide, &QAction::triggered, this, [this] { ShowGuide(); });
    QAction* about = menu->addAction(tr("&Acerca de Tulmera"));
    about->setObjectName(QStringLiteral("menu32"));
    connect(about, &QAction::triggered, this, [this] { ShowAbout(this); });
}

void MainWindow::ShowGuide()
{
    if (guideWindow_ == nullptr) {
        guideWindow_ = new GuideWindow(CurrentLanguage(), this);
        guideWindow_->setWindowFlag(Qt::Window);
    }
    guideWindow_->show();
    guideWindow_->raise();
    guideWindow_->activateWindow();
}

}  // namespace tulmera::app
