#include "app/windows/help_windows.h"

#include <QAction>
#include <QEvent>
#include <QImage>
#include <QMessageBox>
#include <QPixmap>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QToolBar>
#include <algorithm>
#include <vector>

#include "tulmera_version.h"

namespace tulmera::app {

GuideWindow::GuideWindow(Language language, QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("frmGuia"));
    setWindowTitle(tr("Guía de uso de Tulmera"));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("txtGuia"));
    browser_->setOpenExternalLinks(true);
    setCentralWidget(browser_);

    QToolBar* tools = addToolBar(tr("Navegación"));
    tools->setObjectName(QStringLiteral("barGuia"));
    tools->setMovable(false);
    QAction* back = tools->addAction(tr("Atrás"));
    back->setObjectName(QStringLiteral("cmdAtras"));
    back->setEnabled(false);
    QAction* home = tools->addAction(tr("Inicio"));
    home->setObjectName(QStringLiteral("cmdInicio"));
    connect(back, &QAction::triggered, browser_, &QTextBrowser::backward);
    connect(home, &QAction::triggered, browser_, &QTextBrowser::home);
    connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);

    connect(browser_, &QTextBrowser::sourceChanged, this, [this] { FitPictures(); });
    browser_->viewport()->installEventFilter(this);
    browser_->setSource(StartPage(language));
    resize(900, 700);
}

bool GuideWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == browser_->viewport() && event->type() == QEvent::Resize) FitPictures();
    return QMainWindow::eventFilter(watched, event);
}

void GuideWindow::FitPictures()
{
    QTextDocument* page = browser_->document();
    const double room = browser_->viewport()->width() - 2 * page->documentMargin() - 2;
    if (room <= 0) return;
    // Gathered first: changing a format while walking the fragments would move them.
    struct Resized {
        int position;
        int length;
        QTextImageFormat format;
    };
    std::vector<Resized> pictures;
    for (QTextBlock block = page->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextImageFormat picture = fragment.charFormat().toImageFormat();
            if (!picture.isValid()) continue;
            const QVariant resource =
                page->resource(QTextDocument::ImageResource, QUrl(picture.name()));
            const QSize natural = resource.value<QImage>().isNull()
                                      ? resource.value<QPixmap>().size()
                                      : resource.value<QImage>().size();
            if (natural.isEmpty()) continue;
            const double width = std::min<double>(natural.width(), room);
            if (picture.width() == width) continue;
            picture.setWidth(width);
            picture.setHeight(width * natural.height() / natural.width());
            pictures.push_back({fragment.position(), fragment.length(), picture});
        }
    }
    QTextCursor cursor(page);
    for (const Resized& picture : pictures) {
        cursor.setPosition(picture.position);
        cursor.setPosition(picture.position + picture.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(picture.format);
    }
}

QUrl GuideWindow::StartPage(Language language)
{
    return QUrl(QStringLiteral("qrc:/guide/%1/index.html").arg(LanguageCode(language)));
}

QString AboutText()
{
    const QString version = QString::fromLatin1(kVersion);
    return GuideWindow::tr(
               "<h3>Tulmera %1</h3>"
               "<p>Simulación de la reflectividad de hojas y cubiertas vegetales para la "
               "enseñanza de la teledetección óptica.</p>"
               "<p>Copyright © 2026 The Tulmera developers. Licencia MIT.</p>"
               "<p><b>Modelos</b> (escritos de nuevo a partir de sus ecuaciones publicadas):</p>"
               "<ul><li>PROSPECT: Jacquemoud, S. y Baret, F., 1990. PROSPECT: a model of leaf "
               "optical properties spectra. Remote Sensing of Environment 34: 75-91.</li>"
               "<li>PROSPECT-D: Féret, J.-B., Gitelson, A. A., Noble, S. D. y Jacquemoud, S., "
               "2017. PROSPECT-D: towards modeling leaf optical properties through a complete "
               "lifecycle. Remote Sensing of Environment 193: 204-215.</li>"
               "<li>PROSPECT-PRO: Féret, J.-B., Berger, K., de Boissieu, F. y Malenovský, Z., "
               "2021. PROSPECT-PRO for estimating content of nitrogen-containing leaf proteins "
               "and other carbon-based constituents. Remote Sensing of Environment 252: "
               "112173.</li>"
               "<li>SAIL: Verhoef, W., 1984. Light scattering by leaf layers with application "
               "to canopy reflectance modeling: the SAIL model. Remote Sensing of Environment "
               "16: 125-141; con la corrección del hot spot de Kuusk, A., 1991.</li></ul>"
               "<p><b>Datos</b>:</p>"
               "<ul><li>Constantes ópticas de la hoja: PROSPECT-4 (Féret, J.-B. et al., 2008. "
               "Remote Sensing of Environment 112: 3030-3043), cada 5 nm.</li>"
               "<li>Espectros de suelo: a partir de la Open Soil Spectral Library (Shepherd, "
               "K. D. et al., 2022. Soil Security 7: 100061), licencia CC BY 4.0.</li></ul>"
               "<p>Bibliotecas: Qt 6 (LGPL-3.0), libxlsxwriter (BSD-2-Clause), NLopt (LGPL-2.1). "
               "Detalles en el fichero NOTICE.</p>")
        .arg(version);
}

void ShowAbout(QWidget* parent)
{
    QMessageBox::about(parent, GuideWindow::tr("Acerca de Tulmera"), AboutText());
}

}  // namespace tulmera::app
