#include "app/windows/splash_window.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>

#include "app/widgets/pictures.h"

namespace tulmera::app {
namespace {

using widgets::Picture;
using widgets::PicturePixmap;

constexpr int kPictureSize = 96;
constexpr int kEntrySize = 56;
constexpr int kSplashWidth = 620;  // widened only when the wrapped texts would not fit in height
constexpr int kWidthStep = 40;

QLabel* MakeLabel(const QString& name, const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    return label;
}

QLabel* MakePicture(const QString& name, Picture picture, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setPixmap(PicturePixmap(picture, kPictureSize, parent->devicePixelRatioF()));
    label->setFixedSize(kPictureSize, kPictureSize);
    return label;
}

// The product name in large decorative type, over its own shadow.
QWidget* MakeProductName(QWidget* parent)
{
    auto* holder = new QWidget(parent);
    QFont font(QStringLiteral("URW Chancery L"));
    font.setStyleHint(QFont::Serif);
    font.setFamilies({QStringLiteral("URW Chancery L"), QStringLiteral("Z003"),
                      QStringLiteral("DejaVu Serif"), QStringLiteral("Liberation Serif")});
    font.setPointSize(44);
    font.setItalic(true);
    font.setBold(true);
    auto* shadow =
        MakeLabel(QStringLiteral("lblProductNameShadow"), QStringLiteral("Tulmera"), holder);
    shadow->setFont(font);
    shadow->setStyleSheet(QStringLiteral("color: rgb(170, 200, 165);"));
    auto* name = MakeLabel(QStringLiteral("lblProductName"), QStringLiteral("Tulmera"), holder);
    name->setFont(font);
    name->setStyleSheet(QStringLiteral("color: rgb(24, 88, 34);"));
    shadow->adjustSize();
    name->adjustSize();
    shadow->move(3, 3);
    name->move(0, 0);
    holder->setFixedSize(name->width() + 3, name->height() + 3);
    return holder;
}

}  // namespace

PictureButton::PictureButton(QWidget* parent) : QLabel(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(QStringLiteral("ENTRAR"));
    setFrameShape(QFrame::NoFrame);
    setLineWidth(1);
}

void PictureButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit Clicked();
    }
}

void PictureButton::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            emit Clicked();
            break;
        default:
            QLabel::keyPressEvent(event);
    }
}

void PictureButton::focusInEvent(QFocusEvent* event)
{
    setFrameShape(QFrame::Box);  // shows the keyboard focus
    QLabel::focusInEvent(event);
}

void PictureButton::focusOutEvent(QFocusEvent* event)
{
    setFrameShape(QFrame::NoFrame);
    QLabel::focusOutEvent(event);
}

SplashWindow::SplashWindow(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(QStringLiteral("Tulmera"));
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, QColor(250, 250, 242));
    setPalette(background);

    auto* outer = new QVBoxLayout(this);
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Plain);
    frame->setLineWidth(2);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);

    auto* column = new QVBoxLayout(frame);
    column->setContentsMargins(28, 20, 28, 20);
    column->setSpacing(10);
    column->addWidget(MakeProductName(frame), 0, Qt::AlignHCenter);

    auto* pictures = new QHBoxLayout;
    pictures->addStretch(1);
    pictures->addWidget(MakePicture(QStringLiteral("Image1"), Picture::Leaf, frame));
    pictures->addSpacing(24);
    pictures->addWidget(MakePicture(QStringLiteral("Image3"), Picture::Canopy, frame));
    pictures->addSpacing(24);
    pictures->addWidget(MakePicture(QStringLiteral("Image4"), Picture::Spectrum, frame));
    pictures->addStretch(1);
    column->addLayout(pictures);

    column->addWidget(
        MakeLabel(QStringLiteral("lblModelProspect"),
                  tr("Aplicación del Modelo PROSPECT (Jacquemoud, S. y Baret, F., 1990. "
                     "PROSPECT: a model of leaf optical properties spectra. Remote Sensing of "
                     "Environment 34: 75-91)"),
                  frame));
    column->addWidget(
        MakeLabel(QStringLiteral("lblModelSailh"),
                  tr("Aplicación del Modelo SAILH (Verhoef, W., 1984. Light scattering by leaf "
                     "layers with application to canopy reflectance modeling: the SAIL model. "
                     "Remote Sensing of Environment 16: 125-141; con la corrección del punto "
                     "caliente de Kuusk, A., 1991. The hot spot effect in plant canopy "
                     "reflectance. En Myneni, R. y Ross, J. (eds.), Photon-Vegetation "
                     "Interactions, Springer: 139-159)"),
                  frame));
    column->addSpacing(6);
    column->addWidget(MakeLabel(QStringLiteral("lblInstitution1"),
                                tr("Herramienta docente de teledetección óptica de la "
                                   "vegetación"),
                                frame));
    column->addWidget(MakeLabel(QStringLiteral("lblInstitution2"),
                                tr("Simulación de la reflectividad de hojas y cubiertas "
                                   "vegetales, de 400 a 2500 nm"),
                                frame));

    auto* entry = new QHBoxLayout;
    entry->addStretch(1);
    auto* image2 = new PictureButton(frame);
    image2->setObjectName(QStringLiteral("Image2"));
    image2->setPixmap(PicturePixmap(Picture::Entry, kEntrySize, devicePixelRatioF()));
    image2->setFixedSize(kEntrySize + 4, kEntrySize + 4);
    image2->setAlignment(Qt::AlignCenter);
    entry->addWidget(image2);
    auto* label2 = MakeLabel(QStringLiteral("Label2"), QStringLiteral("ENTRAR"), frame);
    QFont bold = label2->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.2);
    label2->setFont(bold);
    label2->setWordWrap(false);
    entry->addWidget(label2);
    column->addLayout(entry);

    entryPicture_ = image2;
    entryWord_ = label2;
    label2->setCursor(Qt::PointingHandCursor);
    connect(image2, &PictureButton::Clicked, this, &SplashWindow::EnterRequested);
    setFixedWidth(kSplashWidth);
    image2->setFocus();
}

void SplashWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    FitToScreen();
}

// The height the wrapped texts need at the window's width, so that nothing overlaps; on a
// screen too low for that (a large scale factor), the window widens until they fit.
void SplashWindow::FitToScreen()
{
    int width = kSplashWidth;
    if (const QScreen* shown = screen(); shown != nullptr) {
        const QRect free = shown->availableGeometry();
        while (layout()->totalHeightForWidth(width) > free.height()
               && width + kWidthStep <= free.width()) {
            width += kWidthStep;
        }
        setFixedSize(width, layout()->totalHeightForWidth(width));
        move(free.center() - rect().center());
        return;
    }
    setFixedSize(width, layout()->totalHeightForWidth(width));
}

void SplashWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            emit EnterRequested();
            break;
        case Qt::Key_Escape:
            emit EndRequested();
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

// A click on the word "ENTRAR" reaches the window (a label ignores clicks); a click on the
// picture is the picture's own.
void SplashWindow::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    const QRect word(entryWord_->mapTo(this, QPoint(0, 0)), entryWord_->size());
    if (event->button() == Qt::LeftButton && word.contains(at)) {
        emit EnterRequested();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

}  // namespace tulmera::app
